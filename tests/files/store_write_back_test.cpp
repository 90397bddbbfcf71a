// The numbered-line and settings stores write their file back whole: on a disk that
// refuses the write (a file size limit of a few bytes, with SIGXFSZ ignored so the
// write fails instead of killing the process) the old file stays as it was and
// nothing is left beside it; with room the new text replaces it. Also the rules of
// the whole-file write itself: a file held open on a channel is left alone, a
// memory-file name is refused, an empty directory of that name is replaced.
#include <gtest/gtest.h>
#ifndef _WIN32
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

#include <filesystem>
#include <functional>
#include <string>

#include "runtime/files/channels.h"
#include "runtime/files/ini_store.h"
#include "runtime/files/line_store.h"
#include "runtime/files/whole_file_write.h"
#include "support/temp_dir.h"

namespace tvk {
namespace {

namespace fs = std::filesystem;

#ifndef _WIN32
// Runs body in a child process that may write no more than limit bytes into any
// file; true when the child ended normally.
bool in_child_with_file_limit(rlim_t limit, const std::function<void()>& body) {
    const pid_t pid = fork();
    if (pid == 0) {
        signal(SIGXFSZ, SIG_IGN);
        const rlimit r{limit, limit};
        setrlimit(RLIMIT_FSIZE, &r);
        body();
        _exit(0);
    }
    int status = 0;
    waitpid(pid, &status, 0);
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}
#endif

constexpr const char* kNoFileLimit = "needs a cap on the bytes a process may write (setrlimit), which Windows has not";

TEST(StoreWriteBack, ARefusedWriteKeepsTheOldLines) {
#ifdef _WIN32
    GTEST_SKIP() << kNoFileLimit;
#else
    testing_support::TempDir temp;
    const std::string file = temp.write("scores.txt", "alpha\r\nbeta\r\ngamma\r\n");
    EXPECT_STREQ(line_store_read(file.c_str(), 1).c_str(), "beta");
    line_store_write(file.c_str(), 4, RtString("delta"));
    for (const rlim_t limit : {rlim_t{0}, rlim_t{4}, rlim_t{20}}) {
        ASSERT_TRUE(in_child_with_file_limit(limit, [] { write_back_line_store(); })) << limit;
        EXPECT_EQ(temp.read("scores.txt"), "alpha\r\nbeta\r\ngamma\r\n") << limit;
        EXPECT_FALSE(fs::exists(file + ".new")) << limit;
    }
    write_back_line_store();
    EXPECT_EQ(temp.read("scores.txt"), "alpha\r\nbeta\r\ngamma\r\n\r\ndelta\r\n");
    EXPECT_FALSE(fs::exists(file + ".new"));
#endif
}

TEST(StoreWriteBack, ARefusedWriteKeepsTheOldSettings) {
#ifdef _WIN32
    GTEST_SKIP() << kNoFileLimit;
#else
    testing_support::TempDir temp;
    const std::string file = temp.write("settings.ini", "[video]\r\nwidth=640\r\n");
    ini_open(file.c_str());
    ini_put("video", "height", "480");
    ASSERT_TRUE(in_child_with_file_limit(8, [] { write_back_ini_store(); }));
    EXPECT_EQ(temp.read("settings.ini"), "[video]\r\nwidth=640\r\n");
    EXPECT_FALSE(fs::exists(file + ".new"));
    write_back_ini_store();
    EXPECT_EQ(temp.read("settings.ini"), "[video]\r\nwidth=640\r\nheight=480\r\n");
    ini_open("");
#endif
}

TEST(WholeFileWrite, HeldFilesMemoryNamesAndDirectories) {
    testing_support::TempDir temp;
    const std::string file = temp.write("held.txt", "old");
    ASSERT_EQ(channel_open(3, file.c_str(), 1), 1);
    EXPECT_FALSE(write_file_whole(file, "new")) << "open on a channel";
    channel_close(3);
    EXPECT_EQ(temp.read("held.txt"), "old");
    EXPECT_TRUE(write_file_whole(file, "new"));
    EXPECT_EQ(temp.read("held.txt"), "new");

    EXPECT_FALSE(write_file_whole("mem://       4.12345678", "x"));

    // An empty folder of that name is removed; one with files in it stays.
    fs::create_directories(temp.path() / "was_a_folder");
    EXPECT_TRUE(write_file_whole(temp.file("was_a_folder"), "text"));
    EXPECT_EQ(temp.read("was_a_folder"), "text");
    fs::create_directories(temp.path() / "full_folder" / "inside");
    EXPECT_FALSE(write_file_whole(temp.file("full_folder"), "text"));
    EXPECT_TRUE(fs::is_directory(temp.path() / "full_folder" / "inside"));
    EXPECT_FALSE(fs::exists(temp.path() / "full_folder.new"));
}

}  // namespace
}  // namespace tvk
