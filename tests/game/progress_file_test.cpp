// The progress file: its enciphered digits, reading short and missing files, the
// save that replaces the file whole, the merge with what another copy saved, and
// the data folder used when the Media folder cannot be written.
#include <gtest/gtest.h>
#ifndef _WIN32
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

#include <cstdlib>
#include <filesystem>
#include <string>

#include "game/game_fixture.h"
#include "game/game_state.h"
#include "game/progress_file.h"
#include "runtime/platform/files.h"
#include "runtime/value/text_cipher.h"
#include "support/temp_dir.h"
#include "support/test_env.h"

namespace tvk::game_test {
namespace {

namespace fs = std::filesystem;
using game::game_state;

std::string progress_file_with(const std::string& digits) {
    return std::string(string_encrypt(game::kProgressKey, digits.c_str()).c_str()) + "\r\n";
}

class ProgressFileTest : public ProgressFolderTest {
protected:
    void SetUp() override {
        ProgressFolderTest::SetUp();
        game::reset_game_state(game_state());
    }
    static void set_rounds(std::initializer_list<int32_t> rounds) {
        game::reset_game_state(game_state());
        for (int32_t r : rounds) game_state().progress(r) = 1;
    }
    static std::string loaded_digits() {
        game::reset_game_state(game_state());
        game::load_progress();
        std::string digits;
        for (int32_t i = 0; i <= 50; ++i) digits += game_state().progress(i) != 0 ? '1' : '0';
        return digits;
    }
};

TEST_F(ProgressFileTest, SavedDigitsReadBack) {
    set_rounds({3, 50});
    game::save_progress();
    const std::string file = read_file(media() / "moredata.txt");
    ASSERT_GE(file.size(), 2u);
    EXPECT_EQ(file.substr(file.size() - 2), "\r\n");
    const std::string expected = "0001" + std::string(46, '0') + "1";
    EXPECT_EQ(decipher_progress(file), expected);
    EXPECT_EQ(loaded_digits(), expected);
    EXPECT_FALSE(fs::exists(media() / "moredata.txt.new"));

    // Completing a round again keeps its digit and rewrites the file.
    set_rounds({3, 50});
    game::save_progress();
    EXPECT_EQ(decipher_progress(read_file(media() / "moredata.txt")), expected);
}

TEST_F(ProgressFileTest, ShortEmptyAndMissingFilesReadAsNotCompleted) {
    EXPECT_EQ(loaded_digits(), std::string(51, '0')) << "no file";
    write_file(media() / "moredata.txt", "");
    EXPECT_EQ(loaded_digits(), std::string(51, '0')) << "empty file";
    write_file(media() / "moredata.txt", progress_file_with("0101"));
    EXPECT_EQ(loaded_digits(), "0101" + std::string(47, '0')) << "short line";
}

TEST_F(ProgressFileTest, SaveInterruptedBeforeTheRenameLeavesTheOldProgress) {
    set_rounds({1});
    game::save_progress();
    const std::string old_file = read_file(media() / "moredata.txt");

    // A save that got as far as the file beside the old one, and no further.
    const std::string new_file = progress_file_with("011");
    ASSERT_TRUE(
        platform::write_file_beside("moredata.txt", new_file.data(), static_cast<int64_t>(new_file.size())));
    EXPECT_EQ(read_file(media() / "moredata.txt"), old_file);
    EXPECT_EQ(loaded_digits(), "01" + std::string(49, '0'));

    // One that stopped half-way through writing that file.
    write_file(media() / "moredata.txt.new", old_file.substr(0, 7));
    EXPECT_EQ(loaded_digits(), "01" + std::string(49, '0'));

    // The next save replaces the file whole.
    set_rounds({1, 2});
    game::save_progress();
    EXPECT_EQ(loaded_digits(), "011" + std::string(48, '0'));
    EXPECT_FALSE(fs::exists(media() / "moredata.txt.new"));
}

game::Progress progress_of(std::initializer_list<int32_t> rounds) {
    game::Progress progress{};
    for (int32_t r : rounds) progress[static_cast<size_t>(r)] = 1;
    return progress;
}

// Shown now, as last loaded or saved, as the file is: what the save writes.
TEST(ProgressMerge, KeepsEveryCompletedRoundButThoseResetHere) {
    const struct {
        const char* what;
        game::Progress shown, on_record, on_disk, written;
    } cases[] = {
        {"nothing else happened", progress_of({1, 2}), progress_of({1}), progress_of({1}),
         progress_of({1, 2})},
        {"another copy completed round 2", progress_of({1, 3}), progress_of({1}), progress_of({1, 2}),
         progress_of({1, 2, 3})},
        {"reset here, then round 5", progress_of({5}), progress_of({1, 2, 3}), progress_of({1, 2, 3}),
         progress_of({5})},
        {"reset here; round 4 from another copy stays", progress_of({5}), progress_of({1, 2, 3}),
         progress_of({1, 2, 3, 4}), progress_of({4, 5})},
        {"reset here, round 2 completed again", progress_of({2}), progress_of({1, 2}), progress_of({1, 2}),
         progress_of({2})},
        {"another copy reset, this one still shows round 1", progress_of({1, 6}), progress_of({1}),
         progress_of({}), progress_of({1, 6})},
        {"round 0 is never written", progress_of({0, 7}), progress_of({}), progress_of({0}), progress_of({7})},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(game::merged_progress(c.shown, c.on_record, c.on_disk), c.written) << c.what;
    }
}

// The copy in this process loaded rounds 1 to 3; another copy's saves are written
// into the file directly.
TEST_F(ProgressFileTest, SaveMergesWithWhatAnotherCopySaved) {
    write_file(media() / "moredata.txt", progress_file_with("01110"));
    game::load_progress();

    write_file(media() / "moredata.txt", progress_file_with("011110"));  // the other copy won round 4
    game_state().progress(6) = 1;
    game::save_progress();
    EXPECT_EQ(decipher_progress(read_file(media() / "moredata.txt")), "0111101" + std::string(44, '0'));
    EXPECT_TRUE(fs::exists(media() / "moredata.txt.lock")) << "the lock file stays";
    EXPECT_FALSE(fs::exists(media() / "moredata.txt.new"));

    // The reset clears memory only; the next win writes it, and rounds 1, 2, 3 and
    // 6 that this copy showed do not come back from the file. Round 4, which this
    // copy never showed, and round 8, won meanwhile by the other copy, stay.
    for (int32_t r = 1; r <= 50; ++r) game_state().progress(r) = 0;
    EXPECT_EQ(decipher_progress(read_file(media() / "moredata.txt")), "0111101" + std::string(44, '0'));
    write_file(media() / "moredata.txt", progress_file_with("011110101"));
    game_state().progress(2) = 1;
    game::save_progress();
    EXPECT_EQ(decipher_progress(read_file(media() / "moredata.txt")), "001010001" + std::string(42, '0'));

    // The reset is written once: round 1, completed again by the other copy, stays.
    write_file(media() / "moredata.txt", progress_file_with("011010001"));
    game_state().progress(9) = 1;
    game::save_progress();
    EXPECT_EQ(decipher_progress(read_file(media() / "moredata.txt")), "0110100011" + std::string(41, '0'));
}

#ifndef _WIN32
// Runs body in a child process that cannot write the Media folder (as another user
// when the test runs as root, for whom permission bits do not count); true when the
// child ended with status 0.
template <typename Body>
bool in_child_without_write_access(const fs::path& media, const fs::path& data, Body body) {
    chmod(media.c_str(), 0555);
    const bool root = geteuid() == 0;
    if (root) {
        const uid_t nobody = 65534;
        chmod(media.parent_path().c_str(), 0755);
        fs::create_directories(data);
        if (chown(data.c_str(), nobody, nobody) != 0) return false;
    }
    const pid_t pid = fork();
    if (pid == 0) {
        if (root && (setgid(65534) != 0 || setuid(65534) != 0)) _exit(3);
        _exit(body() ? 0 : 1);
    }
    int status = 0;
    waitpid(pid, &status, 0);
    chmod(media.c_str(), 0755);
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}
#endif

TEST_F(ProgressFileTest, ReadOnlyMediaKeepsProgressInTheDataFolder) {
#ifdef _WIN32
    GTEST_SKIP() << "Windows lets a program write into a folder whatever its read-only attribute (only access "
                    "lists refuse, which Wine does not enforce); the one-file game run saves into the data folder";
#else
    write_file(media() / "moredata.txt", progress_file_with("001"));
    const bool saved = in_child_without_write_access(media(), temp_.path() / "data", [&] {
        game::reset_game_state(game_state());
        game::load_progress();
        game_state().progress(7) = 1;
        game::save_progress();
        return fs::exists(data_file());
    });
    ASSERT_TRUE(saved);
    EXPECT_EQ(decipher_progress(read_file(media() / "moredata.txt")), "001") << "Media untouched";
    EXPECT_FALSE(fs::exists(media() / "moredata.txt.new"));

    // The next start reads the data folder's copy first.
    EXPECT_EQ(game::progress_file_path(), data_file().string());
    EXPECT_EQ(loaded_digits(), "00100001" + std::string(43, '0'));
#endif
}

#ifdef _WIN32
TEST(ProgressDataFolder, FollowsTheLocalApplicationData) {
    const char* old_data = std::getenv("LOCALAPPDATA");
    const std::string saved_data = old_data ? old_data : "";
    setenv("LOCALAPPDATA", "C:\\x\\data", 1);
    EXPECT_EQ(game::progress_data_folder(), "C:/x/data/SplitVerse");
    // Without the variable, the user's known folder of that name.
    unsetenv("LOCALAPPDATA");
    const std::string known = game::progress_data_folder();
    EXPECT_EQ(known.find('\\'), std::string::npos) << known;
    EXPECT_TRUE(known.size() > 14 && known.substr(1, 2) == ":/" &&
                known.substr(known.size() - 11) == "/SplitVerse") << known;
    if (old_data) setenv("LOCALAPPDATA", saved_data.c_str(), 1);
}
#else
TEST(ProgressDataFolder, FollowsTheDataHomeThenTheHomeFolder) {
    const char* old_data = std::getenv("XDG_DATA_HOME");
    const char* old_home = std::getenv("HOME");
    const std::string saved_data = old_data ? old_data : "", saved_home = old_home ? old_home : "";
    setenv("XDG_DATA_HOME", "/x/data", 1);
    setenv("HOME", "/x/home", 1);
    EXPECT_EQ(game::progress_data_folder(), "/x/data/SplitVerse");
    unsetenv("XDG_DATA_HOME");
    EXPECT_EQ(game::progress_data_folder(), "/x/home/.local/share/SplitVerse");
    unsetenv("HOME");
    EXPECT_EQ(game::progress_data_folder(), "");
    if (old_data) setenv("XDG_DATA_HOME", saved_data.c_str(), 1);
    if (old_home) setenv("HOME", saved_home.c_str(), 1);
}
#endif

}  // namespace
}  // namespace tvk::game_test
