#include <gtest/gtest.h>

#include <cstring>

#include "HostLog.h"
#include "config/ConfigBlock.h"

namespace {

// Little-endian block bytes, written field by field.
class BlockBytes {
public:
    BlockBytes& int32(int32_t v) { return raw(&v, 4); }
    BlockBytes& int64(int64_t v) { return raw(&v, 8); }
    BlockBytes& text(const std::string& s) { return int32(static_cast<int32_t>(s.size())).raw(s.data(), s.size()); }
    BlockBytes& wide(const std::u16string& s) {
        int32(static_cast<int32_t>(s.size() * 2));
        for (char16_t c : s) raw(&c, 2);
        return *this;
    }
    BlockBytes& header() { return int32(static_cast<int32_t>(kConfigMagic)).int32(0).int32(0).int64(0); }
    BlockBytes& raw(const void* p, size_t n) {
        bytes.insert(bytes.end(), static_cast<const unsigned char*>(p), static_cast<const unsigned char*>(p) + n);
        return *this;
    }
    std::vector<unsigned char> bytes;  // the host is little-endian, as the tests assume
};

class ConfigBlockTest : public testing::Test {
protected:
    void SetUp() override {
        configBlock() = ConfigBlock();
        clearCapturedLog();
    }
    // Loads the block the way the launcher does, with the locale name given.
    ReadFailure load(const std::vector<unsigned char>& bytes, const char* locale = "en") {
        MemorySource source(bytes);
        BlockReader reader(source);
        if (readConfigEntries(reader, configBlock())) readLocaleGroups(reader, configBlock(), locale);
        return reader.failure();
    }
    std::string text(int id) {
        char buffer[6000];
        configString(id, buffer, sizeof buffer);
        return buffer;
    }
};

TEST_F(ConfigBlockTest, TheFortyThreeByteExampleLoads) {
    const unsigned char example[] = {0xD5, 0x13, 0xE4, 0xE8, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1, 0,
                                     0,    0,    0x65, 0,    0, 0, 3, 0, 0, 0, 0x41, 0x70, 0x70, 0, 0, 0, 0, 0, 0, 0, 0};
    ASSERT_EQ(sizeof example, 43u);
    EXPECT_EQ(load(std::vector<unsigned char>(example, example + 43)), ReadFailure::None);
    EXPECT_EQ(text(101), "App");
    EXPECT_EQ(configBlock().includedDataOffset, 43u);
}

TEST_F(ConfigBlockTest, EmptySectionsLoadAndEveryKeyIsAbsent) {
    EXPECT_EQ(load(BlockBytes().header().int32(0).int32(0).int32(0).bytes), ReadFailure::None);
    EXPECT_EQ(configBlock().includedDataOffset, 32u);
    EXPECT_EQ(text(101), "");
    EXPECT_EQ(configInt(107), 0);
    EXPECT_TRUE(configBlock().entries.empty());  // lookups never insert
}

TEST_F(ConfigBlockTest, NegativeCountsMeanEmptySections) {
    EXPECT_EQ(load(BlockBytes().header().int32(-5).int32(-1).int32(INT32_MIN).bytes), ReadFailure::None);
    EXPECT_EQ(configBlock().includedDataOffset, 32u);
}

TEST_F(ConfigBlockTest, LaterEntriesReplaceEarlierOnes) {
    BlockBytes b;
    b.header().int32(3).int32(101).text("first").int32(102).text("").int32(101).text("second").int32(0).int32(0);
    EXPECT_EQ(load(b.bytes), ReadFailure::None);
    EXPECT_EQ(text(101), "second");
    EXPECT_EQ(text(102), "");
    EXPECT_EQ(configInt(102), 0);
}

TEST_F(ConfigBlockTest, AZeroByteEndsANarrowText) {
    BlockBytes b;
    b.header().int32(1).int32(101).text(std::string("ab\0cd", 5)).int32(0).int32(0);
    EXPECT_EQ(load(b.bytes), ReadFailure::None);
    EXPECT_EQ(text(101), "ab");
    EXPECT_EQ(configBlock().includedDataOffset, 32u + 8 + 5);
}

TEST_F(ConfigBlockTest, LocaleGroupsApplyByPrefixAndLaterGroupsWin) {
    BlockBytes b;
    b.header().int32(0).int32(1).int32(1000).wide(u"Error");
    b.int32(4);
    b.text("de").int32(2).int32(1000).wide(u"Fehler").int32(1001).wide(u"de");
    b.text("de_AT").int32(1).int32(1001).wide(u"at");
    b.text("de_CH").int32(1).int32(1001).wide(u"ch");
    b.text("").int32(1).int32(1002).wide(u"every locale");
    EXPECT_EQ(load(b.bytes, "de_CH"), ReadFailure::None);
    const auto& wide = configBlock().wideEntries;
    EXPECT_EQ(wide.at(1000), L"Fehler");
    EXPECT_EQ(wide.at(1001), L"ch");
    EXPECT_EQ(wide.at(1002), L"every locale");
    EXPECT_TRUE(logContains("locale group 'de_AT' skipped"));
    EXPECT_TRUE(logContains("locale group 'de_CH' applies"));
    EXPECT_TRUE(logContains("locale group '' applies"));
    EXPECT_EQ(configBlock().includedDataOffset, b.bytes.size());
}

TEST_F(ConfigBlockTest, AnOddWideLengthKeepsTheFieldsInStep) {
    BlockBytes b;
    b.header().int32(0).int32(1).int32(7).int32(3).raw("a\0b", 3).int32(0);
    EXPECT_EQ(load(b.bytes), ReadFailure::None);
    EXPECT_EQ(configBlock().wideEntries.at(7), L"a");
    EXPECT_EQ(configBlock().includedDataOffset, b.bytes.size());
}

TEST_F(ConfigBlockTest, DamagedBlocksNameTheFailedRead) {
    auto cutInside = [](BlockBytes b, size_t drop) {
        b.bytes.resize(b.bytes.size() - drop);
        return b.bytes;
    };
    BlockBytes narrow;
    narrow.header().int32(1).int32(101).text("Application");
    BlockBytes wide;
    wide.header().int32(0).int32(1).int32(1000).wide(u"Error");
    BlockBytes group;
    group.header().int32(0).int32(0).int32(1).text("de").int32(1).int32(5).wide(u"x");

    const struct {
        const char* name;
        std::vector<unsigned char> bytes;
        ReadFailure expected;
    } cases[] = {
        {"wrong magic", BlockBytes().int32(0x12345678).int32(0).int32(0).int64(0).int32(0).int32(0).int32(0).bytes,
         ReadFailure::Magic},
        {"nothing at all", {}, ReadFailure::ReadInt},
        {"cut in the header value", cutInside(BlockBytes().header(), 3), ReadFailure::ReadLong},
        {"cut inside a narrow text", cutInside(narrow, 4), ReadFailure::ReadString},
        {"cut inside a wide text", cutInside(wide, 1), ReadFailure::ReadWString},
        {"cut inside a count", cutInside(BlockBytes().header().int32(0), 2), ReadFailure::ReadInt},
        {"missing locale group count", BlockBytes().header().int32(0).int32(0).bytes, ReadFailure::ReadInt},
        {"cut inside a group's wide text", cutInside(group, 1), ReadFailure::ReadWString},
        {"negative narrow length", BlockBytes().header().int32(1).int32(101).int32(-1).bytes, ReadFailure::ReadString},
        {"huge narrow length", BlockBytes().header().int32(1).int32(101).int32(INT32_MAX).bytes, ReadFailure::ReadString},
        {"negative wide length", BlockBytes().header().int32(0).int32(1).int32(1).int32(INT32_MIN).bytes,
         ReadFailure::ReadWString},
        {"huge entry count", BlockBytes().header().int32(INT32_MAX).int32(1).text("x").bytes, ReadFailure::ReadInt},
        {"huge prefix length", BlockBytes().header().int32(0).int32(0).int32(1).int32(0x7FFFFFF0).bytes,
         ReadFailure::ReadString},
    };
    for (const auto& c : cases) {
        configBlock() = ConfigBlock();
        EXPECT_EQ(load(c.bytes), c.expected) << c.name;
    }
    EXPECT_STREQ(readFailureText(ReadFailure::Magic), "Internal Error: magic");
    EXPECT_STREQ(readFailureText(ReadFailure::ReadWString), "Internal Error: readWString");
}

TEST_F(ConfigBlockTest, EntriesReadBeforeAFailureStay) {
    BlockBytes b;
    b.header().int32(2).int32(1000).text("Caption").int32(101).int32(50);
    EXPECT_EQ(load(b.bytes), ReadFailure::ReadString);
    EXPECT_EQ(text(1000), "Caption");
}

TEST_F(ConfigBlockTest, AShortIntReadLogsTheErrorAndTheBytesRead) {
    std::vector<unsigned char> bytes = BlockBytes().header().bytes;
    bytes.push_back(1);
    load(bytes);
    EXPECT_TRUE(logContains("error 0 1\n")) << capturedLogLines().back();
}

TEST_F(ConfigBlockTest, TextAccessorsCutToTheBufferAndLogIt) {
    configBlock().entries[2001] = "ie";
    char flavour[2];
    EXPECT_EQ(configString(2001, flavour, sizeof flavour), 1);
    EXPECT_STREQ(flavour, "i");
    EXPECT_TRUE(logContains("ERROR: config string 2001 truncated (2 2)"));

    wchar_t wide[3];
    configBlock().entries[146] = "\xE4\xFC-long";
    EXPECT_EQ(configWideString(146, wide, 3), 2);
    EXPECT_EQ(std::wstring(wide), std::wstring(L"\u00E4\u00FC"));  // widened byte for byte

    EXPECT_EQ(configWideString(999, wide, 3), 0);
    EXPECT_EQ(wide[0], L'\0');
    EXPECT_EQ(configStringCopy(999), "");
    EXPECT_EQ(configStringCopy(146), "\xE4\xFC-long");
}

TEST(ConfigNumbers, FollowStrtolRules) {
    const struct {
        const char* text;
        int value;
    } cases[] = {{"  42xyz", 42}, {"-5", -5}, {"+7", 7}, {"", 0}, {"abc", 0},
                 {"99999999999", INT32_MAX}, {"-99999999999", INT32_MIN}, {"\t\n 1", 1}};
    for (const auto& c : cases) EXPECT_EQ(parseConfigInt(c.text), c.value) << c.text;
}

TEST(ConfigColours, ParseRgbIntoGdiOrder) {
    const struct {
        const char* text;
        uint32_t colour;
    } cases[] = {{"255,255,255", 0x00FFFFFFu}, {"97,97,97", 0x00616161u}, {"300,0,0", 0x0000002Cu},
                 {"1,2,3", 0x00030201u},       {",,1,,2,3", 0x00030201u}, {"1,2", 0x00000201u},
                 {"", 0u}};
    for (const auto& c : cases) EXPECT_EQ(parseConfigColor(c.text), c.colour) << c.text;
}

// A minimal PE image: the block starts behind the raw data of the last section-table entry.
TEST(ConfigBlockLocation, FollowsTheLastSectionTableEntry) {
    std::vector<unsigned char> image(0x400, 0);
    auto put32 = [&](size_t at, uint32_t v) { std::memcpy(&image[at], &v, 4); };
    auto put16 = [&](size_t at, uint16_t v) { std::memcpy(&image[at], &v, 2); };
    put32(60, 0x80);          // e_lfanew
    put16(0x80 + 6, 2);       // two sections
    put16(0x80 + 20, 0xF0);   // optional header size
    size_t table = 0x80 + 24 + 0xF0;
    put32(table + 16, 0x100); put32(table + 20, 0x200);            // first: 0x200..0x300
    put32(table + 40 + 16, 0x80); put32(table + 40 + 20, 0x300);   // last:  0x300..0x380
    MemorySource source(image);
    BlockReader reader(source);
    ASSERT_TRUE(seekConfigBlock(reader));
    EXPECT_EQ(source.position(), 0x380u);
    EXPECT_TRUE(logContains("number of sections: 2"));
    EXPECT_TRUE(logContains("rawDataSize: 128, rawDataOffset: 768"));

    std::vector<unsigned char> truncated(image.begin(), image.begin() + 0x100);
    MemorySource shortSource(truncated);
    BlockReader shortReader(shortSource);
    EXPECT_FALSE(seekConfigBlock(shortReader));
    EXPECT_EQ(shortReader.failure(), ReadFailure::ReadInt);
}

// An executable larger than 4 GiB without the memory: the bytes placed at given offsets, zeros
// everywhere else.
class SparseSource : public ByteSource {
public:
    explicit SparseSource(uint64_t size) : size_(size) {}
    void place(uint64_t offset, const std::vector<unsigned char>& bytes) { pieces_.push_back({offset, bytes}); }
    void place32(uint64_t offset, uint32_t value) {
        place(offset, {static_cast<unsigned char>(value), static_cast<unsigned char>(value >> 8),
                       static_cast<unsigned char>(value >> 16), static_cast<unsigned char>(value >> 24)});
    }
    unsigned long lastError() const override { return 0; }
    uint64_t highestRead = 0;  // one past the last byte handed out

protected:
    uint64_t size() const override { return size_; }
    size_t readAt(uint64_t offset, void* out, size_t count) override {
        unsigned char* target = static_cast<unsigned char*>(out);
        std::memset(target, 0, count);
        for (const auto& piece : pieces_)
            for (size_t i = 0; i < piece.second.size(); ++i)
                if (piece.first + i >= offset && piece.first + i < offset + count)
                    target[piece.first + i - offset] = piece.second[i];
        if (offset + count > highestRead) highestRead = offset + count;
        return count;
    }

private:
    uint64_t size_;
    std::vector<std::pair<uint64_t, std::vector<unsigned char>>> pieces_;
};

constexpr uint64_t kFiveGiB = 5ull << 30;

// Offsets once wrapped at 4 GiB, so a block "behind" a damaged section table was found near the
// start of the file. Now no byte at or past the position limit is ever read: such a file reads as
// a damaged block. Every image holds a valid block start at 0x20 and at 4 GiB + 0x20.
TEST(ConfigBlockLocation, OffsetsNeverWrapAndStopAtTheLimit) {
    const struct {
        const char* what;
        int32_t peHeader;
        int32_t rawDataSize;
        int32_t rawDataOffset;
        ReadFailure failure;
    } cases[] = {
        {"negative raw-data offset", 0x80, 0x30, -16, ReadFailure::ReadInt},
        {"negative raw-data size", 0x80, -16, 0x30, ReadFailure::ReadInt},
        {"end near 4 GiB", 0x80, 0x7FFFFFF0, 0x7FFFFFF0, ReadFailure::ReadInt},
        {"end at 2 GiB", 0x80, 0x10, 0x7FFFFFF0, ReadFailure::ReadInt},
        {"negative PE header", -20, 0x30, 0, ReadFailure::ReadShort},
        {"reachable block", 0x80, 0x10, 0x10, ReadFailure::None},
    };
    for (const auto& c : cases) {
        SparseSource source(kFiveGiB);
        source.place32(60, static_cast<uint32_t>(c.peHeader));
        if (c.peHeader > 0) {
            source.place(static_cast<uint64_t>(c.peHeader) + 6, {1, 0});      // one section
            source.place(static_cast<uint64_t>(c.peHeader) + 20, {0xF0, 0});  // optional header size
            uint64_t table = static_cast<uint64_t>(c.peHeader) + 24 + 0xF0;
            source.place32(table + 16, static_cast<uint32_t>(c.rawDataSize));
            source.place32(table + 20, static_cast<uint32_t>(c.rawDataOffset));
        }
        for (uint64_t blockStart : {uint64_t{0x20}, uint64_t{(4ull << 30) + 0x20}}) {
            source.place32(blockStart, kConfigMagic);
            source.place32(blockStart + 20, 0);
        }
        BlockReader reader(source);
        ConfigBlock block;
        if (seekConfigBlock(reader)) readConfigEntries(reader, block);
        EXPECT_EQ(reader.failure(), c.failure) << c.what;
        EXPECT_LE(source.highestRead, kPositionLimit) << c.what;
    }
}

TEST(ConfigBlockLocation, ReadsEndAtThePositionLimit) {
    SparseSource source(kFiveGiB);
    EXPECT_EQ(source.remaining(), kPositionLimit);
    source.seek(kPositionLimit - 2);
    unsigned char bytes[8];
    EXPECT_EQ(source.read(bytes, sizeof bytes), 2u);
    EXPECT_EQ(source.position(), kPositionLimit);
    EXPECT_EQ(source.read(bytes, sizeof bytes), 0u);
    source.seek(4ull << 30);
    EXPECT_EQ(source.remaining(), 0u);
    EXPECT_EQ(source.read(bytes, sizeof bytes), 0u);

    // A text that would run past the limit fails before anything is allocated for it.
    SparseSource text(kFiveGiB);
    text.place32(kPositionLimit - 8, 100);
    text.seek(kPositionLimit - 8);
    BlockReader reader(text);
    std::string value;
    EXPECT_FALSE(reader.readString(value));
    EXPECT_EQ(reader.failure(), ReadFailure::ReadString);
}

// The included data starts where the block ends; at the limit that is still a 32-bit offset.
TEST_F(ConfigBlockTest, TheIncludedDataOffsetOfABlockEndingAtTheLimit) {
    SparseSource source(kFiveGiB);
    std::vector<unsigned char> block = BlockBytes().header().int32(0).int32(0).int32(0).bytes;
    uint64_t start = kPositionLimit - block.size();
    source.place(start, block);
    source.seek(start);
    BlockReader reader(source);
    ASSERT_TRUE(readConfigEntries(reader, configBlock()));
    ASSERT_TRUE(readLocaleGroups(reader, configBlock(), "en"));
    EXPECT_EQ(configBlock().includedDataOffset, kPositionLimit);
}

}  // namespace
