#include "runtime/files/channels.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "file_fixture.h"
#include "runtime/files/archive_format.h"
#include "runtime/files/media_archive.h"
#include "runtime/files/memory_files.h"

namespace tvk::files_test {
namespace {

using ChannelTest = FileTest;
using ChannelDeathTest = FileTest;

struct LineCase {
    const char* what;
    std::string content;
    std::vector<std::string> lines;
};

std::vector<LineCase> line_cases() {
    return {
        {"carriage return and line feed, last line without one", "ab\r\ncd", {"ab", "cd"}},
        {"empty line", "\r\n", {""}},
        {"bare line feeds", "one\ntwo\n", {"one", "two"}},
        {"carriage return ending a 64-byte piece", std::string(63, 'x') + "\r\nnext\n",
         {std::string(63, 'x'), "next"}},
        {"line of exactly 64 bytes", std::string(64, 'q') + "\nz", {std::string(64, 'q'), "z"}},
        {"line longer than 1024 bytes", std::string(1030, 'y') + "\n",
         {std::string(1024, 'y'), std::string(6, 'y')}},
        {"line of exactly 1024 bytes", std::string(1024, 'w') + "\r\n", {std::string(1024, 'w'), ""}},
        {"carriage return alone at the end", "a\nb\r", {"a", "b"}},
    };
}

// Reads every line of a channel until it reports its end.
std::vector<std::string> read_all_lines(int32_t n) {
    std::vector<std::string> lines;
    while (!channel_at_end(n) && lines.size() < 100) lines.emplace_back(channel_read_line(n).c_str());
    return lines;
}

TEST_F(ChannelTest, ReadsLinesFromDiskFiles) {
    for (const LineCase& c : line_cases()) {
        const std::string path = dir.write("lines.txt", c.content);
        ASSERT_EQ(channel_open(3, path.c_str(), 1), 1) << c.what;
        EXPECT_EQ(read_all_lines(3), c.lines) << c.what;
        EXPECT_EQ(channel_at_end(3), 1) << c.what;
        channel_close(3);
    }
}

TEST_F(ChannelTest, ReadsLinesFromMemoryFiles) {
    for (const LineCase& c : line_cases()) {
        const MemoryBlockRef block = make_memory_block(std::vector<uint8_t>(c.content.begin(), c.content.end()));
        ASSERT_EQ(channel_open(0, memory_file_name(block).c_str(), 1), 1) << c.what;
        EXPECT_EQ(read_all_lines(0), c.lines) << c.what;
        EXPECT_EQ(channel_position(0), static_cast<int32_t>(c.content.size())) << c.what;
        channel_close(0);
    }
}

TEST_F(ChannelTest, LastLineWithoutLineFeedLeavesPositionOnePastTheSize) {
    const std::string path = dir.write("t.txt", "ab\r\ncd");
    ASSERT_EQ(channel_open(1, path.c_str(), 1), 1);
    EXPECT_STREQ(channel_read_line(1).c_str(), "ab");
    EXPECT_EQ(channel_position(1), 4);
    EXPECT_EQ(channel_at_end(1), 0);
    EXPECT_STREQ(channel_read_line(1).c_str(), "cd");
    EXPECT_EQ(channel_position(1), 7);
    EXPECT_EQ(channel_at_end(1), 1);
}

TEST_F(ChannelTest, WritesThenReadsBackEveryValueType) {
    const std::string path = dir.file("values.bin");
    ASSERT_EQ(channel_open(2, path.c_str(), 0), 1);
    const struct {
        ChannelValueType type;
        double written;
        double read;
    } values[] = {
        {ChannelValueType::kSignedByte, -5, -5},        {ChannelValueType::kUnsignedByte, 300, 44},
        {ChannelValueType::kSigned16, -1234, -1234},     {ChannelValueType::kUnsigned16, -1, 65535},
        {ChannelValueType::kSigned32, -70000.9, -70000}, {ChannelValueType::kUnsigned32, 4294967295.0, -1},
        {ChannelValueType::kFloat32, 0.1, 0.1f},         {ChannelValueType::kFloat64, 0.1, 0.1},
    };
    for (const auto& v : values) channel_write_value(2, v.type, v.written);
    channel_write_bytes(2, RtString("raw"));
    channel_write_bytes(2, RtString(""));
    channel_write_line(2, RtString(""));
    channel_write_line(2, RtString("12.5"));
    channel_close(2);
    EXPECT_EQ(error_state().code, 0);

    ASSERT_EQ(channel_open(2, path.c_str(), 1), 1);
    for (const auto& v : values) EXPECT_EQ(channel_read_value(2, v.type), v.read) << v.written;
    const RtString raw = channel_read_bytes(2, 3);
    EXPECT_EQ(std::string(raw.data, raw.length), "raw");
    EXPECT_STREQ(channel_read_line(2).c_str(), "");
    EXPECT_EQ(channel_read_line_float(2), 12.5);
    EXPECT_EQ(channel_at_end(2), 1);
    channel_close(2);
    EXPECT_EQ(dir.read("values.bin").substr(1 + 1 + 2 + 2 + 4 + 4 + 4 + 8), "raw\r\n12.5\r\n");
}

TEST_F(ChannelTest, WriteModeEmptiesAndAppendModeAddsAtTheEnd) {
    const std::string path = dir.write("log.txt", "old contents\r\n");
    ASSERT_EQ(channel_open(0, path.c_str(), -1), 1);
    EXPECT_EQ(channel_position(0), 0);
    channel_write_line(0, RtString("more"));
    channel_close(0);
    EXPECT_EQ(dir.read("log.txt"), "old contents\r\nmore\r\n");

    ASSERT_EQ(channel_open(0, path.c_str(), 0), 1);
    channel_close(0);
    EXPECT_EQ(dir.read("log.txt"), "");

    ASSERT_EQ(channel_open(0, dir.file("new.txt").c_str(), -1), 1);
    channel_write_line(0, RtString(""));
    channel_close(0);
    EXPECT_EQ(dir.read("new.txt"), "\r\n");
}

TEST_F(ChannelTest, SeekMovesFromStartCurrentAndEnd) {
    const std::string path = dir.write("digits.txt", "0123456789");
    const MemoryBlockRef block = make_memory_block({'0', '1', '2', '3', '4', '5', '6', '7', '8', '9'});
    const std::string memory = memory_file_name(block);
    for (const std::string& name : {path, memory}) {
        ASSERT_EQ(channel_open(4, name.c_str(), 1), 1);
        channel_seek(4, 3, 0);
        EXPECT_EQ(channel_read_value(4, ChannelValueType::kUnsignedByte), '3');
        channel_seek(4, 2, 1);
        EXPECT_EQ(channel_position(4), 6);
        EXPECT_EQ(channel_read_value(4, ChannelValueType::kUnsignedByte), '6');
        channel_seek(4, -2, -1);
        EXPECT_EQ(channel_read_value(4, ChannelValueType::kUnsignedByte), '8');
        channel_close(4);
    }
}

TEST_F(ChannelTest, MemoryFileReadsAtTheEndGiveWhatRemains) {
    const MemoryBlockRef block = make_memory_block({1, 2, 3, 4, 5, 6, 0x34, 0x12});
    const std::string name = memory_file_name(block);
    ASSERT_EQ(channel_open(5, name.c_str(), 1), 1);
    EXPECT_EQ(error_state().code, 0);
    channel_seek(5, 6, 0);
    EXPECT_EQ(channel_read_value(5, ChannelValueType::kSigned32), 0x1234);
    EXPECT_EQ(channel_position(5), 8);
    EXPECT_EQ(channel_read_value(5, ChannelValueType::kFloat64), 0.0);
    channel_seek(5, 5, 0);
    const RtString bytes = channel_read_bytes(5, 6);
    EXPECT_EQ(bytes.length, 6u);
    EXPECT_EQ(std::string(bytes.data, 6), std::string("\x06\x34\x12\0\0\0", 6));
    EXPECT_EQ(error_state().code, 0);

    // Memory files are read-only.
    EXPECT_EQ(channel_open(6, name.c_str(), 0), 0);
    EXPECT_EQ(error_state().code, kErrNoSuchFile);
    EXPECT_EQ(channel_open(6, name.c_str(), -1), 0);
}

TEST_F(ChannelTest, QuietFailuresSetTheirCodes) {
    EXPECT_EQ(channel_open(8, RtString("x"), 1), 0);
    EXPECT_EQ(error_state().code, kErrOutOfMemory);
    EXPECT_EQ(channel_open(-1, RtString("x"), 0), 0);
    EXPECT_EQ(error_state().code, kErrOutOfMemory);

    EXPECT_EQ(channel_open(0, dir.file("missing.txt").c_str(), 1), 0);
    EXPECT_EQ(error_state().code, kErrNoSuchFile);
    EXPECT_EQ(channel_open(0, dir.path().string().c_str(), 1), 0);  // a directory
    EXPECT_EQ(error_state().code, kErrNoSuchFile);
    EXPECT_EQ(channel_open(0, (dir.path() / "no/such/dir/f.txt").string().c_str(), 0), 0);
    EXPECT_EQ(error_state().code, kErrNoSuchFile);
    EXPECT_EQ(channel_open(0, RtString("mem://      10.12345678"), 1), 0);
    EXPECT_EQ(error_state().code, kErrNoSuchFile);

    for (int32_t n : {8, -1, 1000000}) {
        clear_error();
        EXPECT_EQ(channel_at_end(n), 1);
        EXPECT_EQ(error_state().code, kErrOutOfMemory);
    }

    channel_close(0);  // closing a closed channel is allowed
    EXPECT_EQ(error_state().code, 0);

    EXPECT_EQ(file_size(RtString(dir.file("missing").c_str())), 0);
    EXPECT_EQ(error_state().code, kErrNoSuchFile);
    clear_error();
    EXPECT_EQ(file_size(RtString(dir.write("five", "12345").c_str())), 5);
    EXPECT_EQ(error_state().code, 0);
}

TEST_F(ChannelTest, FilesAreNotSharedWhileOpen) {
    const std::string path = dir.write("busy.txt", "x\n");
    ASSERT_EQ(channel_open(0, path.c_str(), 1), 1);
    EXPECT_EQ(channel_open(1, path.c_str(), 1), 0);
    EXPECT_EQ(channel_open(1, path.c_str(), 0), 0);
#ifdef _WIN32
    // Not even another program may read it meanwhile.
    EXPECT_EQ(dir.read("busy.txt"), "");
    channel_close(0);
    EXPECT_EQ(dir.read("busy.txt"), "x\n");
#else
    EXPECT_EQ(dir.read("busy.txt"), "x\n");
    channel_close(0);
#endif
    EXPECT_EQ(channel_open(1, path.c_str(), 1), 1);
}

TEST_F(ChannelTest, CopyFileCopiesDiskAndMemoryFiles) {
    std::string big(10000, 0);
    for (size_t i = 0; i < big.size(); ++i) big[i] = static_cast<char>(i * 7);
    const std::string source = dir.write("big.bin", big);
    dir.write("copy.bin", "old");
    copy_file(source.c_str(), dir.file("copy.bin").c_str());
    EXPECT_EQ(error_state().code, 0);
    EXPECT_EQ(dir.read("copy.bin"), big);

    const MemoryBlockRef block = make_memory_block({'m', 'e', 'm'});
    copy_file(memory_file_name(block).c_str(), dir.file("from_memory.bin").c_str());
    EXPECT_EQ(dir.read("from_memory.bin"), "mem");

    copy_file(dir.file("missing").c_str(), dir.file("never.bin").c_str());
    EXPECT_EQ(error_state().code, kErrNoSuchFile);
    EXPECT_FALSE(std::filesystem::exists(dir.path() / "never.bin"));
    copy_file(source.c_str(), memory_file_name(block).c_str());
    EXPECT_EQ(error_state().code, kErrNoSuchFile);
}

TEST_F(ChannelDeathTest, FatalFailuresStopTheProgram) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    const std::string path = dir.write("t.txt", "ab\r\ncd");
    EXPECT_STOPS_WITH_CODE(channel_read_line(8), 7);
    EXPECT_STOPS_WITH_CODE(channel_read_value(-1, ChannelValueType::kSigned32), 7);
    EXPECT_STOPS_WITH_CODE(channel_write_line(9, RtString("x")), 7);
    EXPECT_STOPS_WITH_CODE(channel_position(8), 7);
    EXPECT_STOPS_WITH_CODE(channel_read_line(0), 3);  // closed
    EXPECT_STOPS_WITH_CODE(channel_write_line(0, RtString("x")), 3);
    EXPECT_STOPS_WITH_CODE(
        {
            channel_open(0, path.c_str(), 1);
            channel_read_line(0);
            channel_read_line(0);
            channel_read_line(0);  // past the end
        },
        3);
    EXPECT_STOPS_WITH_CODE(
        {
            channel_open(0, path.c_str(), 1);
            channel_seek(0, 4, 0);
            channel_read_value(0, ChannelValueType::kFloat64);  // short disk read
        },
        3);
    EXPECT_STOPS_WITH_CODE(
        {
            const MemoryBlockRef block = make_memory_block({'a', '\n'});
            channel_open(0, memory_file_name(block).c_str(), 1);
            channel_read_line(0);
            channel_read_line(0);  // memory file at its end
        },
        3);
    EXPECT_STOPS_WITH_CODE(
        {
            const MemoryBlockRef block = make_memory_block({'a', '\n'});
            channel_open(0, memory_file_name(block).c_str(), 1);
            channel_write_bytes(0, RtString("x"));  // memory files are read-only
        },
        3);
}

}  // namespace
}  // namespace tvk::files_test
