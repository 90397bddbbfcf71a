// The progress save killed at random moments: a child process saves the progress
// over and over through the game's own save, telling the test through a pipe after
// each save that has returned; the test kills it with SIGKILL after a random delay.
// After every kill the progress file must still read back whole, and hold the last
// save the child reported or the one it was in the middle of, never an older one.
//
// Windows has no fork: there the child is this program started again to run a
// child routine, reporting on its standard output, and it is ended with
// TerminateProcess.
#include <gtest/gtest.h>
#ifndef _WIN32
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <random>
#include <sstream>
#include <string>
#include <thread>

#include "game/game_fixture.h"
#include "game/game_state.h"
#include "game/progress_file.h"
#include "support/run_in_child.h"

namespace tvk::game_test {
namespace {

namespace fs = std::filesystem;
using game::game_state;

#ifdef _WIN32
// Starting a process costs far more here than a fork, so fewer kills.
constexpr int kKills = 60;
#else
constexpr int kKills = 200;
#endif
constexpr int32_t kCounterRounds = 40;  // rounds 1..40 hold a save counter in binary

// Save number n is the progress with round r marked when bit r - 1 of n is set.
void set_progress_to(int64_t n) {
    game::reset_game_state(game_state());
    for (int32_t r = 1; r <= kCounterRounds; ++r) game_state().progress(r) = (n >> (r - 1)) & 1;
}

// The save number the file holds; -1 when it does not read back as a whole save.
int64_t saved_number(const fs::path& file) {
    const std::string text = read_file(file);
    if (text.size() < 2 || text.substr(text.size() - 2) != "\r\n") return -1;
    const std::string digits = decipher_progress(text);
    if (digits.size() != 51 || digits[0] != '0') return -1;
    int64_t n = 0;
    for (int32_t r = 1; r <= 50; ++r) {
        if (digits[r] != '0' && digits[r] != '1') return -1;
        if (r > kCounterRounds && digits[r] != '0') return -1;
        if (digits[r] == '1') n |= int64_t{1} << (r - 1);
    }
    return n;
}

constexpr int64_t kStartMark = -1;

#ifdef _WIN32
// Saves first, first + 1, ... until killed, printing a start line and then each
// number once its save has returned.
const bool kSaveRoutine = testing_support::child_routine("save-until-killed", [](const std::string& first) {
    // Like a copy of the game, the child loads the progress first (see below); this
    // child starts with no state of the test's, so it makes its own.
    game::reset_game_state(game::game_state());
    game::load_progress();
    std::printf("%lld\n", static_cast<long long>(kStartMark));
    std::fflush(stdout);
    for (int64_t n = std::stoll(first);; ++n) {
        set_progress_to(n);
        game::save_progress();
        std::printf("%lld\n", static_cast<long long>(n));
        std::fflush(stdout);
    }
    return 0;
});

// The numbers the child has reported so far.
std::vector<int64_t> reports(const std::string& out) {
    std::vector<int64_t> numbers;
    // A line still being written has no line end yet: only whole lines count.
    std::istringstream lines(out.substr(0, out.rfind('\n') + 1));
    std::string line;
    while (std::getline(lines, line)) {
        if (!line.empty() && line != "\r") numbers.push_back(std::stoll(line));
    }
    return numbers;
}
#endif

#ifndef _WIN32
// Saves first, first + 1, ... until killed, writing each number to the pipe once
// its save has returned. Like a copy of the game, the child loads the progress
// first: a save merges with the file, and a round this copy clears counts as
// cleared only against what it has loaded or saved.
[[noreturn]] void save_until_killed(int64_t first, int report_fd) {
    game::load_progress();
    // A start mark first: starting a process can take longer than the kill delay
    // (much longer in the sanitizer build), and kills before the first save prove
    // nothing.
    const int64_t started = kStartMark;
    if (write(report_fd, &started, sizeof started) != sizeof started) _exit(2);
    for (int64_t n = first;; ++n) {
        set_progress_to(n);
        game::save_progress();
        if (write(report_fd, &n, sizeof n) != sizeof n) _exit(2);
    }
}
#endif

using ProgressSaveKilled = ProgressFolderTest;

TEST_F(ProgressSaveKilled, FileAlwaysHoldsTheLastReportedSaveOrTheNext) {
    const fs::path file = media() / game::kProgressFile;

    // How long one save takes here, so the kills spread over several saves.
    const auto t0 = std::chrono::steady_clock::now();
    for (int i = 0; i < 10; ++i) {
        set_progress_to(i);
        game::save_progress();
    }
    const auto save_us =
        std::chrono::duration_cast<std::chrono::microseconds>(std::chrono::steady_clock::now() - t0).count() / 10;
    ASSERT_EQ(saved_number(file), 9);

    const unsigned seed = std::random_device{}();
    SCOPED_TRACE("seed " + std::to_string(seed) + ", one save " + std::to_string(save_us) + " us");
    std::mt19937 random(seed);
    // The time one save takes in the child, kept up to date from the gaps between its
    // reports: under load (parallel tests, the sanitizer build) a save with its two
    // fsyncs can take ten times what it took above, and a fixed delay would then kill
    // most children before their first save had returned.
    double save_estimate_us = static_cast<double>(save_us);

    int64_t on_disk = 9;
    int kills_with_saves = 0;
    for (int kill_no = 0; kill_no < kKills; ++kill_no) {
#ifdef _WIN32
        testing_support::StartedChild* child =
            testing_support::start_child_routine("save-until-killed", std::to_string(on_disk + 1));
        ASSERT_NE(child, nullptr);
        // Waits (bounded) until the child has reported count numbers.
        const auto wait_for_reports = [&](size_t count) {
            const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
            std::vector<int64_t> got = reports(testing_support::output_so_far(child));
            while (got.size() < count && std::chrono::steady_clock::now() < deadline) {
                std::this_thread::sleep_for(std::chrono::microseconds(200));
                got = reports(testing_support::output_so_far(child));
            }
            return got;
        };
        const std::vector<int64_t> started = wait_for_reports(1);
        ASSERT_FALSE(started.empty());
        ASSERT_EQ(started[0], kStartMark);
        int64_t reported = on_disk;
        auto last = std::chrono::steady_clock::now();
        for (int waited = 0; waited < kill_no % 4; ++waited) {
            const std::vector<int64_t> got = wait_for_reports(static_cast<size_t>(waited) + 2);
            ASSERT_GE(got.size(), static_cast<size_t>(waited) + 2);
            reported = got.back();
            const auto now = std::chrono::steady_clock::now();
            const double gap = std::chrono::duration<double, std::micro>(now - last).count();
            save_estimate_us = 0.8 * save_estimate_us + 0.2 * gap;
            last = now;
        }
        std::uniform_real_distribution<double> delay_us(0, 1.5 * save_estimate_us);
        std::this_thread::sleep_for(std::chrono::microseconds(static_cast<int64_t>(delay_us(random))));
        testing_support::kill_child(child);
        const testing_support::ChildResult end = testing_support::finish_child(child);
        for (const int64_t n : reports(end.out)) {
            if (n != kStartMark) reported = n;
        }
        if (reported > on_disk) ++kills_with_saves;
#else
        int report[2];
        ASSERT_EQ(pipe(report), 0);
        const pid_t child = fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            close(report[0]);
            save_until_killed(on_disk + 1, report[1]);
        }
        close(report[1]);
        int64_t mark = 0;
        ASSERT_EQ(read(report[0], &mark, sizeof mark), static_cast<ssize_t>(sizeof mark));
        ASSERT_EQ(mark, kStartMark);
        // Let 0 to 3 saves return first, so kills land in the first save as well as
        // after completed ones, then kill at a random moment of the save under way.
        int64_t reported = on_disk;
        auto last = std::chrono::steady_clock::now();
        for (int waited = 0; waited < kill_no % 4; ++waited) {
            ASSERT_EQ(read(report[0], &reported, sizeof reported), static_cast<ssize_t>(sizeof reported));
            const auto now = std::chrono::steady_clock::now();
            const double gap = std::chrono::duration<double, std::micro>(now - last).count();
            save_estimate_us = 0.8 * save_estimate_us + 0.2 * gap;
            last = now;
        }
        std::uniform_real_distribution<double> delay_us(0, 1.5 * save_estimate_us);
        usleep(static_cast<useconds_t>(delay_us(random)));
        kill(child, SIGKILL);
        int status = 0;
        waitpid(child, &status, 0);

        int64_t n = 0;
        while (read(report[0], &n, sizeof n) == sizeof n) reported = n;
        close(report[0]);
        if (reported > on_disk) ++kills_with_saves;

#endif

        const int64_t now = saved_number(file);
        ASSERT_GE(now, 0) << "kill " << kill_no << ": the file does not read back whole";
        ASSERT_GE(now, reported) << "kill " << kill_no << ": the file lost a completed save";
        ASSERT_LE(now, reported + 1) << "kill " << kill_no << ": a save that never began";
        on_disk = now;
    }
    // Three kills in four came after completed saves, by the waits above.
    EXPECT_GE(kills_with_saves, kKills / 2);

    // The next save after all that (by a copy started now) works and leaves
    // nothing beside the file.
    game::load_progress();
    set_progress_to(on_disk + 1);
    game::save_progress();
    EXPECT_EQ(saved_number(file), on_disk + 1);
    EXPECT_FALSE(fs::exists(media() / "moredata.txt.new"));
}

}  // namespace
}  // namespace tvk::game_test
