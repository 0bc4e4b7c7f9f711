#include <benchmark/benchmark.h>

#include <cstring>

#include "HostLog.h"
#include "config/ConfigBlock.h"
#include "windows/VariableExpansion.h"

namespace {

void append32(std::vector<unsigned char>& out, int32_t v) {
    unsigned char bytes[4];
    std::memcpy(bytes, &v, 4);
    out.insert(out.end(), bytes, bytes + 4);
}

// A block the size of a real application's: 120 narrow entries, 30 wide ones, two locale groups.
std::vector<unsigned char> typicalBlock() {
    std::vector<unsigned char> b;
    append32(b, static_cast<int32_t>(kConfigMagic));
    for (int i = 0; i < 4; ++i) append32(b, 0);
    append32(b, 120);
    for (int id = 0; id < 120; ++id) {
        std::string text = "value of entry " + std::to_string(id) + " with a class path like ..\\lib\\a.jar;";
        append32(b, 100 + id);
        append32(b, static_cast<int32_t>(text.size()));
        b.insert(b.end(), text.begin(), text.end());
    }
    append32(b, 30);
    for (int id = 0; id < 30; ++id) {
        append32(b, 1000 + id);
        append32(b, 80);
        b.insert(b.end(), 80, 'x');
    }
    append32(b, 2);
    for (const char* prefix : {"de", "fr"}) {
        append32(b, 2);
        b.insert(b.end(), prefix, prefix + 2);
        append32(b, 30);
        for (int id = 0; id < 30; ++id) {
            append32(b, 1000 + id);
            append32(b, 80);
            b.insert(b.end(), 80, 'y');
        }
    }
    return b;
}

void BM_ReadTypicalBlock(benchmark::State& state) {
    const std::vector<unsigned char> bytes = typicalBlock();
    for (auto _ : state) {
        ConfigBlock block;
        MemorySource source(bytes);
        BlockReader reader(source);
        readConfigEntries(reader, block);
        readLocaleGroups(reader, block, "de_CH");
        benchmark::DoNotOptimize(block.includedDataOffset);
    }
}
BENCHMARK(BM_ReadTypicalBlock);

void BM_ExpandWithEnvironment(benchmark::State& state) {
    std::vector<std::string> environment;
    for (int i = 0; i < 60; ++i) environment.push_back("VARIABLE_" + std::to_string(i) + "=C:\\some\\value");
    NarrowExpansionValues values{"C:\\Program Files\\App\\bin\\", "", "", "C:\\Users\\x\\Temp\\"};
    for (auto _ : state) {
        std::string text = "${launcher:sys.launcherDirectory}..\\lib;${VARIABLE_7}\\x;%TARVO_EXEDIR%y";
        expandTokens(text, 6000, values, environment);
        clearCapturedLog();
        benchmark::DoNotOptimize(text.data());
    }
}
BENCHMARK(BM_ExpandWithEnvironment);

}  // namespace
