#include "runtime/files/media_archive.h"

#include <gtest/gtest.h>

#include <fstream>
#include <random>
#include <string>
#include <vector>

#include "file_fixture.h"
#include "runtime/files/archive_format.h"
#include "runtime/files/channels.h"
#include "runtime/files/file_record.h"
#include "runtime/files/memory_files.h"

namespace tvk::files_test {
namespace {

std::vector<uint8_t> bytes_of(const std::string& text) { return {text.begin(), text.end()}; }

std::string read_record(const std::string& name) {
    FileRecord record;
    if (!file_open_read(record, name.c_str())) return "<cannot open>";
    std::string bytes(static_cast<size_t>(record.size), 0);
    file_read(record, bytes.data(), record.size);
    file_close(record);
    return bytes;
}

class MediaArchiveTest : public FileTest {
protected:
    // Writes an archive of the members and points both archive states at it.
    std::string use_archive(const std::vector<ArchiveInput>& members, const std::string& prefix = "") {
        std::vector<uint8_t> bytes(prefix.begin(), prefix.end());
        const std::vector<uint8_t> archive = build_archive(members);
        bytes.insert(bytes.end(), archive.begin(), archive.end());
        return use_archive_bytes(bytes);
    }
    std::string use_archive_bytes(const std::vector<uint8_t>& bytes) {
        const std::string path = dir.write("game.bin", std::string(bytes.begin(), bytes.end()));
        set_media_archives(path.c_str(), path.c_str());
        return path;
    }
    std::string picture = std::string(3000, 'P') + "picture data";
};

TEST_F(MediaArchiveTest, FindsMembersIgnoringCaseAsMemoryFiles) {
    use_archive({{"X.PNG", bytes_of(picture)}, {"song.ogg", bytes_of("music")}}, "program bytes");
    std::string result;
    ASSERT_TRUE(resolve_media_path(media_archives().memory_files, "Media/x.png", result, true));
    EXPECT_EQ(result.rfind("mem://", 0), 0u) << result;
    EXPECT_EQ(read_record(result), picture);
    EXPECT_TRUE(resolve_media_path(media_archives().memory_files, "Media\\SONG.OGG", result, true));
    EXPECT_EQ(read_record(result), "music");
    EXPECT_FALSE(resolve_media_path(media_archives().memory_files, "Media/other.png", result, true));
    EXPECT_FALSE(resolve_media_path(media_archives().memory_files, "", result, true));

    ASSERT_EQ(channel_open(0, RtString("Media/x.png"), 1), 1);
    EXPECT_EQ(error_state().code, 0);
    EXPECT_EQ(channel_read_line(0).length, 1024u);
}

TEST_F(MediaArchiveTest, DiskCopyWinsOverTheArchive) {
    use_archive({{"x.png", bytes_of("from the archive")}});
    const std::string disk = dir.write("Media/x.png", "from the disk");
    std::string result;
    ASSERT_TRUE(resolve_media_path(media_archives().memory_files, disk.c_str(), result, true));
    EXPECT_EQ(result, disk);
    // A directory of that name is no file: the archive answers.
    std::filesystem::create_directories(dir.path() / "Media/y.png");
    use_archive({{"y.png", bytes_of("from the archive")}});
    ASSERT_TRUE(resolve_media_path(media_archives().memory_files, dir.file("Media/y.png").c_str(), result, true));
    EXPECT_EQ(read_record(result), "from the archive");
}

TEST_F(MediaArchiveTest, TemporaryFileFormLivesUntilTheNextLookup) {
    use_archive({{"tune.ogg", bytes_of("ogg bytes")}, {"b.wav", bytes_of("wave")}});
    MediaArchiveState& music = media_archives().temporary_files;
    std::string first;
    ASSERT_TRUE(resolve_media_path(music, "Media/Tune.OGG", first, false));
    EXPECT_EQ(first.rfind(temp_folder() + "sbx", 0), 0u) << first;
    EXPECT_EQ(first.substr(first.size() - 8), "tune.ogg");
    EXPECT_EQ(read_record(first), "ogg bytes");
    EXPECT_EQ(music.temp_file, first);

    std::string second;
    ASSERT_TRUE(resolve_media_path(music, "b.wav", second, false));
    EXPECT_FALSE(std::filesystem::exists(first));
    release_media_archives();
    EXPECT_FALSE(std::filesystem::exists(second));
    EXPECT_TRUE(music.temp_file.empty());
}

TEST_F(MediaArchiveTest, BlockStaysAliveWhileAChannelReadsIt) {
    use_archive({{"a.txt", bytes_of("first line\nsecond line\n")}, {"b.txt", bytes_of("other")}});
    ASSERT_EQ(channel_open(2, RtString("a.txt"), 1), 1);
    std::string a_name = media_archives().memory_files.block ? memory_file_name(media_archives().memory_files.block) : "";
    EXPECT_STREQ(channel_read_line(2).c_str(), "first line");
    std::string other;
    ASSERT_TRUE(resolve_media_path(media_archives().memory_files, "b.txt", other, true));
    EXPECT_STREQ(channel_read_line(2).c_str(), "second line");
    EXPECT_EQ(read_record(a_name), "first line\nsecond line\n");
    channel_close(2);
    // Released by everyone: its name no longer opens anything.
    EXPECT_EQ(read_record(a_name), "<cannot open>");
    EXPECT_EQ(channel_open(2, a_name.c_str(), 1), 0);
    EXPECT_EQ(error_state().code, kErrNoSuchFile);
}

TEST_F(MediaArchiveTest, DisabledOrMissingArchiveFindsNothing) {
    std::string result;
    EXPECT_FALSE(resolve_media_path(media_archives().memory_files, "x.png", result, true));
    use_archive({{"x.png", bytes_of("x")}});
    media_archives().memory_files.enabled = 0;
    EXPECT_FALSE(resolve_media_path(media_archives().memory_files, "x.png", result, true));
    set_media_archives(dir.file("missing.exe").c_str(), "");
    EXPECT_FALSE(resolve_media_path(media_archives().memory_files, "x.png", result, true));
    EXPECT_FALSE(resolve_media_path(media_archives().temporary_files, "x.png", result, false));
}

TEST_F(MediaArchiveTest, ArchiveMayItselfBeAMemoryFile) {
    const MemoryBlockRef archive = make_memory_block(build_archive({{"inner.txt", bytes_of("inside")}}));
    const std::string name = memory_file_name(archive);
    set_media_archives(name.c_str(), name.c_str());
    std::string result;
    ASSERT_TRUE(resolve_media_path(media_archives().memory_files, "inner.txt", result, true));
    EXPECT_EQ(read_record(result), "inside");
}

TEST_F(MediaArchiveTest, AbsoluteOffsetsAreReadToo) {
    // A hand-made archive with a directory offset from the start: one stored member.
    std::vector<uint8_t> bytes = {'h', 'e', 'a', 'd'};
    const std::vector<uint8_t> member = pack_member(bytes_of("absolute"));
    const auto member_at = static_cast<uint32_t>(bytes.size());
    bytes.insert(bytes.end(), member.begin(), member.end());
    const auto directory_at = static_cast<uint32_t>(bytes.size());
    auto put32 = [&](uint32_t v) {
        for (int i = 0; i < 4; ++i) bytes.push_back(static_cast<uint8_t>(v >> (8 * i)));
    };
    bytes.push_back(5);
    for (char c : std::string("A.BIN")) bytes.push_back(static_cast<uint8_t>(c));
    put32(member_at);
    put32(static_cast<uint32_t>(member.size()));
    bytes.push_back(0);
    bytes.insert(bytes.end(), {0x73, 0x62, 0x58});
    put32(directory_at);
    use_archive_bytes(bytes);
    std::string result;
    ASSERT_TRUE(resolve_media_path(media_archives().memory_files, "a.bin", result, true));
    EXPECT_EQ(read_record(result), "absolute");
}

// Hostile archives: each must give "no such file" and write nothing outside the
// temporary folder (and, as the lookup fails, nothing inside it either).
TEST_F(MediaArchiveTest, HostileArchivesGiveNoSuchFile) {
    const std::vector<uint8_t> good = build_archive({{"X.PNG", bytes_of(picture)}});
    const size_t n = good.size();
    // Layout from the end: trailer (7), terminator (1), entry: length, "X.PNG", offset, size.
    const size_t size_at = n - 12;
    const size_t offset_at = n - 16;
    auto patched = [&](size_t at, std::vector<uint8_t> with) {
        std::vector<uint8_t> bytes = good;
        std::copy(with.begin(), with.end(), bytes.begin() + static_cast<std::ptrdiff_t>(at));
        return bytes;
    };
    auto truncated_front = std::vector<uint8_t>(good.begin() + 10, good.end());
    auto corrupt = good;
    for (size_t i = 4; i < 40; ++i) corrupt[i] ^= 0x5A;
    auto overstated = patched(0, {0xFF, 0xFF, 0x00, 0x00});  // U larger than the data give
    auto understated = patched(0, {0x10, 0x00, 0x00, 0x00});

    const struct {
        const char* what;
        std::vector<uint8_t> bytes;
    } cases[] = {
        {"empty file", {}},
        {"trailer cut off", std::vector<uint8_t>(good.begin(), good.end() - 1)},
        {"directory cut off", std::vector<uint8_t>(good.begin(), good.end() - 9)},
        {"front cut off", truncated_front},
        {"no magic", patched(n - 7, {'s', 'b', 'Y'})},
        {"directory past the end", patched(n - 4, {0x10, 0x00, 0x00, 0x00})},
        {"directory before the start", patched(n - 4, {0x00, 0x00, 0x00, 0x80})},
        {"member offset past the end", patched(offset_at, {0xFE, 0xFF, 0xFF, 0xFF})},
        {"member offset before the start", patched(offset_at, {0x00, 0x00, 0x00, 0x80})},
        {"member size past the end", patched(size_at, {0xFF, 0xFF, 0x00, 0x00})},
        {"member size below 4", patched(size_at, {0x03, 0x00, 0x00, 0x00})},
        {"corrupt LZO data", corrupt},
        {"unpacked length overstated", overstated},
        {"unpacked length understated", understated},
        {"unpacked length beyond any packing", patched(0, {0xFF, 0xFF, 0xFF, 0xFF})},
    };
    const std::set<std::string> before = all_paths();
    for (const auto& c : cases) {
        use_archive_bytes(c.bytes);
        for (bool memory : {true, false}) {
            MediaArchiveState& state = memory ? media_archives().memory_files : media_archives().temporary_files;
            std::string result;
            EXPECT_FALSE(resolve_media_path(state, "Media/x.png", result, memory)) << c.what;
        }
        EXPECT_EQ(channel_open(0, RtString("Media/x.png"), 1), 0) << c.what;
        EXPECT_EQ(error_state().code, kErrNoSuchFile) << c.what;
    }
    std::set<std::string> after = all_paths();
    after.erase("game.bin");
    EXPECT_EQ(after, before);
}

TEST_F(MediaArchiveTest, MemberNamesThatAreNotBareFileNamesAreRefused) {
    const std::set<std::string> before = all_paths();
    for (const char* bad : {"../escape.png", "sub/x.png", "..", ".", "a\\b.png"}) {
        use_archive({{bad, bytes_of("payload")}, {"fine.png", bytes_of("fine")}});
        for (const char* wanted : {"escape.png", "x.png", "..", "b.png", "fine.png", "a\\b.png"}) {
            std::string result;
            EXPECT_FALSE(resolve_media_path(media_archives().temporary_files, wanted, result, false))
                << bad << " / " << wanted;
            EXPECT_FALSE(resolve_media_path(media_archives().memory_files, wanted, result, true))
                << bad << " / " << wanted;
        }
    }
    std::set<std::string> after = all_paths();
    after.erase("game.bin");
    EXPECT_EQ(after, before);
    EXPECT_FALSE(std::filesystem::exists(dir.path() / "escape.png"));
}

TEST_F(MediaArchiveTest, MadeUpMemoryFileNamesAreNoSuchFile) {
    const MemoryBlockRef real = make_memory_block(bytes_of("0123456789"));
    const std::string name = memory_file_name(real);
    char wrong_size[64];
    std::snprintf(wrong_size, sizeof wrong_size, "mem://%8x.%s", 11u, name.c_str() + 15);
    int local = 0;
    char stack_address[64];
    std::snprintf(stack_address, sizeof stack_address, "mem://%8x.%8jx", 4u,
                  static_cast<uintmax_t>(reinterpret_cast<uintptr_t>(&local)));
    for (const std::string& made_up : {std::string("mem://      10.deadbeef"), std::string(wrong_size),
                                      std::string(stack_address), std::string("mem://"),
                                      std::string("mem://      10.")}) {
        EXPECT_EQ(channel_open(1, made_up.c_str(), 1), 0) << made_up;
        EXPECT_EQ(error_state().code, kErrNoSuchFile) << made_up;
        EXPECT_EQ(file_size(made_up.c_str()), 0) << made_up;
    }
    EXPECT_EQ(channel_open(1, name.c_str(), 1), 1);
    EXPECT_EQ(error_state().code, 0);
    EXPECT_EQ(file_size(name.c_str()), 10);
}

// Random damage anywhere in an archive either still unpacks to the member's full length
// or is refused; it never reads or writes outside what it was given (run under the
// sanitizers in the sanitizer build).
TEST_F(MediaArchiveTest, RandomDamageIsRefusedOrHarmless) {
    std::string text;
    for (int i = 0; i < 200; ++i) text += "line " + std::to_string(i * 37) + " of the file\n";
    const std::vector<uint8_t> good = build_archive({{"a.txt", bytes_of(text)}, {"X.PNG", bytes_of(picture)}});
    std::mt19937 random(12345);
    for (int round = 0; round < 3000; ++round) {
        std::vector<uint8_t> bytes = good;
        const int damage = 1 + static_cast<int>(random() % 4);
        for (int i = 0; i < damage; ++i) bytes[random() % bytes.size()] = static_cast<uint8_t>(random());
        if (round % 7 == 0) bytes.resize(random() % bytes.size());
        const MemoryBlockRef archive = make_memory_block(bytes);
        const std::string name = memory_file_name(archive);
        set_media_archives(name.c_str(), name.c_str());
        for (const char* wanted : {"a.txt", "x.png"}) {
            std::string result;
            if (!resolve_media_path(media_archives().memory_files, wanted, result, true)) continue;
            ASSERT_NE(find_memory_file(result.c_str()), nullptr);
        }
    }
}

}  // namespace
}  // namespace tvk::files_test
