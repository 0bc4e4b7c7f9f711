#include "files/Text.h"

#include <cstring>

std::wstring widenBytes(const std::string& narrow) {
    std::wstring wide;
    wide.reserve(narrow.size());
    for (unsigned char byte : narrow) wide.push_back(static_cast<wchar_t>(byte));
    return wide;
}

template <typename Char>
static void shiftCase(std::basic_string<Char>& text, Char from, Char to) {
    for (Char& c : text)
        if (c >= from && c <= from + 25) c = static_cast<Char>(c - from + to);
}

void lowerAscii(std::string& text) { shiftCase<char>(text, 'A', 'a'); }
void lowerAscii(std::wstring& text) { shiftCase<wchar_t>(text, L'A', L'a'); }
void upperAscii(std::string& text) { shiftCase<char>(text, 'a', 'A'); }
void upperAscii(std::wstring& text) { shiftCase<wchar_t>(text, L'a', L'A'); }

bool endsWithIgnoringAsciiCase(const std::wstring& text, const std::wstring& suffix) {
    if (text.size() < suffix.size()) return false;
    std::wstring tail = text.substr(text.size() - suffix.size());
    std::wstring wanted = suffix;
    lowerAscii(tail);
    lowerAscii(wanted);
    return tail == wanted;
}

std::vector<std::string> splitSkippingEmpty(const std::string& text, char separator) {
    std::vector<std::string> fields;
    size_t start = 0;
    while (start <= text.size()) {
        size_t end = text.find(separator, start);
        if (end == std::string::npos) end = text.size();
        if (end > start) fields.push_back(text.substr(start, end - start));
        start = end + 1;
    }
    return fields;
}

template <typename Char>
static size_t copyBoundedImpl(Char* buffer, size_t capacity, const std::basic_string<Char>& text) {
    if (capacity == 0) return 0;
    size_t n = text.size() < capacity - 1 ? text.size() : capacity - 1;
    std::memcpy(buffer, text.data(), n * sizeof(Char));
    buffer[n] = Char(0);
    return n;
}

size_t copyBounded(char* buffer, size_t capacity, const std::string& text) {
    return copyBoundedImpl(buffer, capacity, text);
}
size_t copyBounded(wchar_t* buffer, size_t capacity, const std::wstring& text) {
    return copyBoundedImpl(buffer, capacity, text);
}
