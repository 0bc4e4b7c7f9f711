#include "log/MessageText.h"

template <typename Char>
static std::basic_string<Char> substituteImpl(const std::basic_string<Char>& text, const Char* argument) {
    static const Char placeholder[] = {'{', '0', '}', 0};
    if (!argument) return text;
    size_t at = text.find(placeholder);
    if (at == std::basic_string<Char>::npos) return text;
    std::basic_string<Char> result = text;
    result.replace(at, 3, argument);
    return result;
}

std::string substituteFirstPlaceholder(const std::string& text, const char* argument) {
    return substituteImpl(text, argument);
}
std::wstring substituteFirstPlaceholder(const std::wstring& text, const wchar_t* argument) {
    return substituteImpl(text, argument);
}

template <typename Char>
static std::basic_string<Char> composeImpl(const std::basic_string<Char>& text, const Char* logPath) {
    static const Char separator[] = {'\n', '\n', 'L', 'o', 'g', ':', ' ', 0};
    std::basic_string<Char> composed = text;
    if (logPath) composed.append(separator).append(logPath);
    if (composed.size() > kMaxErrorTextLength) composed.resize(kMaxErrorTextLength);
    return composed;
}

std::string composeErrorText(const std::string& text, const char* logPath) { return composeImpl(text, logPath); }
std::wstring composeErrorText(const std::wstring& text, const wchar_t* logPath) {
    return composeImpl(text, logPath);
}
