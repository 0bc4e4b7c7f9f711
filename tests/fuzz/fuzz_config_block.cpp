// Feeds arbitrary bytes to the block reader as if they followed the last section of the executable.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "HostLog.h"
#include "config/ConfigBlock.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    // The host log keeps every line it is given: drop the last input's, or memory grows all run.
    clearCapturedLog();
    configBlock() = ConfigBlock();
    MemorySource source(std::vector<unsigned char>(data, data + size));
    BlockReader reader(source);
    if (readConfigEntries(reader, configBlock())) readLocaleGroups(reader, configBlock(), "de_CH");
    char buffer[16];
    for (const auto& entry : configBlock().entries) {
        configString(entry.first, buffer, sizeof buffer);
        configInt(entry.first);
        configColor(entry.first);
    }
    // The same bytes as a whole executable: locating the block must not misbehave either.
    MemorySource image(std::vector<unsigned char>(data, data + size));
    BlockReader imageReader(image);
    seekConfigBlock(imageReader);
    return 0;
}
