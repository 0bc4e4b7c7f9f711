#include "config/win/ConfigLoader.h"

#include <cstring>
#include <memory>

#include "config/BlockReader.h"
#include "config/ConfigBlock.h"
#include "config/win/LocaleDetect.h"
#include "files/win/Paths.h"
#include "log/Log.h"
#include "log/win/ErrorReport.h"

HandleSource::HandleSource(HANDLE file) : file_(file) {
    LARGE_INTEGER size;
    if (GetFileSizeEx(file, &size)) fileSize_ = static_cast<uint64_t>(size.QuadPart);
}

size_t HandleSource::readAt(uint64_t offset, void* out, size_t count) {
    unsigned char* target = static_cast<unsigned char*>(out);
    size_t delivered = 0;
    while (delivered < count) {
        uint64_t at = offset + delivered;
        bool inBuffer = at >= bufferStart_ && at < bufferStart_ + bufferLength_;
        if (!inBuffer) {
            LARGE_INTEGER distance;
            distance.QuadPart = static_cast<LONGLONG>(at);
            DWORD got = 0;
            if (!SetFilePointerEx(file_, distance, nullptr, FILE_BEGIN) ||
                !ReadFile(file_, buffer_, sizeof buffer_, &got, nullptr)) {
                lastError_ = GetLastError();
                break;
            }
            bufferStart_ = at;
            bufferLength_ = got;
            if (got == 0) {
                lastError_ = 0;  // the file simply ended
                break;
            }
        }
        size_t available = static_cast<size_t>(bufferStart_ + bufferLength_ - at);
        size_t n = count - delivered < available ? count - delivered : available;
        std::memcpy(target + delivered, buffer_ + (at - bufferStart_), n);
        delivered += n;
    }
    return delivered;
}

UniqueHandle openOwnExecutable() {
    const std::wstring& path = executableLongPath();
    UniqueHandle file(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                  OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) {
        logError("Could not open %s", forLog(path).c_str());
        failWithText("Error opening media file. Please move this file to an ascii-only path like c:\\");
    }
    return file;
}

static void failIfDamaged(const BlockReader& reader) {
    if (reader.failure() != ReadFailure::None) failWithText(readFailureText(reader.failure()));
}

int loadConfiguration(const ArgumentVector& arguments) {
    UniqueHandle file = openOwnExecutable();
    // The source carries a 64 KiB buffer: keep it off the main thread's stack.
    auto source = std::make_unique<HandleSource>(file.get());
    BlockReader reader(*source);
    ConfigBlock& block = configBlock();

    seekConfigBlock(reader);
    failIfDamaged(reader);
    readConfigEntries(reader, block);
    failIfDamaged(reader);

    char localeName[16];
    detectLocale(&arguments, localeName, sizeof localeName);

    readLocaleGroups(reader, block, localeName);
    failIfDamaged(reader);
    file.reset();

    int applicationKind = configInt(107);
    if (applicationKind != 1 && applicationKind != 5) showErrorDialogs = false;
    return applicationKind;
}

int64_t readLongOrFail(ByteSource& source) {
    BlockReader reader(source);
    int64_t value = 0;
    if (!reader.readLong(value)) failWithText(readFailureText(reader.failure()));
    return value;
}
