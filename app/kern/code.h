#pragma once
// The access code: scrambling and the file "codes".
#include <string>

namespace nux {

inline constexpr const char* kStandardcode = "8153";

std::string codieren(const std::string& s);

// Creates "codes" with the default code when it is missing, then compares
// the scrambled entry with the stored text byte for byte.
bool codestimmt(const std::string& eingabe);

// The stored scrambled text (the file must exist).
std::string codelesen();

// Stores a new code (cut to 8 characters) in the existing file.
void codeschreiben(const std::string& neu);

}  // namespace nux
