// Two copies of the game saving at once: two child processes, started together,
// each complete their own rounds (one the odd, one the even ones) and save after
// each, over several passes with a reset between them. Before and after every
// save a copy reads the file back: the rounds it has completed in this pass must
// be there, so a save of the other copy that wrote over them shows at once. At the
// end the file holds every round.
#include <gtest/gtest.h>
#ifndef _WIN32
#include <sys/wait.h>
#include <unistd.h>
#endif

#include <chrono>
#include <cstdint>
#include <functional>
#include <string>
#include <thread>

#include "game/game_fixture.h"
#include "game/game_state.h"
#include "game/progress_file.h"
#include "runtime/platform/files.h"
#include "support/run_in_child.h"

namespace tvk::game_test {
namespace {

using game::game_state;

constexpr int kPasses = 3;
constexpr int kSavesPerRound = 2;

// True when the file holds the copy's rounds first_round, first_round + 2, ... up
// to last (none when last comes before first_round).
bool file_holds(int32_t first_round, int32_t last) {
    if (last < first_round) return true;
#ifdef _WIN32
    // Windows opens the runtime's files without sharing, so a reader that held the
    // file while the other copy's save read it would make that save see no file.
    // The reader takes the save lock, as the saves do.
    platform::File* lock = platform::open_file(
        std::string(game::kProgressFile) + ".lock",
        {.access = platform::FileAccess::kReadWrite, .creation = platform::FileCreation::kOpenOrCreate});
    if (!lock || !platform::lock_file_exclusive(lock, true)) return false;
    const std::string text = read_file(game::kProgressFile);
    platform::unlock_file(lock);
    platform::close_file(lock);
#else
    const std::string text = read_file(game::kProgressFile);
#endif
    const std::string digits = decipher_progress(text);
    if (digits.size() != 51) return false;
    for (int32_t r = first_round; r <= last; r += 2) {
        if (digits[static_cast<size_t>(r)] != '1') return false;
    }
    return true;
}

// The exit status says what went wrong: 0 all saves kept, 1 a round was lost,
// 2 the start signal never came.
int play_copy(int32_t first_round, const std::function<bool()>& wait_for_start) {
    // Both load the progress (none yet) before either saves.
    game::reset_game_state(game_state());
    game::load_progress();
    if (!wait_for_start()) return 2;
    for (int pass = 0; pass < kPasses; ++pass) {
        // The reset of the options screen: memory only.
        for (int32_t r = 1; r <= 50; ++r) game_state().progress(r) = 0;
        for (int32_t r = first_round; r <= 50; r += 2) {
            game_state().progress(r) = 1;
            for (int s = 0; s < kSavesPerRound; ++s) {
                // What this copy saved before, the other copy's saves since kept.
                if (!file_holds(first_round, r - 2)) {
                    std::fprintf(stderr, "round %d missing before a save\n", r - 2);
                    return 1;
                }
                game::save_progress();
                if (!file_holds(first_round, r)) {
                    std::fprintf(stderr, "round %d missing after its save\n", r);
                    return 1;
                }
            }
        }
    }
    return 0;
}

#ifdef _WIN32
// Windows has no fork: each copy is this program started again, in the test's
// Media folder. It says "ready" once it has loaded the progress and starts saving
// when the file named by the argument appears.
const bool kCopyRoutine = testing_support::child_routine("play-copy", [](const std::string& argument) {
    const size_t space = argument.find(' ');
    const int32_t first_round = std::stoi(argument.substr(0, space));
    const std::string go_file = argument.substr(space + 1);
    return play_copy(first_round, [&] {
        std::printf("ready\n");
        std::fflush(stdout);
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
        while (std::chrono::steady_clock::now() < deadline) {
            if (std::filesystem::exists(go_file)) return true;
            std::this_thread::sleep_for(std::chrono::microseconds(200));
        }
        return false;
    });
});
#endif

using ProgressTwoCopies = ProgressFolderTest;

TEST_F(ProgressTwoCopies, NeitherLosesTheRoundsOfTheOther) {
    const char* const endings[] = {"kept every round", "lost a round it had saved", "never started"};
#ifdef _WIN32
    const std::string go_file = (temp_.path() / "go").generic_string();
    testing_support::StartedChild* copies[2];
    for (int32_t c = 0; c < 2; ++c) {
        copies[c] = testing_support::start_child_routine("play-copy", std::to_string(c + 1) + " " + go_file);
        ASSERT_NE(copies[c], nullptr);
    }
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
    for (int32_t c = 0; c < 2; ++c) {
        while (testing_support::output_so_far(copies[c]).find("ready") == std::string::npos &&
               std::chrono::steady_clock::now() < deadline) {
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
    }
    write_file(go_file, "");  // both start now
    for (int32_t c = 0; c < 2; ++c) {
        const testing_support::ChildResult result = testing_support::finish_child(copies[c]);
        ASSERT_TRUE(result.exited) << "copy " << c + 1 << " crashed";
        EXPECT_STREQ(endings[result.status % 3], endings[0]) << "copy " << c + 1 << ": " << result.err;
    }
#else
    int start[2];
    ASSERT_EQ(pipe(start), 0);
    pid_t copies[2];
    for (int32_t c = 0; c < 2; ++c) {
        copies[c] = fork();
        ASSERT_GE(copies[c], 0);
        if (copies[c] == 0) {
            close(start[1]);
            _exit(play_copy(c + 1, [&] {
                char go = 0;
                return read(start[0], &go, 1) == 0;
            }));
        }
    }
    close(start[0]);
    close(start[1]);  // both start now
    for (int32_t c = 0; c < 2; ++c) {
        int status = 0;
        waitpid(copies[c], &status, 0);
        ASSERT_TRUE(WIFEXITED(status)) << "copy " << c + 1 << " crashed";
        EXPECT_STREQ(endings[WEXITSTATUS(status) % 3], endings[0]) << "copy " << c + 1;
    }
#endif
    EXPECT_EQ(decipher_progress(read_file(media() / game::kProgressFile)), "0" + std::string(50, '1'));
}

}  // namespace
}  // namespace tvk::game_test
