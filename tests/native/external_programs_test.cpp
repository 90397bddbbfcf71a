#include "runtime/native/external_programs.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <string>
#include <thread>
#include <vector>

#include "runtime/native/command_line.h"
#include "runtime/native/native_hooks.h"
#include "support/temp_dir.h"
#include "support/test_env.h"

namespace tvk {
namespace {

using testing_support::TempDir;

// Waits (bounded) until the stand-in opener has written its record.
std::string wait_for_record(const TempDir& dir) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    std::string text;
    while (std::chrono::steady_clock::now() < deadline) {
        text = dir.read("record.txt");
        if (!text.empty() && text.back() == '\n') break;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return text;
}

int32_t escape_does_not_end() { return 0; }

int g_leave_fullscreen_calls = 0;
int g_activate_calls = 0;
void count_leave_fullscreen() { ++g_leave_fullscreen_calls; }
void count_activate() { ++g_activate_calls; }

// Puts the stand-in opener first on PATH and points its record into a fresh folder.
class ExternalProgramsTest : public ::testing::Test {
protected:
    void SetUp() override {
        old_path_ = std::getenv("PATH") ? std::getenv("PATH") : "";
#ifdef _WIN32
        const char* separator = ";";
#else
        const char* separator = ":";
#endif
        setenv("PATH", (std::string(TVK_STAND_IN_OPENER_DIR) + separator + old_path_).c_str(), 1);
        setenv("TVK_OPENER_RECORD", dir_.file("record.txt").c_str(), 1);
        native_hooks() = NativeHooks{};
    }
    void TearDown() override {
        setenv("PATH", old_path_.c_str(), 1);
        unsetenv("TVK_OPENER_RECORD");
        unsetenv("TVK_OPENER_STATUS");
        native_hooks() = NativeHooks{};
    }
    TempDir dir_;
    std::string old_path_;
};

TEST(CommandLine, SplitsWordsWithQuotesAndBackslashes) {
    const struct {
        const char* text;
        std::vector<std::string> words;
    } cases[] = {
        {"", {}},
        {"  \t ", {}},
        {"prog", {"prog"}},
        {"  prog   a\tb  ", {"prog", "a", "b"}},
        {"prog \"two words\" x", {"prog", "two words", "x"}},
        {"prog a\"b c\"d", {"prog", "ab cd"}},
        {"prog \"\" end", {"prog", "", "end"}},
        {"prog \"say \"\"hi\"\"\"", {"prog", "say \"hi\""}},
        {"C:\\dir\\prog.exe a\\b", {"C:\\dir\\prog.exe", "a\\b"}},
        {"prog a\\\"b", {"prog", "a\"b"}},
        {"prog \"a\\\\\" b", {"prog", "a\\", "b"}},
        {"prog \"unclosed group", {"prog", "unclosed group"}},
    };
    for (const auto& c : cases) EXPECT_EQ(split_command_line(c.text), c.words) << c.text;
    EXPECT_TRUE(split_command_line(nullptr).empty());
}

// A command that ends with status 3.
#ifdef _WIN32
constexpr const char* kExitThree = "cmd /c exit 3";
#else
constexpr const char* kExitThree = "sh -c \"exit 3\"";
#endif

TEST_F(ExternalProgramsTest, WaitingStoresTheExitCode) {
    double exit_code = -1;
    EXPECT_EQ(run_process(RtString(kExitThree), 1, 1, exit_code), 1);
    EXPECT_EQ(exit_code, 3.0);
#ifndef _WIN32
    EXPECT_EQ(run_process(RtString("sh -c \"kill -9 $$\""), 1, 0, exit_code), 1);
    EXPECT_EQ(exit_code, 128.0 + 9);
#endif
}

TEST_F(ExternalProgramsTest, WithoutWaitingTheExitCodeStaysZero) {
    double exit_code = -1;
    EXPECT_EQ(run_process(RtString(kExitThree), 0, 1, exit_code), 1);
    EXPECT_EQ(exit_code, 0.0);
}

TEST_F(ExternalProgramsTest, ArgumentsReachTheChildAsSplit) {
    double exit_code = -1;
    setenv("TVK_OPENER_STATUS", "7", 1);
    ASSERT_EQ(run_process(RtString("xdg-open \"two words\" plain \"q\\\"uote\""), 1, 0, exit_code), 1);
    EXPECT_EQ(exit_code, 7.0);
    EXPECT_EQ(dir_.read("record.txt"), "two words\nplain\nq\"uote\n");
}

TEST_F(ExternalProgramsTest, CommandThatCannotStartGivesZero) {
    for (const char* command : {"/no/such/program", "tvk-no-such-program-anywhere arg", "", "   "}) {
        double exit_code = -1;
        EXPECT_EQ(run_process(RtString(command), 1, 1, exit_code), 0) << command;
        EXPECT_EQ(exit_code, 0.0) << command;
    }
}

TEST_F(ExternalProgramsTest, LeavesFullscreenAndActivatesTheWindowEitherWay) {
    native_hooks().leave_fullscreen = count_leave_fullscreen;
    native_hooks().activate_main_window = count_activate;
    g_leave_fullscreen_calls = g_activate_calls = 0;
    double exit_code = 0;
    run_process(RtString("sh -c true"), 1, 1, exit_code);
    run_process(RtString("/no/such/program"), 1, 1, exit_code);
    EXPECT_EQ(g_leave_fullscreen_calls, 2);
    EXPECT_EQ(g_activate_calls, 2);
}

TEST_F(ExternalProgramsTest, OpenDocumentHandsThePathToTheOpener) {
#ifdef _WIN32
    GTEST_SKIP() << "Windows opens documents through the shell (ShellExecuteExW), where no stand-in opener "
                    "can take the place of the desktop's";
#endif
    native_hooks().escape_ends = escape_does_not_end;
    open_document(RtString("C:\\docs\\read me.txt"));
    EXPECT_EQ(wait_for_record(dir_), "C:/docs/read me.txt\n");
}

TEST_F(ExternalProgramsTest, OpenDocumentEndsTheProgramWhileEscapeEnds) {
#ifdef _WIN32
    GTEST_SKIP() << "Windows opens documents through the shell (ShellExecuteExW), where no stand-in opener "
                    "can take the place of the desktop's";
#endif
    EXPECT_EXIT(open_document(RtString("https://example.invalid/page")), testing::ExitedWithCode(0), "");
    EXPECT_EQ(wait_for_record(dir_), "https://example.invalid/page\n");
}

}  // namespace
}  // namespace tvk
