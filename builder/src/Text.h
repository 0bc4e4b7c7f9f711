#pragma once

#include <string>
#include <string_view>

namespace builder {

// Narrow texts are stored in Windows-1252; TOML texts are UTF-8. The five bytes that
// Windows-1252 leaves undefined (0x81, 0x8D, 0x8F, 0x90, 0x9D) map to the C1 controls of
// the same value, so every byte survives a dump and rebuild.

// Converts UTF-8 to Windows-1252. On failure returns false and sets `offending` to the
// code point that has no Windows-1252 byte (or U+FFFD for malformed UTF-8).
bool utf8ToCp1252(std::string_view utf8, std::string& out, char32_t& offending);
std::string cp1252ToUtf8(std::string_view bytes);

// UTF-8 to UTF-16LE bytes; false on malformed UTF-8.
bool utf8ToUtf16le(std::string_view utf8, std::string& out);
// UTF-16LE bytes to UTF-8. A lone surrogate becomes U+FFFD and an odd last byte is
// dropped (the launcher reads only whole code units); `exact` tells whether either happened.
std::string utf16leToUtf8(std::string_view bytes, bool& exact);

}  // namespace builder
