#pragma once
// Text and number helpers for fixed-column lines and hours. Texts are
// Windows-1252 byte strings: one byte is one character.
#include <cstdint>
#include <string>
#include <string_view>

namespace nux {

std::string linksbuendig(std::string_view s, int w);
std::string rechtsbuendig(std::string_view s, int w);
std::string zahlrechts(std::int32_t n, int w);
std::int32_t zahllesen(std::string_view s);  // throws on more digits than fit
std::string zehntelzeigen(std::int64_t v, int w);
std::int64_t zehntellesen(std::string_view s);

// Removes leading and trailing characters up to and including the space.
std::string trimmen(std::string_view s);

// Characters from..bis, 1-based and inclusive, as far as the text reaches.
std::string teil(std::string_view s, std::size_t von, std::size_t bis);

// The order of every sorted list: case-insensitive over ASCII and the
// Windows-1252 letters, ties broken by byte order.
int textvergleich(std::string_view a, std::string_view b);
inline bool textvor(std::string_view a, std::string_view b) { return textvergleich(a, b) < 0; }

// Letters in upper case within Windows-1252, byte by byte: every character
// stays one character ("\xDF" and "\xB5" have no upper case there and stay).
std::string gross(std::string_view s);

// Copies a file through a buffer of 10000 bytes. A missing source does
// nothing. The target is replaced only once the copy is complete.
void dateikopieren(const std::string& quelle, const std::string& ziel);

}  // namespace nux
