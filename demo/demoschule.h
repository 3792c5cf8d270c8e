#pragma once

namespace nux {

// Writes the demo school into the current directory: the year "2026 1" with
// subjects, teachers and classes, about half of the lessons assigned, and
// "jahrakt" naming it. Throws Dateifehler.
void demoschuleschreiben();

}  // namespace nux
