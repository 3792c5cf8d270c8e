#pragma once
// The current year folder: the one process-wide value every data window uses.
#include <optional>
#include <string>

namespace nux {

const std::string& jahrordner();
void jahrsetzen(const std::string& ordner);
bool jahrgesetzt();

// Path of a file of the current year folder ("faecher", "lehrer", "klassen").
// Without a current year this is a range error, never a path at the root.
std::string jahrdatei(const std::string& name);

// First line of "jahrakt" without its line end; nothing when the file is missing.
std::optional<std::string> jahraktlesen();
// Rewrites "jahrakt" with one line, atomically.
void jahraktschreiben(const std::string& ordner);

// "2006 1" is shown as "2006-1"; a shorter name shows what there is.
std::string jahranzeige(const std::string& ordner);

}  // namespace nux
