// A disk that refuses writes: the progress save and the runtime's file channels end
// the program through the runtime's error stop (error code 3, "exit", status 0),
// never with a crash, and the progress saved before stays whole. Before the stop,
// the progress save tells the player which folders it tried and why, in a message
// box and on standard error; the message box service runs a stand-in here that
// prints the box on standard error.
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
#include "runtime/platform/system_ui.h"
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
std::string progress_file_with_rounds(const std::string& digits) {
    return std::string(string_encrypt(game::kProgressKey, digits.c_str()).c_str()) + "\r\n";
}

struct ChildEnd {
    bool exited = false;
    int status = -1;
    std::string out;  // standard output, then the error text at exit
    std::string err;  // standard error
};

std::string read_all(int fd) {
    std::string text;
    char buffer[256];
    ssize_t n;
    while ((n = read(fd, buffer, sizeof buffer)) > 0) text.append(buffer, static_cast<size_t>(n));
    close(fd);
    return text;
}

// Runs body in a child process whose standard output and error are captured; at
// exit the child adds the runtime's error text to its output, so the test sees the
// code the stop ended with.
ChildEnd run_in_child(const std::function<void()>& body) {
    int out[2], err[2];
    if (pipe(out) != 0) return {};
    if (pipe(err) != 0) return {};
    std::fflush(nullptr);
    const pid_t pid = fork();
    if (pid == 0) {
        close(out[0]);
        close(err[0]);
        dup2(out[1], STDOUT_FILENO);
        dup2(err[1], STDERR_FILENO);
        close(out[1]);
        close(err[1]);
        std::atexit([] { std::printf("%s\n", error_text().c_str()); });
        body();
        std::fputs("the body returned\n", stdout);
        std::exit(5);
    }
    close(out[1]);
    close(err[1]);
    ChildEnd end;
    // Both are a few lines, far less than a pipe holds, so one after the other is safe.
    end.out = read_all(out[0]);
    end.err = read_all(err[0]);
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

// A message box stand-in that prints "box: title | text | kind" on standard error.
class FullDiskTest : public ProgressFolderTest {
protected:
    void SetUp() override {
        ProgressFolderTest::SetUp();
        const fs::path box = temp_.path() / "message-box.sh";
        write_file(box, "#!/bin/sh\nprintf 'box: %s | %s | %s\\n' \"$1\" \"$2\" \"$3\" >&2\n");
        // Another user runs it in the tests that drop root.
        chmod(box.c_str(), 0755);
        chmod(temp_.path().c_str(), 0755);
        platform::set_message_box_program(box.string());
    }
    void TearDown() override {
        platform::set_message_box_program("");
        ProgressFolderTest::TearDown();
    }

    // What the player is told, on standard error and in the message box.
    static std::string told(const std::string& text) {
        return text + "\nbox: SplitVerse | " + text + " | warning\n";
    }
};

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
        EXPECT_EQ(end.err, told("SplitVerse could not save your progress in " + media().string() +
                                " (the file could not be written) or in " +
                                (temp_.path() / "data" / "SplitVerse").string() +
                                " (the file could not be written). The game will now close."));
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

// Neither the Media folder nor the data folder can be written (as another user when
// the test runs as root, for whom permission bits refuse nothing): the player is
// told, then the stop; the progress there stays as it was.
TEST_F(FullDiskTest, NoWritableFolderTellsThePlayerThenStops) {
    const fs::path data = temp_.path() / "data";
    const std::string media_part = "SplitVerse could not save your progress in " + media().string();
    const std::string closing = ". The game will now close.";
    const struct {
        const char* what;
        fs::path read_only;  // besides the Media folder
        bool data_folder;
        std::string text;
    } cases[] = {
        {"the data folder is read-only", data / "SplitVerse", true,
         media_part + " (permission denied) or in " + (data / "SplitVerse").string() + " (permission denied)" +
             closing},
        {"the data folder cannot be made", data, true,
         media_part + " (permission denied) or in " + (data / "SplitVerse").string() +
             " (the folder could not be made)" + closing},
        {"no data folder", {}, false, media_part + " (permission denied)" + closing},
    };
    const std::string old_file = progress_file_with_rounds("01");
    write_file(media() / "moredata.txt", old_file);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        fs::remove_all(data);
        fs::create_directories(data);
        if (c.read_only == data / "SplitVerse") fs::create_directories(c.read_only);
        chmod(media().c_str(), 0555);
        if (!c.read_only.empty()) chmod(c.read_only.c_str(), 0555);
        const ChildEnd end = run_in_child([&] {
            if (geteuid() == 0 && (setgid(65534) != 0 || setuid(65534) != 0)) std::exit(6);
            if (!c.data_folder) {
                unsetenv("XDG_DATA_HOME");
                unsetenv("HOME");
            }
            game::reset_game_state(game_state());
            game::load_progress();
            game_state().progress(2) = 1;
            game::save_progress();
        });
        chmod(media().c_str(), 0755);
        if (!c.read_only.empty()) chmod(c.read_only.c_str(), 0755);
        EXPECT_TRUE(end.exited);
        EXPECT_EQ(end.status, 0);
        EXPECT_EQ(end.out, "exit\n0003 no such file\n");
        EXPECT_EQ(end.err, told(c.text));
        EXPECT_EQ(read_file(media() / "moredata.txt"), old_file);
        EXPECT_FALSE(fs::exists(data_file()));
    }
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
