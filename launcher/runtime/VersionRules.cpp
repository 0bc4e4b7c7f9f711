#include "runtime/VersionRules.h"

#include "log/Log.h"

bool isBetaVersion(const std::string& version) {
    return version.find("beta") != std::string::npos || version.find("ea") != std::string::npos ||
           version.find("rc") != std::string::npos;
}

// The version against a bound over count bytes of the bound; a version that ends inside that
// span is lower from its end on.
static int compareOver(const std::string& version, const std::string& bound, size_t count) {
    for (size_t i = 0; i < count; ++i) {
        if (i >= version.size()) return -1;
        const unsigned char v = static_cast<unsigned char>(version[i]);
        const unsigned char b = static_cast<unsigned char>(bound[i]);
        if (v != b) return v < b ? -1 : 1;
    }
    return 0;
}

bool versionAllowed(const std::string& version, const std::string& minimum, const std::string& maximum,
                    bool allowBeta, bool betaAlwaysAllowed) {
    if (!allowBeta && !betaAlwaysAllowed && isBetaVersion(version)) {
        logMessage("beta vm not allowed");
        return false;
    }
    if (compareOver(version, minimum, minimum.size()) < 0) return false;
    if (compareOver(version, maximum, maximum.size()) > 0) return false;
    return true;
}

bool versionInRange(const std::string& version, const std::string& minimum, const std::string& maximum) {
    const size_t toMinimum = version.size() < minimum.size() ? version.size() : minimum.size();
    if (compareOver(version, minimum, toMinimum) < 0) return false;
    const size_t toMaximum = version.size() < maximum.size() ? version.size() : maximum.size();
    if (compareOver(version, maximum, toMaximum) > 0) return false;
    return true;
}

int compareVersionText(const std::string& a, const std::string& b) {
    const size_t common = a.size() < b.size() ? a.size() : b.size();
    const int prefix = compareOver(a, b, common);
    if (prefix != 0) return prefix;
    if (a.size() == b.size()) return 0;
    return a.size() < b.size() ? -1 : 1;
}

static bool startsWith(const std::string& text, const char* prefix, size_t length) {
    return text.size() >= length && text.compare(0, length, prefix, length) == 0;
}

bool parseVersionLine(const std::string& line, std::string& version) {
    static const char javaPrefix[] = "java version \"";
    static const char openjdkPrefix[] = "openjdk version \"";
    size_t skip = 0;
    if (startsWith(line, javaPrefix, sizeof javaPrefix - 1))
        skip = sizeof javaPrefix - 1;
    else if (startsWith(line, openjdkPrefix, sizeof openjdkPrefix - 1))
        skip = sizeof openjdkPrefix - 1;
    else
        return false;

    std::string rest = line.substr(skip);
    // A binary read keeps the carriage return of the line end; it goes with the line feed.
    if (!rest.empty() && rest.back() == '\n') rest.pop_back();
    if (!rest.empty() && rest.back() == '\r') rest.pop_back();
    // The character before the line end is taken for the closing quote, even when a date follows it.
    if (rest.size() < 2) return false;
    rest.pop_back();
    version = rest;
    return true;
}

bool parseVersionOutput(const std::string& output, std::string& version) {
    const size_t kLinesLooked = 20;
    const size_t kLineLimit = 99;
    size_t start = 0;
    for (size_t line = 0; line < kLinesLooked && start < output.size(); ++line) {
        size_t end = output.find('\n', start);
        size_t next = end == std::string::npos ? output.size() : end + 1;
        std::string text = output.substr(start, next - start);
        if (text.size() > kLineLimit) text.resize(kLineLimit);
        if (parseVersionLine(text, version)) return true;
        start = next;
    }
    return false;
}
