#pragma once
// The one place that knows the .xlsx format: a workbook of the core written
// with libxlsxwriter.
#include <string>

#include "assignment/kern/mappe.h"

namespace nux {

// Writes the workbook into a temporary file beside pfad and moves it to pfad
// only once it is complete, so that no half file is ever left. With ersetzen
// an existing pfad is replaced; without, the workbook is not placed and the
// result is false. Failures throw Dateifehler with a German message.
bool xlsxschreiben(const Mappe& m, const std::string& pfad, bool ersetzen);

}  // namespace nux
