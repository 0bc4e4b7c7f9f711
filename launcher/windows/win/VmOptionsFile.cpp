#include "windows/win/VmOptionsFile.h"

#include <windows.h>

#include <io.h>
#include <share.h>

#include <vector>

#include "files/Text.h"
#include "files/win/Paths.h"
#include "log/Log.h"
#include "windows/IncludeStack.h"
#include "windows/win/Expand.h"

namespace {

// Every file read during one start shares the one stack: configured, command-line and file
// directives can all include files.
IncludeStack& includeStack() {
    static IncludeStack stack;
    return stack;
}

// Text mode, shared for reading and writing, so an editor holding the file open does not stop it.
UniqueStream openOptionsFile(const std::wstring& path) {
    return UniqueStream(_wfsopen(path.c_str(), L"rt", _SH_DENYNO));
}

std::wstring reportedModuleName() {
    std::vector<wchar_t> buffer(MAX_PATH + 1);
    while (buffer.size() <= 32768) {
        DWORD length = GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
        if (length == 0) return std::wstring();
        if (length < buffer.size()) return std::wstring(buffer.data(), length);
        buffer.resize(buffer.size() * 2);
    }
    return std::wstring();
}

VmOptionsFile findBeside(const std::wstring& executable) {
    VmOptionsFile file;
    if (executable.size() >= 4) {
        file.path = executable.substr(0, executable.size() - 4) + L".vmoptions";
        file.stream = openOptionsFile(file.path);
        logMessage("vmoptions2: exe %s file: %s, file: %p", forLog(executable).c_str(), forLog(file.path).c_str(),
                   static_cast<void*>(file.stream.get()));
        if (file.stream) return file;
    }
    file.path = executable + L".vmoptions";
    file.stream = openOptionsFile(file.path);
    logMessage("vmoptions: opts2: %s, file: %p", forLog(file.path).c_str(), static_cast<void*>(file.stream.get()));
    return file;
}

// The same file opened by another spelling (8.3 form, "..", letter case) gives the same identity.
std::wstring fileIdentity(FILE* stream, const std::wstring& path) {
    HANDLE handle = reinterpret_cast<HANDLE>(_get_osfhandle(_fileno(stream)));
    BY_HANDLE_FILE_INFORMATION information;
    if (handle != INVALID_HANDLE_VALUE && GetFileInformationByHandle(handle, &information))
        return L"file " + std::to_wstring(information.dwVolumeSerialNumber) + L":" +
               std::to_wstring(information.nFileIndexHigh) + L":" + std::to_wstring(information.nFileIndexLow);
    std::wstring full = systemFullPathWide(path);
    lowerAscii(full);
    return L"path " + full;
}

struct IncludeScope {
    ~IncludeScope() { includeStack().leave(); }
};

bool enterFile(FILE* stream, const std::wstring& path) {
    switch (includeStack().enter(fileIdentity(stream, path))) {
        case IncludeDecision::read:
            return true;
        case IncludeDecision::alreadyReading:
            logMessage("vmoptions file %s is already being read: not read again", forLog(path).c_str());
            return false;
        case IncludeDecision::tooDeep:
            logMessage("vmoptions file %s is nested deeper than %d files: not read", forLog(path).c_str(),
                       static_cast<int>(IncludeStack::kMaxDepth));
            return false;
        case IncludeDecision::tooMany:
            logMessage("more than %d vmoptions files: %s not read", static_cast<int>(IncludeStack::kMaxFiles),
                       forLog(path).c_str());
            return false;
    }
    return false;
}

void includeOptionsFile(const wchar_t* basePath, const std::wstring& written, VmOptionList& options,
                        ClassPathOverrides& overrides) {
    std::wstring name = written;
    expandVariables(name, kPathCapacity, false);
    logMessage("after exp from %s %s", forLog(name).c_str(), forLog(written).c_str());
    VmOptionsFile file;
    file.path = resolvePathWide(name, false, basePath);
    file.stream = openOptionsFile(file.path);
    logMessage("adding vmoptions from (%p) <%s> (%s)", static_cast<void*>(file.stream.get()),
               forLog(file.path).c_str(), forLog(name).c_str());
    const std::wstring resolved = file.path;
    readVmOptionsFile(std::move(file), resolved.c_str(), options, overrides);
    logMessage("adding vmoptions 2");
    logMessage("adding vmoptions 3");
}

}  // namespace

VmOptionsFile findVmOptionsFile() {
    VmOptionsFile file = findBeside(executableLongPath());
    if (file.stream) return file;
    return findBeside(reportedModuleName());
}

void readVmOptionsFile(VmOptionsFile file, const wchar_t* basePath, VmOptionList& options,
                       ClassPathOverrides& overrides) {
    if (!file.stream) return;
    if (!enterFile(file.stream.get(), file.path)) return;
    IncludeScope scope;

    int lineNumber = 0;
    const VmOptionsLineSplitter::LineHandler handleLine = [&](FileLineStatus status, const std::string& bytes) {
        ++lineNumber;
        if (status == FileLineStatus::tooLong) {
            logMessage("vmoptions line %d of %s is longer than %d bytes: skipped", lineNumber,
                       forLog(file.path).c_str(), static_cast<int>(kMaxVmOptionsLineLength));
            return;
        }
        if (status == FileLineStatus::notText) {
            logMessage("vmoptions line %d of %s is not text: skipped", lineNumber, forLog(file.path).c_str());
            return;
        }
        std::string text = bytes;
        if (!trimVmOptionsFileLine(text)) return;
        std::wstring line = widenBytes(text);
        expandVariables(line, kPathCapacity, true);
        addVmOptionLine(basePath, line, options, overrides);
    };

    VmOptionsLineSplitter splitter;
    char chunk[4096];
    size_t got;
    while ((got = std::fread(chunk, 1, sizeof chunk, file.stream.get())) > 0) splitter.feed(chunk, got, handleLine);
    splitter.finish(handleLine);
}

void addVmOptionLine(const wchar_t* basePath, const std::wstring& line, VmOptionList& options,
                     ClassPathOverrides& overrides) {
    VmOptionLineActions actions;
    actions.toCodePage = [](const std::wstring& text) { return toFileApiCodePage(text); };
    actions.include = [&](const std::wstring& name) { includeOptionsFile(basePath, name, options, overrides); };
    applyVmOptionLine(line, options, overrides, actions);
}
