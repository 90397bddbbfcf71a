#include "runtime/value/error_state.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "runtime/value/program_settings.h"
#include "support/temp_dir.h"
#include "support/run_in_child.h"

namespace tvk {
namespace {

using testing_support::ChildOptions;
using testing_support::ChildResult;
using testing_support::kBodyReturned;
using testing_support::run_in_child;
using testing_support::TempDir;

TEST(ErrorState, TextShowsFourDigitCodeAndItsText) {
    const struct {
        int32_t code;
        const char* text;
    } cases[] = {
        {0, "0000 success"},      {3, "0003 no such file"}, {7, "0007 out of memory"},
        {8, "0008 unknown error"}, {9, "0009 out of bounds"}, {20, "0020 out of data"},
        {21, "0021 unknown error"}, {12345, "12345 unknown error"},
    };
    for (const auto& c : cases) {
        set_error(c.code);
        EXPECT_STREQ(error_text().c_str(), c.text) << c.code;
    }
    clear_error();
    EXPECT_STREQ(error_text().c_str(), "0000 success");
}

TEST(ErrorState, SetErrorCapturesTheAnnouncedLine) {
    set_position(2, 40);
    set_error(kErrNoSuchFile);
    set_position(2, 41);
    EXPECT_EQ(error_state().error_line, 40);
    clear_error();
    EXPECT_EQ(error_state().code, 0);
    EXPECT_EQ(error_state().error_line, 40);
    set_position(0, 0);
}

// The stop in a child process: TMPDIR points at a fresh folder so the trace file
// (ErrorLog.txt) can be read back.
struct StopRun {
    TempDir tmp;
    ChildResult result;
    std::string trace() const { return tmp.read("ErrorLog.txt"); }
    bool trace_exists() const { return std::filesystem::exists(tmp.file("ErrorLog.txt")); }
};

void run_stop(StopRun& run, int32_t debug_mode, const std::function<void()>& body) {
    run.result = run_in_child(
        [&] {
            runtime_settings().debug_mode = debug_mode;
            body();
        },
        ChildOptions{run.tmp.path().string(), false});
}

TEST(ErrorStop, EndProgramPrintsExitAndEndsWithStatusZero) {
    StopRun run;
    run_stop(run, 0, [] {
        set_error(kErrNoSuchFile);
        end_program();
    });
    EXPECT_TRUE(run.result.exited);
    EXPECT_EQ(run.result.status, 0);
    EXPECT_EQ(run.result.out, "exit\n");
    EXPECT_EQ(run.result.err, "");
    EXPECT_FALSE(run.trace_exists()) << "debug mode off writes no trace";
}

TEST(ErrorStop, DebugModeAppendsFiveTraceLines) {
    StopRun run;
    run.tmp.write("ErrorLog.txt", "start-up line\n");
    run_stop(run, 1, [] {
        set_position(3, 120);
        set_error(kErrOutOfData);
        set_position(3, 125);
        runtime_stop();
    });
    EXPECT_EQ(run.result.status, 0);
    EXPECT_EQ(run.result.out, "exit\n");
    EXPECT_EQ(run.trace(), "start-up line\n-End On Line\n20\n119\n125\n3\n");
}

TEST(ErrorStop, FailedAssertionStopsWithCode21) {
    StopRun run;
    run_stop(run, 1, [] {
        assert_true(1);
        std::fputs("passed\n", stdout);
        assert_true(0);
    });
    EXPECT_EQ(run.result.status, 0);
    EXPECT_EQ(run.result.out, "passed\nexit\n");
    EXPECT_EQ(run.result.err, "") << "no debugger: the assertion text goes nowhere";
    EXPECT_EQ(run.trace(), "-End On Line\n21\n-1\n0\n0\n");
}

void stop_again_during_exit() {
    set_error(kErrOutOfBounds);
    runtime_stop();
    std::fputs("second stop returned\n", stdout);
}

TEST(ErrorStop, SecondStopReturnsToItsCaller) {
    StopRun run;
    run_stop(run, 1, [] {
        // Runs while the first stop is ending the process.
        std::atexit(stop_again_during_exit);
        set_error(kErrOutOfData);
        runtime_stop();
    });
    EXPECT_TRUE(run.result.exited);
    EXPECT_EQ(run.result.status, 0);
    EXPECT_EQ(run.result.out, "exit\nsecond stop returned\n");
    EXPECT_EQ(run.trace(), "-End On Line\n20\n-1\n0\n0\n") << "one stop, one set of lines";
}

TEST(ErrorStop, ExitStatusStaysZeroWhenStandardOutputIsGone) {
#ifdef _WIN32
    const ChildResult gone = run_in_child([] { end_program(); }, ChildOptions{.tmpdir = "", .traced = false, .output_gone = true});
    EXPECT_TRUE(gone.exited);
    EXPECT_EQ(gone.status, 0);
#else
    int fds[2];
    ASSERT_EQ(pipe(fds), 0);
    std::fflush(nullptr);
    const pid_t pid = fork();
    if (pid == 0) {
        close(fds[0]);
        dup2(fds[1], STDOUT_FILENO);
        end_program();
        _exit(kBodyReturned);
    }
    close(fds[0]);
    close(fds[1]);
    int status = 0;
    ASSERT_EQ(waitpid(pid, &status, 0), pid);
    ASSERT_TRUE(WIFEXITED(status)) << "ended by signal " << WTERMSIG(status);
    EXPECT_EQ(WEXITSTATUS(status), 0);
#endif
}

TEST(DebugChannel, ReachesOnlyAnAttachedDebugger) {
    const auto write_both = [] {
        debug_output(RtString("hello\n"));
        print_err(RtString("plain\n"));
    };
    const ChildResult alone = run_in_child(write_both);
    EXPECT_EQ(alone.status, kBodyReturned);
    EXPECT_EQ(alone.err, "plain\n");

    const ChildResult traced = run_in_child(write_both, ChildOptions{"", true});
    if (traced.status == 98) GTEST_SKIP() << "this system does not allow tracing a child";
    EXPECT_EQ(traced.status, kBodyReturned);
#ifdef _WIN32
    // The debugger gets the text through the system; standard error only its own.
    EXPECT_EQ(traced.debugger, "TXhello\n");
    EXPECT_EQ(traced.err, "plain\n");
#else
    EXPECT_EQ(traced.err, "TXhello\nplain\n");
#endif
}

}  // namespace
}  // namespace tvk
