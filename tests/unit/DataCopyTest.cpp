#include <gtest/gtest.h>

#include <string>

#include "HostLog.h"
#include "files/DataCopy.h"

namespace {

// Takes at most `perCall` bytes a write; `zeroAfter` writes later it reports success with nothing
// taken, `failAfter` writes later it fails. Gives up after a bounded number of calls, so a copy
// that keeps retrying shows as a count instead of a hang.
class FakeSink : public ByteSink {
public:
    size_t perCall = SIZE_MAX;
    int zeroAfter = -1;
    int failAfter = -1;
    int calls = 0;
    std::string taken;

    bool write(const void* data, size_t count, size_t& written) override {
        if (calls++ > 10000 || calls - 1 == failAfter) return false;
        written = calls - 1 >= zeroAfter && zeroAfter >= 0 ? 0 : (count < perCall ? count : perCall);
        taken.append(static_cast<const char*>(data), written);
        return true;
    }
    unsigned long lastError() const override { return 112; }
};

std::vector<unsigned char> scrambled(const std::string& text) {
    std::vector<unsigned char> bytes;
    for (char c : text) bytes.push_back(static_cast<unsigned char>(c) ^ 0xA7);
    return bytes;
}

TEST(DataCopy, UnscramblesAcrossChunksAndPartialWrites) {
    std::string content(14000, '\0');
    for (size_t i = 0; i < content.size(); ++i) content[i] = static_cast<char>(i * 7);
    for (size_t perCall : {SIZE_MAX, size_t{4096}, size_t{7}}) {
        MemorySource source(scrambled(content));
        FakeSink sink;
        sink.perCall = perCall;
        EXPECT_EQ(copyData(source, sink, static_cast<int64_t>(content.size()), true), 0) << perCall;
        EXPECT_EQ(sink.taken, content) << perCall;
    }
}

TEST(DataCopy, FailuresEndTheCopyWithTheirCode) {
    const struct {
        const char* what;
        int zeroAfter;
        int failAfter;
        int64_t size;
        int result;
        int calls;
        const char* logged;
    } cases[] = {
        {"a write that takes nothing", 0, -1, 10, 2, 1, "WriteFile failed 10 0"},
        {"a later write that takes nothing", 1, -1, 10, 2, 2, "WriteFile failed 7 0"},
        {"a failed write", -1, 0, 10, 2, 1, "WriteFile failed 10 112"},
        {"a source that runs short", -1, -1, 20, 1, 4, "ReadFile failed 0 0 10"},
    };
    for (const auto& c : cases) {
        clearCapturedLog();
        MemorySource source(scrambled("0123456789"));
        FakeSink sink;
        sink.perCall = 3;
        sink.zeroAfter = c.zeroAfter;
        sink.failAfter = c.failAfter;
        EXPECT_EQ(copyData(source, sink, c.size, true), c.result) << c.what;
        EXPECT_EQ(sink.calls, c.calls) << c.what;
        EXPECT_TRUE(logContains(c.logged)) << c.what;
    }
}

}  // namespace
