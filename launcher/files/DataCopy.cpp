#include "files/DataCopy.h"

#include "log/Log.h"

int copyData(ByteSource& source, ByteSink& target, int64_t size, bool unscramble) {
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
            size_t wrote = 0;
            bool ok = target.write(chunk + written, lastRead - written, wrote);
            if (!ok || wrote == 0 || wrote > lastRead - written) {
                unsigned long error = ok ? 0ul : target.lastError();
                logError("WriteFile failed %d %lu", static_cast<int>(lastRead - written), error);
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
