// A disk that refuses writes: the progress save and the runtime's file channels end
// the program through the runtime's error stop (error code 3, "exit", status 0),
// never with a crash, and the progress saved before stays whole.
//
// The refusals are real ones from the system: a file size limit of a few bytes
// (with SIGXFSZ ignored, so the write fails with EFBIG instead of killing the
// process) and the /dev/full device, on which every write fails with ENOSPC. The
// tests run as root, for whom permission bits refuse nothing.
//
// Opening a channel for writing deletes a file of that name first; a device or a
// pipe is opened as it is instead (deleting /dev/full as root would take it from the
// whole machine), which a pipe shows before /dev/full is ever opened that way.
#include <gtest/gtest.h>
#ifndef _WIN32
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <string>

#include "game/game_fixture.h"
#include "game/game_state.h"
#include "game/progress_file.h"
#include "runtime/files/channels.h"
#include "runtime/value/error_state.h"
#include "runtime/value/program_settings.h"
#include "support/temp_dir.h"
#include "support/test_env.h"

namespace tvk::game_test {
namespace {

namespace fs = std::filesystem;
using game::game_state;

#ifdef _WIN32
// The refusals these tests need are Linux's: a cap on file sizes (setrlimit), a named
// pipe (mkfifo) and /dev/full. Windows has none of them.
using FullDiskTest = ProgressFolderTest;

TEST_F(FullDiskTest, ProgressSaveStopsWithTheErrorReportAndKeepsTheOldFile) {
    GTEST_SKIP() << "needs a cap on the bytes a process may write (setrlimit), which Windows has not";
}

TEST_F(FullDiskTest, WritingOnAPipeKeepsThePipe) {
    GTEST_SKIP() << "Windows has no named pipes in the file system (mkfifo)";
}

TEST_F(FullDiskTest, ChannelWritesToAFullDeviceStopWithErrorCodeThree) {
    GTEST_SKIP() << "Windows has no always-full device (/dev/full)";
}
#else
struct ChildEnd {
    bool exited = false;
    int status = -1;
    std::string out;  // standard output, then the error text at exit
};

// Runs body in a child process whose standard output is captured; at exit the child
// adds the runtime's error text, so the test sees the code the stop ended with.
ChildEnd run_in_child(const std::function<void()>& body) {
    int out[2];
    if (pipe(out) != 0) return {};
    std::fflush(nullptr);
    const pid_t pid = fork();
    if (pid == 0) {
        close(out[0]);
        dup2(out[1], STDOUT_FILENO);
        close(out[1]);
        std::atexit([] { std::printf("%s\n", error_text().c_str()); });
        body();
        std::fputs("the body returned\n", stdout);
        std::exit(5);
    }
    close(out[1]);
    ChildEnd end;
    char buffer[256];
    ssize_t n;
    while ((n = read(out[0], buffer, sizeof buffer)) > 0) end.out.append(buffer, static_cast<size_t>(n));
    close(out[0]);
    int status = 0;
    waitpid(pid, &status, 0);
    end.exited = WIFEXITED(status);
    end.status = end.exited ? WEXITSTATUS(status) : -WTERMSIG(status);
    return end;
}

void limit_file_size(rlim_t bytes) {
    signal(SIGXFSZ, SIG_IGN);
    const rlimit limit{bytes, bytes};
    setrlimit(RLIMIT_FSIZE, &limit);
}

using FullDiskTest = ProgressFolderTest;

// The progress line is 112 hex digits and a CR LF: limits inside the digits, at the
// CR and at the LF, and none at all.
TEST_F(FullDiskTest, ProgressSaveStopsWithTheErrorReportAndKeepsTheOldFile) {
    game::reset_game_state(game_state());
    game_state().progress(1) = 1;
    game::save_progress();
    const std::string old_file = read_file(media() / "moredata.txt");
    ASSERT_EQ(old_file.size(), 114u);

    for (const rlim_t limit : {rlim_t{0}, rlim_t{8}, rlim_t{112}, rlim_t{113}}) {
        SCOPED_TRACE("file size limit " + std::to_string(limit));
        const ChildEnd end = run_in_child([&] {
            limit_file_size(limit);
            game::reset_game_state(game_state());
            game::load_progress();
            game_state().progress(2) = 1;
            game::save_progress();
        });
        EXPECT_TRUE(end.exited);
        EXPECT_EQ(end.status, 0);
        EXPECT_EQ(end.out, "exit\n0003 no such file\n");
        EXPECT_EQ(read_file(media() / "moredata.txt"), old_file);
        EXPECT_FALSE(fs::exists(data_file()))
            << "a failed write is not a reason to move the progress";
    }

    // Room again: the next save goes through and replaces the half-written file beside.
    game::reset_game_state(game_state());
    game::load_progress();
    EXPECT_EQ(game_state().progress(1), 1);
    game_state().progress(2) = 1;
    game::save_progress();
    EXPECT_EQ(decipher_progress(read_file(media() / "moredata.txt")), "011" + std::string(48, '0'));
    EXPECT_FALSE(fs::exists(media() / "moredata.txt.new"));
}

// Opens a pipe made in folder on a channel for writing; true when the pipe is
// still a pipe afterwards.
bool pipe_survives_a_write_open(const fs::path& folder) {
    const fs::path pipe_path = folder / "pipe";
    fs::remove(pipe_path);
    if (mkfifo(pipe_path.c_str(), 0600) != 0 || channel_open(2, pipe_path.c_str(), 0) != 1) return false;
    channel_close(2);
    struct stat info {};
    return lstat(pipe_path.c_str(), &info) == 0 && S_ISFIFO(info.st_mode);
}

// Opening a channel for writing replaces a file of that name, but a device or a
// pipe is written as it is: deleting it would take it from every other program.
TEST_F(FullDiskTest, WritingOnAPipeKeepsThePipe) { EXPECT_TRUE(pipe_survives_a_write_open(temp_.path())); }

// Every kind of channel write to a device that is always full, opened for writing
// and for appending; with debug mode on, the stop also leaves its end-of-program
// lines in the trace file.
TEST_F(FullDiskTest, ChannelWritesToAFullDeviceStopWithErrorCodeThree) {
    struct stat info {};
    if (stat("/dev/full", &info) != 0 || !S_ISCHR(info.st_mode)) GTEST_SKIP() << "no /dev/full here";
    // Run as root, a write-open that deleted what it opens would delete the device.
    ASSERT_TRUE(pipe_survives_a_write_open(temp_.path())) << "/dev/full stays out of this";
    const struct {
        const char* name;
        std::function<void()> write;
    } writes[] = {
        {"line", [] { channel_write_line(2, RtString("progress")); }},
        {"empty line", [] { channel_write_line(2, RtString()); }},
        {"bytes", [] { channel_write_bytes(2, RtString("abc")); }},
        {"double", [] { channel_write_value(2, ChannelValueType::kFloat64, 1.5); }},
        {"byte", [] { channel_write_value(2, ChannelValueType::kUnsignedByte, 7); }},
    };
    const fs::path trace = temp_.path() / "ErrorLog.txt";
    for (const int32_t mode : {-1, 0}) {
        for (const auto& w : writes) {
            SCOPED_TRACE(std::string(w.name) + (mode == 0 ? ", opened for writing" : ", opened for appending"));
            fs::remove(trace);
            const ChildEnd end = run_in_child([&] {
                setenv(testing_support::kTempFolderVariable, temp_.path().string().c_str(), 1);
                runtime_settings().debug_mode = 1;
                if (channel_open(2, "/dev/full", mode) == 0) std::exit(6);
                w.write();
            });
            EXPECT_TRUE(end.exited);
            EXPECT_EQ(end.status, 0);
            EXPECT_EQ(end.out, "exit\n0003 no such file\n");
            EXPECT_EQ(read_file(trace), "-End On Line\n3\n-1\n0\n0\n");
        }
    }
    ASSERT_EQ(stat("/dev/full", &info), 0) << "the device is still there";
    EXPECT_TRUE(S_ISCHR(info.st_mode));
}
#endif

}  // namespace
}  // namespace tvk::game_test
