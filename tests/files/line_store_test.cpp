#include "runtime/files/line_store.h"

#include <gtest/gtest.h>

#include "file_fixture.h"
#include "runtime/files/archive_format.h"
#include "runtime/files/memory_files.h"

namespace tvk::files_test {
namespace {

using LineStoreTest = FileTest;

TEST_F(LineStoreTest, ReadsCachesAndWritesBackWhenAnotherFileIsSelected) {
    const RtString scores = dir.write("scores.txt", "alpha\r\n  12.5 \t\r\nlast").c_str();
    const RtString other = dir.file("other.txt").c_str();
    EXPECT_STREQ(line_store_read(scores, 0).c_str(), "alpha");
    EXPECT_STREQ(line_store_read(scores, 1).c_str(), "  12.5 ");  // trailing control bytes go
    EXPECT_EQ(line_store_read_float(scores, 1), 12.5);
    EXPECT_STREQ(line_store_read(scores, 2).c_str(), "last");
    EXPECT_STREQ(line_store_read(scores, 200).c_str(), "");
    EXPECT_EQ(error_state().code, 0);

    EXPECT_EQ(line_store_write(scores, 4, 42.0), 0);
    EXPECT_EQ(line_store_write(scores, 0, RtString("changed")), 0);
    EXPECT_EQ(dir.read("scores.txt"), "alpha\r\n  12.5 \t\r\nlast");  // cached until then
    EXPECT_EQ(line_store_read_int(scores, 4), 42);

    EXPECT_EQ(line_store_write(other, 1, RtString("second")), 0);  // selects another file
    EXPECT_EQ(dir.read("scores.txt"), "changed\r\n  12.5 \t\r\nlast\r\n\r\n42\r\n");
    write_back_line_store();
    EXPECT_EQ(dir.read("other.txt"), "\r\nsecond\r\n");
}

TEST_F(LineStoreTest, BadIndexesAndMissingFiles) {
    const RtString missing = dir.file("missing.txt").c_str();
    EXPECT_STREQ(line_store_read(missing, 256).c_str(), "NO_DATA");
    EXPECT_EQ(error_state().code, kErrOutOfMemory);
    EXPECT_STREQ(line_store_read(missing, -1).c_str(), "NO_DATA");
    EXPECT_EQ(line_store_write(missing, 256, RtString("x")), 7);
    clear_error();
    EXPECT_STREQ(line_store_read(missing, 0).c_str(), "NO_FILE");
    EXPECT_EQ(error_state().code, kErrNoSuchFile);
    EXPECT_STREQ(line_store_read(missing, 0).c_str(), "NO_FILE");
    // Writing makes the file: afterwards the store holds it.
    EXPECT_EQ(line_store_write(missing, 0, RtString("made")), 0);
    EXPECT_STREQ(line_store_read(missing, 0).c_str(), "made");
    write_back_line_store();
    EXPECT_EQ(dir.read("missing.txt"), "made\r\n");
}

TEST_F(LineStoreTest, ReadsAtMost256LinesAndFindsFilesInTheArchive) {
    std::string many;
    for (int i = 0; i < 300; ++i) many += std::to_string(i) + "\n";
    const std::string archive = dir.write(
        "game.bin", [&] {
            const std::vector<uint8_t> bytes = build_archive({{"levels.txt", {many.begin(), many.end()}}});
            return std::string(bytes.begin(), bytes.end());
        }());
    set_media_archives(archive.c_str(), archive.c_str());
    EXPECT_EQ(line_store_read_int(RtString("Media/levels.txt"), 255), 255);
    EXPECT_EQ(error_state().code, 0);
    // Selecting another file does not write an unchanged store back.
    line_store_read(RtString(dir.file("none.txt").c_str()), 0);
    EXPECT_FALSE(std::filesystem::exists("Media/levels.txt"));
}

// Each text is read from a disk file and from a memory file; the store moves on to a
// missing file afterwards so that the next case is read afresh.
template <class Check>
void for_disk_and_memory(const testing_support::TempDir& dir, const std::string& text, Check check) {
    const MemoryBlockRef block = make_memory_block(std::vector<uint8_t>(text.begin(), text.end()));
    for (const std::string& name : {dir.write("lines.txt", text), memory_file_name(block)}) {
        SCOPED_TRACE(name);
        check(RtString(name.c_str()));
        line_store_read(RtString(dir.file("none.txt").c_str()), 0);
        clear_error();
    }
}

TEST_F(LineStoreTest, LinesOfTheFullSlotSizeKeepTheNumberingOfLaterLines) {
    const std::string full(1023, 'x');
    for (const std::string end : {"\n", "\r\n"}) {
        SCOPED_TRACE(testing::PrintToString(end));
        for_disk_and_memory(dir, full + end + "next" + end + end + "after", [&](const RtString& file) {
            EXPECT_STREQ(line_store_read(file, 0).c_str(), full.c_str());
            EXPECT_STREQ(line_store_read(file, 1).c_str(), "next");
            EXPECT_STREQ(line_store_read(file, 2).c_str(), "");
            EXPECT_STREQ(line_store_read(file, 3).c_str(), "after");
        });
        // A longer line still goes on as the next line.
        for_disk_and_memory(dir, full + "yz" + end + "next", [&](const RtString& file) {
            EXPECT_STREQ(line_store_read(file, 0).c_str(), full.c_str());
            EXPECT_STREQ(line_store_read(file, 1).c_str(), "yz");
            EXPECT_STREQ(line_store_read(file, 2).c_str(), "next");
        });
    }
    // What the store writes reads back in place.
    const RtString saved = dir.file("saved.txt").c_str();
    line_store_write(saved, 0, RtString((full + "cut off").c_str()));
    line_store_write(saved, 1, RtString("one"));
    line_store_read(RtString(dir.file("none.txt").c_str()), 0);
    EXPECT_STREQ(line_store_read(saved, 0).c_str(), full.c_str());
    EXPECT_STREQ(line_store_read(saved, 1).c_str(), "one");
}

TEST_F(LineStoreTest, AZeroByteEndsTheLineBeforeItsControlBytesAreTrimmed) {
    for_disk_and_memory(dir, std::string("3.5\r\0\0\x1cline\r\nnext", 17), [&](const RtString& file) {
        EXPECT_STREQ(line_store_read(file, 0).c_str(), "3.5");
        EXPECT_STREQ(line_store_read(file, 1).c_str(), "next");
    });
}

}  // namespace
}  // namespace tvk::files_test
