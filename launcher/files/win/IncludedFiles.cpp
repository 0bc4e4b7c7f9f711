#include "files/win/IncludedFiles.h"

#include <memory>

#include "config/ConfigBlock.h"
#include "config/win/ConfigLoader.h"
#include "files/IncludedNames.h"
#include "files/Text.h"
#include "files/win/TempDir.h"
#include "files/win/UniqueHandle.h"
#include "log/Log.h"
#include "log/win/ErrorReport.h"

static uint32_t extractedEnd = 0;

uint32_t unextractedPosition() { return extractedEnd; }

int copyFileData(ByteSource& source, HANDLE target, int64_t size, bool unscramble) {
    unsigned char chunk[6000];
    int64_t total = 0;
    size_t lastRead = 0;
    while (total < size) {
        int64_t left = size - total;
        size_t wanted = left < static_cast<int64_t>(sizeof chunk) ? static_cast<size_t>(left) : sizeof chunk;
        lastRead = source.read(chunk, wanted);
        if (lastRead == 0) break;
        if (unscramble)
            for (size_t i = 0; i < lastRead; ++i) chunk[i] ^= 0xA7;
        size_t written = 0;
        while (written < lastRead) {
            DWORD wrote = 0;
            if (!WriteFile(target, chunk + written, static_cast<DWORD>(lastRead - written), &wrote, nullptr)) {
                logError("WriteFile failed %d %lu", static_cast<int>(lastRead - written), GetLastError());
                return 2;
            }
            written += wrote;
        }
        total += static_cast<int64_t>(lastRead);
    }
    if (total < size) {
        logError("ReadFile failed %d %lu %lld", static_cast<int>(lastRead), source.lastError(),
                 static_cast<long long>(total));
        return 1;
    }
    return 0;
}

int extractIncludedFile(ByteSource& executable, const std::string& path) {
    int64_t size = readLongOrFail(executable);
    logMessage("extracting %s (size: %lld)", path.c_str(), static_cast<long long>(size));
    if (size <= 0) return 0;
    UniqueHandle file(CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) failWithMessage(1009, "11");
    return copyFileData(executable, file.get(), size, true);
}

// Only the first directory level of a name is created; deeper names then fail to be created.
static void createFirstLevelDirectory(const std::string& name) {
    size_t backslash = name.find('\\');
    if (backslash == std::string::npos) return;
    std::string directory = launcherTempDirectory() + "\\" + name.substr(0, backslash);
    logMessage("creating directory %s", directory.c_str());
    if (!CreateDirectoryA(directory.c_str(), nullptr) && GetLastError() != ERROR_ALREADY_EXISTS)
        logError("failed to create directory %s", directory.c_str());
}

int extractIncludedFiles(bool createDirectory) {
    logMessage("extracting files");
    int count = configInt(2002);
    logMessage("Included files: %d", count);
    if (count <= 0) {
        if (createDirectory) launcherTempDirectory().clear();
        return 0;
    }
    if (createDirectory) createLauncherTempDirectory();

    UniqueHandle file = openOwnExecutable();
    auto executable = std::make_unique<HandleSource>(file.get());
    executable->seek(configBlock().includedDataOffset);

    int handled = 0;
    for (const std::string& name : splitSkippingEmpty(configStringCopy(2003), ';')) {
        if (handled >= count) break;
        if (!isSafeIncludedName(name)) {
            logError("included file name %s leaves the temporary directory", name.c_str());
            failWithMessage(1009, "11");
        }
        std::string target = launcherTempDirectory() + "\\" + name;
        createFirstLevelDirectory(name);
        int result = extractIncludedFile(*executable, target);
        if (result != 0) {
            logError("Failed to extract %s", target.c_str());
            return result;
        }
        ++handled;
    }
    extractedEnd = executable->position();
    logMessage("extracting files done");
    return 0;
}
