// The file and folder services under the runtime's files: the lock between handles
// and between processes (what keeps two records, or two running copies, off one
// file), durable replacement that keeps the old file whenever the new one cannot
// be put in its place, and links and pipes that must not be followed or destroyed.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <functional>
#include <string>

#include "runtime/files/channels.h"
#include "runtime/platform/files.h"
#include "runtime/platform/folders.h"
#include "support/temp_dir.h"

namespace tvk {
namespace {

namespace fs = std::filesystem;
using platform::FileAccess;
using platform::FileCreation;
using platform::FileError;
using platform::PathKind;

// Runs body in a child process and gives its exit code (-1 when it did not exit
// normally). limit caps the bytes the child may write into any file; a write
// beyond it fails instead of killing the child.
int in_child(const std::function<int()>& body, rlim_t limit = RLIM_INFINITY) {
    const pid_t pid = fork();
    if (pid == 0) {
        signal(SIGXFSZ, SIG_IGN);
        const rlimit r{limit, limit};
        setrlimit(RLIMIT_FSIZE, &r);
        _exit(body());
    }
    int status = 0;
    waitpid(pid, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

platform::File* open_shared(const std::string& path) {
    return platform::open_file(path, {.access = FileAccess::kReadWrite, .creation = FileCreation::kOpenOrCreate});
}

TEST(FileLock, HeldBetweenHandlesOfOneProcess) {
    testing_support::TempDir temp;
    const std::string path = temp.write("data.bin", "data");
    platform::File* first = platform::open_file(path, {.exclusive = true});
    ASSERT_NE(first, nullptr);
    EXPECT_TRUE(platform::file_is_held(path));

    FileError why = FileError::kNone;
    EXPECT_EQ(platform::open_file(path, {.exclusive = true}, &why), nullptr);
    EXPECT_EQ(why, FileError::kHeld);
    // A shared open still reads (on POSIX), but cannot take the lock.
    platform::File* second = open_shared(path);
    ASSERT_NE(second, nullptr);
    EXPECT_FALSE(platform::lock_file_exclusive(second, false));

    EXPECT_TRUE(platform::close_file(first));
    EXPECT_FALSE(platform::file_is_held(path));
    EXPECT_TRUE(platform::lock_file_exclusive(second, false));
    EXPECT_TRUE(platform::file_is_held(path));
    platform::unlock_file(second);
    EXPECT_FALSE(platform::file_is_held(path));
    platform::close_file(second);
}

TEST(FileLock, HeldBetweenProcessesAndFreedWhenTheHolderDies) {
    testing_support::TempDir temp;
    const std::string lock_path = temp.file("progress.lock");
    platform::File* mine = open_shared(lock_path);
    ASSERT_NE(mine, nullptr);
    ASSERT_TRUE(platform::lock_file_exclusive(mine, false));

    const auto try_lock = [&] {
        platform::File* theirs = open_shared(lock_path);
        return theirs && platform::lock_file_exclusive(theirs, false) ? 0 : 1;
    };
    EXPECT_EQ(in_child(try_lock), 1) << "another copy must not get the lock while it is held";
    // A waiting lock in another copy gets it once this one lets go.
    const pid_t waiter = fork();
    if (waiter == 0) {
        platform::File* theirs = open_shared(lock_path);
        _exit(theirs && platform::lock_file_exclusive(theirs, true) ? 0 : 1);
    }
    platform::unlock_file(mine);
    int status = 0;
    waitpid(waiter, &status, 0);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);

    // A holder that crashes without unlocking or closing leaves the file free.
    EXPECT_EQ(in_child([&] {
                  platform::File* theirs = open_shared(lock_path);
                  if (theirs && platform::lock_file_exclusive(theirs, false)) kill(getpid(), SIGKILL);
                  return 1;
              }),
              -1);
    EXPECT_TRUE(platform::lock_file_exclusive(mine, false));
    platform::close_file(mine);
}

TEST(DurableReplace, KeepsTheOldFileWhenTheNewOneCannotTakeItsPlace) {
    testing_support::TempDir temp;
    const std::string path = temp.write("progress.dat", "old progress");
    const std::string longer = "new progress, longer than the old";
    const auto replace = [&] { return platform::replace_file_durably(path, longer.data(), int64_t(longer.size())) ? 0 : 1; };

    // The disk takes only part of the new bytes, or none of them.
    for (const rlim_t limit : {rlim_t{0}, rlim_t{5}}) {
        EXPECT_EQ(in_child(replace, limit), 1) << limit;
        EXPECT_EQ(temp.read("progress.dat"), "old progress") << limit;
        EXPECT_FALSE(fs::exists(platform::beside_path(path))) << limit;
    }

    // Written beside, but the rename over a folder with files in it fails.
    fs::create_directories(temp.path() / "folder" / "inside");
    const std::string folder = temp.file("folder");
    EXPECT_FALSE(platform::replace_file_durably(folder, "x", 1));
    EXPECT_TRUE(fs::is_directory(temp.path() / "folder" / "inside"));
    EXPECT_FALSE(fs::exists(platform::beside_path(folder)));

    EXPECT_FALSE(platform::replace_file_durably(temp.file("missing/progress.dat"), "x", 1));

    EXPECT_EQ(replace(), 0);
    EXPECT_EQ(temp.read("progress.dat"), longer);
    EXPECT_FALSE(fs::exists(platform::beside_path(path)));
}

TEST(DurableReplace, NeverWritesThroughALinkLeftBeside) {
    testing_support::TempDir temp;
    const std::string victim = temp.write("victim.txt", "untouched");
    const std::string path = temp.write("settings.ini", "old");
    fs::create_symlink(victim, platform::beside_path(path));
    EXPECT_TRUE(platform::replace_file_durably(path, "new", 3));
    EXPECT_EQ(temp.read("settings.ini"), "new");
    EXPECT_EQ(temp.read("victim.txt"), "untouched");

    // A new file only: a link of that name, even a dangling one, refuses the open.
    const std::string planted = temp.file("sbxAAmusic.ogg");
    fs::create_symlink(temp.file("elsewhere.ogg"), planted);
    FileError why = FileError::kNone;
    EXPECT_EQ(platform::open_file(planted, {.access = FileAccess::kWrite, .creation = FileCreation::kCreateNew}, &why),
              nullptr);
    EXPECT_EQ(why, FileError::kExists);
    EXPECT_FALSE(fs::exists(temp.path() / "elsewhere.ogg"));
}

TEST(WriteOpen, APipeOfThatNameIsWrittenAsItIsNotReplaced) {
    testing_support::TempDir temp;
    const std::string pipe = temp.file("pipe");
    ASSERT_EQ(mkfifo(pipe.c_str(), 0600), 0);
    ASSERT_EQ(channel_open(0, pipe.c_str(), 0), 1);
    channel_close(0);
    EXPECT_TRUE(fs::is_fifo(pipe));
    EXPECT_FALSE(platform::file_is_held(pipe)) << "asking must not wait for a writer";
}

TEST(Folders, QueriesFollowLinksAndRemovalsNever) {
    testing_support::TempDir temp;
    temp.write("outside/keep.txt", "keep");
    temp.write("tree/a/b.txt", "b");
    fs::create_directory_symlink(temp.path() / "outside", temp.path() / "tree" / "link");

    std::vector<platform::FolderEntry> entries;
    ASSERT_TRUE(platform::list_folder(temp.file("tree"), entries));
    ASSERT_EQ(entries.size(), 2u);
    for (const platform::FolderEntry& entry : entries) EXPECT_TRUE(entry.is_folder) << entry.name;
    EXPECT_EQ(platform::path_kind(temp.file("tree/link")), PathKind::kFolder);
    EXPECT_EQ(platform::path_kind(temp.file("tree/link"), false), PathKind::kFile);
    const platform::PathInfo info = platform::path_info(temp.file("tree/a/b.txt"));
    EXPECT_EQ(info.kind, PathKind::kFile);
    EXPECT_EQ(info.size, 1);
    EXPECT_GT(info.modified_seconds, 1600000000);

    EXPECT_TRUE(platform::remove_tree(temp.file("tree")));
    EXPECT_FALSE(fs::exists(temp.path() / "tree"));
    EXPECT_EQ(temp.read("outside/keep.txt"), "keep");

    EXPECT_TRUE(platform::make_folders(temp.file("x/y/z")));
    EXPECT_FALSE(platform::make_folder(temp.file("x/y")));
    EXPECT_GT(platform::free_disk_space(temp.file("x")), 0);
}

}  // namespace
}  // namespace tvk
