#pragma once
// Text rules shared by every part of the launcher: byte-for-byte widening, ASCII-only case
// changes and strtok-style splitting. Narrow texts are bytes in the file-API code page.
#include <string>
#include <vector>

// Each byte becomes the UTF-16 code unit of the same value (0x00 to 0xFF), no code page involved.
std::wstring widenBytes(const std::string& narrow);

// Letter-case operations touch A-Z / a-z only.
void lowerAscii(std::string& text);
void lowerAscii(std::wstring& text);
void upperAscii(std::string& text);
void upperAscii(std::wstring& text);
bool endsWithIgnoringAsciiCase(const std::wstring& text, const std::wstring& suffix);

// Splits like strtok: separators never produce empty fields.
std::vector<std::string> splitSkippingEmpty(const std::string& text, char separator);

// Copies text into a fixed buffer of capacity units (terminator included), cutting what does not fit.
// Returns the number of units copied (without the terminator). Capacity 0 writes nothing.
size_t copyBounded(char* buffer, size_t capacity, const std::string& text);
size_t copyBounded(wchar_t* buffer, size_t capacity, const std::wstring& text);
