// Numbers as the user sees them: a leading blank before values of 0 or more, a minus
// sign otherwise ("Room" + NumText(0) reads "Room 0").
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace slab {

inline std::string NumText(int64_t value) {
  std::string text(value >= 0 ? 1 : 0, ' ');
  text += std::to_string(value);
  return text;
}

// A clause as a sentence of its own: "the file ends inside sample 3, at byte 90" becomes
// "The file ends inside sample 3, at byte 90."
inline std::string Sentence(std::string clause) {
  if (!clause.empty() && clause[0] >= 'a' && clause[0] <= 'z')
    clause[0] = char(clause[0] - 'a' + 'A');
  if (!clause.empty() && clause.back() != '.') clause += '.';
  return clause;
}

// Bytes as found in a file, for messages: hexadecimal, then as text with dots for what is not
// printable ("54 52 34 63 ("TR4c")").
inline std::string BytesText(const uint8_t* bytes, size_t n) {
  static const char kDigits[] = "0123456789ABCDEF";
  std::string hex, text;
  for (size_t i = 0; i < n; ++i) {
    if (i > 0) hex += ' ';
    hex += kDigits[bytes[i] >> 4];
    hex += kDigits[bytes[i] & 15];
    text += bytes[i] >= 0x20 && bytes[i] < 0x7F ? char(bytes[i]) : '.';
  }
  return hex + " (\"" + text + "\")";
}

// A sector as the Sector Info caption reads it: grid cell (a, b) is numbered a-1, b-1,
// keeping the sign, so the corner (0, 0) reads "-1,-1" and never collides with (2, 2)'s "1,1".
// Only the caption (and the command line's fields that quote it) count this way.
inline std::string SectorLabel(int64_t a, int64_t b) {
  return std::to_string(a - 1) + "," + std::to_string(b - 1);
}

// A sector as every list, tooltip, difference and message names it: its 0-based grid cell
// (a, b), as the command line's arguments take it, so no place is ever negative.
inline std::string SectorPlace(int64_t a, int64_t b) {
  return std::to_string(a) + "," + std::to_string(b);
}

}  // namespace slab
