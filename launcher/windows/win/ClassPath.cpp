#include "windows/win/ClassPath.h"

#include <windows.h>

#include <vector>

#include "config/ConfigBlock.h"
#include "files/Text.h"
#include "files/win/Paths.h"
#include "files/win/TempDir.h"
#include "files/win/UniqueHandle.h"
#include "log/Log.h"
#include "log/win/ErrorReport.h"
#include "windows/ClassPathText.h"
#include "windows/win/Expand.h"

namespace {

// The attribute test also takes a trailing backslash and a network share's root, which a search
// for the exact path does not.
bool isDirectory(const std::string& path) {
    DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

// A search finds wildcard texts (the VM takes "dir\*" too); the attribute test finds a directory
// written with a trailing backslash.
bool pathExists(const std::string& path) {
    return fileExists(path) || GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

// A and D entries: the text may be a list; each piece resolves on its own and all must exist.
bool addPathList(std::string& classPath, const std::string& text) {
    std::vector<std::string> pieces = splitSkippingEmpty(text, ';');
    bool found = !pieces.empty();
    std::string joined;
    for (const std::string& piece : pieces) {
        std::string path = resolvePath(piece);
        found = found && pathExists(path);
        if (!joined.empty()) joined += ';';
        joined += path;
    }
    if (!joined.empty()) classPath += joined + ";";
    return found;
}

// False when the variable is not defined at all; a value of any length is taken whole.
bool readEnvironmentVariable(const std::string& name, std::string& value) {
    std::vector<char> buffer(kPathCapacity);
    for (int attempt = 0; attempt < 4; ++attempt) {
        SetLastError(ERROR_SUCCESS);
        DWORD length = GetEnvironmentVariableA(name.c_str(), buffer.data(), static_cast<DWORD>(buffer.size()));
        if (length == 0) {
            value.clear();
            return GetLastError() != ERROR_ENVVAR_NOT_FOUND;
        }
        if (length < buffer.size()) {
            value.assign(buffer.data(), length);
            return true;
        }
        buffer.resize(static_cast<size_t>(length) + 1);
    }
    value.clear();
    return true;
}

void addTemporaryArchives(std::string& classPath) {
    const std::string& directory = launcherTempDirectory();
    if (directory.empty()) return;
    const std::string user = childPath(directory, "user");
    for (const std::string& scanned : {directory, user}) {
        addArchivesFromDirectory(classPath, scanned, "jar");
        addArchivesFromDirectory(classPath, scanned, "zip");
    }
}

bool isQuillmoteFlavour() {
    std::string flavour = configStringCopy(2001);
    return !flavour.empty() && flavour[0] == 'i';
}

}  // namespace

bool addArchivesFromDirectory(std::string& classPath, const std::string& directory, const char* extension) {
    if (!isDirectory(directory)) return false;
    WIN32_FIND_DATAA found;
    UniqueFindHandle search(FindFirstFileA(childPath(directory, std::string("*.") + extension).c_str(), &found));
    if (!search) return true;
    do {
        if (!hasArchiveExtension(found.cFileName, extension)) {
            logMessage("%s does not end in .%s: not on the class path", found.cFileName, extension);
            continue;
        }
        classPath += childPath(directory, found.cFileName) + ";";
    } while (FindNextFileA(search.get(), &found));
    return true;
}

void addRuntimeJar(std::string& classPath) {
    std::wstring directory = applicationDirectory();
    if (directory.empty() || directory.back() != L'\\') directory += L'\\';
    classPath += toFileApiCodePage(directory) + ".quillmote\\qmoruntime.jar;";
}

void addConfiguredClassPath(std::string& classPath) {
    std::vector<char> configured(kPathCapacity);
    configString(121, configured.data(), static_cast<int>(configured.size()));
    logMessage("classpath entry %s", configured.data());
    const std::vector<ClassPathEntry> entries = parseClassPathEntries(configured.data());
    logMessage("classpath entries %d", static_cast<int>(entries.size()));

    for (const ClassPathEntry& entry : entries) {
        std::string text = entry.text;
        expandVariablesNarrow(text, kPathCapacity);
        bool found = false;  // any other letter adds nothing and is never found
        switch (entry.letter) {
            case 'A':
            case 'D':
                found = addPathList(classPath, text);
                break;
            case 'E': {
                std::string value;
                if (!readEnvironmentVariable(text, value)) {
                    if (entry.mandatory) failWithMessage(1008, text.c_str());
                    continue;
                }
                std::string added = environmentEntryText(value);
                classPath += added;
                found = !added.empty();  // an empty value adds nothing and is not found
                break;
            }
            case 'S': {
                std::string directory = resolvePath(text);
                found = addArchivesFromDirectory(classPath, directory, "jar");
                if (found) addArchivesFromDirectory(classPath, directory, "zip");
                break;
            }
            default:
                break;
        }
        if (entry.mandatory && !found) failWithMessage(1006, text.c_str());
    }
}

std::string classPathOption(const ClassPathOverrides& overrides) {
    ClassPathSteps steps;
    steps.temporaryArchives = addTemporaryArchives;
    if (isQuillmoteFlavour()) steps.runtimeJar = addRuntimeJar;
    steps.configuredEntries = addConfiguredClassPath;
    return composeClassPathOption(overrides, steps);
}
