#include "runtime/RuntimePaths.h"

#include <algorithm>

#include "files/Text.h"
#include "runtime/VersionRules.h"

static bool endsWithIgnoringCase(const std::string& text, const std::string& suffix) {
    if (text.size() < suffix.size()) return false;
    std::string tail = text.substr(text.size() - suffix.size());
    lowerAscii(tail);
    return tail == suffix;  // suffix is given in lower case
}

static std::string dropLast(const std::string& text, size_t count) {
    return text.substr(0, text.size() > count ? text.size() - count : 0);
}

size_t javaExeNameLength(const std::string& javaExecutable) {
    return endsWithIgnoringCase(javaExecutable, "javaw.exe") ? 9 : 8;
}

std::string binDirectoryOf(const std::string& javaExecutable) {
    const size_t nameLength = javaExeNameLength(javaExecutable);
    // Nothing is left once the name and the backslash before it are gone.
    if (javaExecutable.size() <= nameLength) return std::string();
    const size_t kept = std::min<size_t>(javaExecutable.size() - nameLength - 1, 1999);
    return javaExecutable.substr(0, kept);
}

std::string javawPathFor(const std::string& javaExecutable) { return dropLast(javaExecutable, 4) + "w.exe"; }

std::string jreSiblingJavaExe(const std::string& javaExecutable) {
    const size_t nameLength = javaExeNameLength(javaExecutable);
    // A bare "..\jre\bin\java.exe" would be looked up beside the working directory instead.
    if (javaExecutable.size() <= nameLength) return std::string();
    return javaExecutable.substr(0, javaExecutable.size() - nameLength) + "..\\jre\\bin\\java.exe";
}

std::string versionCacheKey(const std::string& javaExecutable) {
    std::string key = javaExecutable;
    std::replace(key.begin(), key.end(), '\\', '/');
    return "SOFTWARE\\quorvian\\tarvo\\jvms\\" + key;
}

std::string locatedNameToPath(const std::string& name) {
    std::string path = name;
    std::replace(path.begin(), path.end(), '/', '\\');
    return path;
}

std::string quotedProgram(const std::string& shortPath, const std::string& longPath) {
    const std::string& program = shortPath.empty() ? longPath : shortPath;
    // The command-line parser splits at tabs as well as spaces.
    if (program.find_first_of(" \t") == std::string::npos) return program;
    return "\"" + program + "\"";
}

std::string versionQueryCommandLine(const std::string& shortPath, const std::string& longPath) {
    return quotedProgram(shortPath, longPath) + " -version";
}

std::string unpackCommandLine(const std::string& toolPath, const std::string& packedPath, const std::string& jarPath) {
    return "\"" + toolPath + "\" -r \"" + packedPath + "\" \"" + jarPath + "\"";
}

bool isPackedJarName(const std::string& fileName) { return endsWithIgnoringCase(fileName, ".jar.pack"); }

std::string jarNameForPacked(const std::string& packedName) { return dropLast(packedName, 5); }

std::string appendToSearchPath(const std::string& previous, const std::string& directory, size_t capacity) {
    if (capacity == 0) return std::string();
    std::string path = previous + ";" + directory;
    if (path.size() > capacity - 1) path.resize(capacity - 1);
    return path;
}

std::vector<std::string> sortedVersionNames(const std::vector<std::string>& names, const std::string& minimum,
                                            const std::string& maximum) {
    std::vector<std::string> kept;
    for (const std::string& name : names)
        if (versionInRange(name, minimum, maximum)) kept.push_back(name);
    std::sort(kept.begin(), kept.end(),
              [](const std::string& a, const std::string& b) { return compareVersionText(a, b) < 0; });
    return kept;
}

LocationLine firstLocationLine(const std::string& content, size_t maxLength, std::string& line) {
    line.clear();
    if (content.empty()) return LocationLine::missing;
    size_t end = content.find('\n');
    if (end == std::string::npos) end = content.size();
    while (end > 0 && (content[end - 1] == '\r' || content[end - 1] == '\n')) --end;
    const auto lineEnd = content.begin() + static_cast<std::ptrdiff_t>(end);
    if (std::find(content.begin(), lineEnd, '\0') != lineEnd) return LocationLine::binary;
    if (end > maxLength) return LocationLine::tooLong;
    if (end == 0) return LocationLine::empty;
    line = content.substr(0, end);
    return LocationLine::ok;
}
