#include "windows/VariableExpansion.h"

#include "files/Text.h"
#include "log/Log.h"

namespace {

enum class Variable { LauncherDirectory, LauncherTempDirectory, PathListSeparator, JvmHome, TempDir };

struct FixedToken {
    const char* text;
    Variable variable;
};

// The order matters: text inserted for one token is searched by the tokens after it only.
constexpr FixedToken fixedTokens[] = {
    {"%TARVO_EXEDIR%", Variable::LauncherDirectory},
    {"%QUILLMOTE_EXEDIR%", Variable::LauncherDirectory},
    {"%TARVO_TEMPDIR%", Variable::LauncherTempDirectory},
    {"%QUILLMOTE_TEMPDIR%", Variable::LauncherTempDirectory},
    {"%TARVO_PATHLIST_SEPARATOR%", Variable::PathListSeparator},
    {"%QUILLMOTE_PATHLIST_SEPARATOR%", Variable::PathListSeparator},
    {"%TARVO_JVM_HOME%", Variable::JvmHome},
    {"%QUILLMOTE_JVM_HOME%", Variable::JvmHome},
    {"${TARVO_EXEDIR}", Variable::LauncherDirectory},
    {"${QUILLMOTE_EXEDIR}", Variable::LauncherDirectory},
    {"${TARVO_TEMPDIR}", Variable::LauncherTempDirectory},
    {"${QUILLMOTE_TEMPDIR}", Variable::LauncherTempDirectory},
    {"${TARVO_PATHLIST_SEPARATOR}", Variable::PathListSeparator},
    {"${QUILLMOTE_PATHLIST_SEPARATOR}", Variable::PathListSeparator},
    {"${TARVO_JVM_HOME}", Variable::JvmHome},
    {"${QUILLMOTE_JVM_HOME}", Variable::JvmHome},
    {"${launcher:sys.launcherDirectory}", Variable::LauncherDirectory},
    {"${launcher:sys.launcherTempDirectory}", Variable::LauncherTempDirectory},
    {"${launcher:sys.pathlistSeparator}", Variable::PathListSeparator},
    {"${launcher:sys.jvmHome}", Variable::JvmHome},
    {"${launcher:sys.tempDir}", Variable::TempDir},
};

constexpr size_t jvmHomeCapacity = 6000;

size_t usableLength(size_t capacity) { return capacity > 0 ? capacity - 1 : 0; }

void logCut(size_t limit, const std::wstring& token) {
    logError("expanded text cut to %d characters while expanding %s", static_cast<int>(limit), forLog(token).c_str());
}

void logCut(size_t limit, const std::string& token) {
    logError("expanded text cut to %d characters while expanding %s", static_cast<int>(limit), token.c_str());
}

// Returns false when the text had to be cut to the capacity; the caller then stops expanding.
template <typename Char, typename LogReplacement>
bool replaceEach(std::basic_string<Char>& text, size_t capacity, const std::basic_string<Char>& token,
                 const std::basic_string<Char>& value, LogReplacement logReplacement) {
    const size_t limit = usableLength(capacity);
    if (text.size() > limit) {
        text.resize(limit);
        logCut(limit, token);
        return false;
    }
    if (token.empty()) return true;  // would match at every position and never advance
    for (size_t at = text.find(token); at != std::basic_string<Char>::npos;
         at = text.find(token, at + value.size())) {
        text.replace(at, token.size(), value);
        if (text.size() > limit) {
            text.resize(limit);
            logCut(limit, token);
            return false;
        }
        logReplacement();
    }
    return true;
}

template <typename Text>
Text asciiText(const char* ascii) {
    Text text;
    for (const char* c = ascii; *c; ++c) text.push_back(static_cast<typename Text::value_type>(*c));
    return text;
}

// Overload resolution on the value's type picks the wide or narrow-widened replacement.
template <typename Text, typename Values>
bool replaceVariable(Text& text, size_t capacity, const Text& token, Variable variable, const Values& values) {
    switch (variable) {
        case Variable::LauncherDirectory: return replaceToken(text, capacity, token, values.launcherDirectory);
        case Variable::LauncherTempDirectory:
            return replaceToken(text, capacity, token, values.launcherTempDirectory);
        case Variable::PathListSeparator: return replaceToken(text, capacity, token, asciiText<Text>(";"));
        case Variable::JvmHome: return replaceToken(text, capacity, token, values.jvmHome);
        case Variable::TempDir: return replaceToken(text, capacity, token, values.tempDir);
    }
    return true;
}

template <typename Text>
bool expandEnvironment(Text& text, size_t capacity, const std::vector<Text>& environmentEntries) {
    for (const Text& entry : environmentEntries) {
        // Windows keeps per-drive directories as "=C:=C:\dir": the name is then empty and the
        // entry answers to "${}".
        size_t equals = entry.find('=');
        if (equals == Text::npos) continue;
        Text token = asciiText<Text>("${") + entry.substr(0, equals) + asciiText<Text>("}");
        Text value = entry.substr(equals + 1);
        if (!replaceToken(text, capacity, token, value)) return false;
        Text capitalToken = token;
        upperAscii(capitalToken);
        // A second pass with the same token would expand a value that refers to itself once more.
        if (capitalToken != token && !replaceToken(text, capacity, capitalToken, value)) return false;
    }
    return true;
}

template <typename Text, typename Values>
bool expandAll(Text& text, size_t capacity, const Values& values, const std::vector<Text>& environmentEntries) {
    for (const FixedToken& fixed : fixedTokens)
        if (!replaceVariable(text, capacity, asciiText<Text>(fixed.text), fixed.variable, values)) return false;
    return expandEnvironment(text, capacity, environmentEntries);
}

std::string& jvmHomeStorage() {
    static std::string value;
    return value;
}

}  // namespace

bool replaceToken(std::wstring& text, size_t capacity, const std::wstring& token, const std::wstring& value) {
    return replaceEach(text, capacity, token, value, [&] {
        logMessage("expanding2 %s to %s in %s.", forLog(token).c_str(), forLog(value).c_str(), forLog(text).c_str());
    });
}

bool replaceToken(std::wstring& text, size_t capacity, const std::wstring& token, const std::string& value) {
    return replaceEach(text, capacity, token, widenBytes(value), [&] {
        logMessage("expanding2 %s to %s in %s.", forLog(token).c_str(), value.c_str(), forLog(text).c_str());
    });
}

bool replaceToken(std::string& text, size_t capacity, const std::string& token, const std::string& value) {
    return replaceEach(
        text, capacity, token, value,
        [&] { logMessage("expanding2 %s to %s in %s.", token.c_str(), value.c_str(), text.c_str()); });
}

bool expandTokens(std::wstring& text, size_t capacity, const WideExpansionValues& values,
                  const std::vector<std::wstring>& environmentEntries) {
    return expandAll(text, capacity, values, environmentEntries);
}

bool expandTokens(std::string& text, size_t capacity, const NarrowExpansionValues& values,
                  const std::vector<std::string>& environmentEntries) {
    return expandAll(text, capacity, values, environmentEntries);
}

std::string jvmHomeFromJavaExecutable(const std::string& javaExecutablePath) {
    static const std::string windowedName = "javaw.exe";
    size_t removed = 8;  // "java.exe"
    if (javaExecutablePath.size() >= windowedName.size()) {
        std::string tail = javaExecutablePath.substr(javaExecutablePath.size() - windowedName.size());
        lowerAscii(tail);
        if (tail == windowedName) removed = windowedName.size();
    }
    size_t kept = javaExecutablePath.size() > removed ? javaExecutablePath.size() - removed : 0;
    return javaExecutablePath.substr(0, kept) + "..";
}

void setJvmHome(const std::string& javaExecutablePath) {
    std::string& home = jvmHomeStorage();
    home = jvmHomeFromJavaExecutable(javaExecutablePath);
    if (home.size() > jvmHomeCapacity - 1) home.resize(jvmHomeCapacity - 1);
}

const std::string& jvmHome() { return jvmHomeStorage(); }
