#include "startup/CommandLine.h"

#include <cstring>

// Text is consumed as a quoted argument: the unquoted prefix, then up to the closing quote.
static const wchar_t* takeQuoted(const wchar_t* text, const wchar_t* quote, ArgumentVector& arguments) {
    std::wstring argument(text, quote);
    const wchar_t* inside = quote + 1;
    const wchar_t* closing = std::wcschr(inside, *quote);
    if (!closing) {
        argument.append(inside);
        arguments.push_back(argument);
        return inside + std::wcslen(inside);
    }
    argument.append(inside, closing);
    arguments.push_back(argument);
    const wchar_t* next = closing + 1;
    return *next == L' ' ? next + 1 : next;
}

void splitCommandLine(const wchar_t* commandLine, ArgumentVector& arguments) {
    if (!commandLine) return;
    const wchar_t* text = commandLine;
    while (*text) {
        if (*text == L' ') {
            ++text;
            continue;
        }
        const wchar_t* doubleQuote = std::wcschr(text, L'"');
        const wchar_t* singleQuote = std::wcschr(text, L'\'');
        const wchar_t* blank = std::wcschr(text, L' ');
        bool blankFirst = blank && (!doubleQuote || blank < doubleQuote) && (!singleQuote || blank < singleQuote);
        if (blankFirst) {
            arguments.emplace_back(text, blank);
            text = blank + 1;
        } else if (doubleQuote && (!singleQuote || doubleQuote < singleQuote)) {
            text = takeQuoted(text, doubleQuote, arguments);
        } else if (singleQuote) {
            text = takeQuoted(text, singleQuote, arguments);
        } else {
            arguments.emplace_back(text);
            break;
        }
    }
}

static bool startsWith(const char* text, const char* prefix) {
    return text && std::strncmp(text, prefix, std::strlen(prefix)) == 0;
}

bool isRebootRequest(const char* tail) { return tail && std::strcmp(tail, "__qmo_reboot") == 0; }
bool isLanguageRestart(const char* tail) { return startsWith(tail, "__qmo_lang_restart"); }
bool isInternalQuietStart(const char* tail) { return startsWith(tail, "-q_qmo_internal"); }

bool takeLogFileOption(ArgumentVector& arguments) {
    if (arguments.size() < 2) return false;
    const std::wstring& option = arguments[1];
    if (option != L"-create-qmo-log" && option != L"-create-tvo-log" && option != L"/create-qmo-log" &&
        option != L"/create-tvo-log")
        return false;
    arguments.erase(arguments.begin() + 1);
    return true;
}

ConsoleOptionResult walkConsoleOptions(const ArgumentVector& arguments, bool allOptionsEnabled,
                                       const std::function<bool()>& attach) {
    ConsoleOptionResult result;
    for (const std::wstring& argument : arguments) {
        if (allOptionsEnabled && argument == L"-q") {
            result.quiet = true;
        } else if (argument == L"-console") {
            attach();
        } else if (allOptionsEnabled && argument == L"-c") {
            result.quiet = true;
            if (!attach()) result.consoleFailed = true;
            break;  // nothing after "-c" is examined
        }
    }
    return result;
}
