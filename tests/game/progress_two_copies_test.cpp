// Two copies of the game saving at once: two child processes, started together,
// each complete their own rounds (one the odd, one the even ones) and save after
// each, over several passes with a reset between them. Before and after every
// save a copy reads the file back: the rounds it has completed in this pass must
// be there, so a save of the other copy that wrote over them shows at once. At the
// end the file holds every round.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdint>
#include <string>

#include "game/game_fixture.h"
#include "game/game_state.h"
#include "game/progress_file.h"

namespace tvk::game_test {
namespace {

using game::game_state;

constexpr int kPasses = 3;
constexpr int kSavesPerRound = 2;

// True when the file holds the copy's rounds first_round, first_round + 2, ... up
// to last (none when last comes before first_round).
bool file_holds(int32_t first_round, int32_t last) {
    if (last < first_round) return true;
    const std::string digits = decipher_progress(read_file(game::kProgressFile));
    if (digits.size() != 51) return false;
    for (int32_t r = first_round; r <= last; r += 2) {
        if (digits[static_cast<size_t>(r)] != '1') return false;
    }
    return true;
}

// The exit status says what went wrong: 0 all saves kept, 1 a round was lost,
// 2 the start signal never came.
[[noreturn]] void play_copy(int32_t first_round, int start_fd) {
    // Both load the progress (none yet) before either saves.
    game::reset_game_state(game_state());
    game::load_progress();
    char go = 0;
    if (read(start_fd, &go, 1) != 0) _exit(2);
    for (int pass = 0; pass < kPasses; ++pass) {
        // The reset of the options screen: memory only.
        for (int32_t r = 1; r <= 50; ++r) game_state().progress(r) = 0;
        for (int32_t r = first_round; r <= 50; r += 2) {
            game_state().progress(r) = 1;
            for (int s = 0; s < kSavesPerRound; ++s) {
                // What this copy saved before, the other copy's saves since kept.
                if (!file_holds(first_round, r - 2)) _exit(1);
                game::save_progress();
                if (!file_holds(first_round, r)) _exit(1);
            }
        }
    }
    _exit(0);
}

using ProgressTwoCopies = ProgressFolderTest;

TEST_F(ProgressTwoCopies, NeitherLosesTheRoundsOfTheOther) {
    int start[2];
    ASSERT_EQ(pipe(start), 0);
    pid_t copies[2];
    for (int32_t c = 0; c < 2; ++c) {
        copies[c] = fork();
        ASSERT_GE(copies[c], 0);
        if (copies[c] == 0) {
            close(start[1]);
            play_copy(c + 1, start[0]);
        }
    }
    close(start[0]);
    close(start[1]);  // both start now
    const char* const endings[] = {"kept every round", "lost a round it had saved", "never started"};
    for (int32_t c = 0; c < 2; ++c) {
        int status = 0;
        waitpid(copies[c], &status, 0);
        ASSERT_TRUE(WIFEXITED(status)) << "copy " << c + 1 << " crashed";
        EXPECT_STREQ(endings[WEXITSTATUS(status) % 3], endings[0]) << "copy " << c + 1;
    }
    EXPECT_EQ(decipher_progress(read_file(media() / game::kProgressFile)), "0" + std::string(50, '1'));
}

}  // namespace
}  // namespace tvk::game_test
