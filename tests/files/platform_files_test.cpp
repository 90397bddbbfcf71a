// The file and folder services under the runtime's files: the lock between handles
// and between processes (what keeps two records, or two running copies, off one
// file), durable replacement that keeps the old file whenever the new one cannot
// be put in its place, and links and pipes that must not be followed or destroyed.
#include <gtest/gtest.h>
#ifdef _WIN32
#include <windows.h>
#else
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

#include <filesystem>
#include <functional>
#include <string>

#include "runtime/files/channels.h"
#include "runtime/platform/files.h"
#include "runtime/platform/folders.h"
#include "support/run_in_child.h"
#include "support/temp_dir.h"

namespace tvk {
namespace {

namespace fs = std::filesystem;
using platform::FileAccess;
using platform::FileCreation;
using platform::FileError;
using platform::PathKind;

#ifdef _WIN32
platform::File* open_shared(const std::string& path);

// What another copy of the program does with the lock file, run by a child of
// the test: 0 when it got the lock (and, for "crash", crashed holding it).
int take_lock_elsewhere(const std::string& path, bool wait) {
    platform::File* theirs = open_shared(path);
    return theirs && platform::lock_file_exclusive(theirs, wait) ? 0 : 1;
}
const bool kTryRoutine =
    testing_support::child_routine("try-lock", [](const std::string& path) { return take_lock_elsewhere(path, false); });
const bool kWaitRoutine =
    testing_support::child_routine("wait-lock", [](const std::string& path) { return take_lock_elsewhere(path, true); });
const bool kCrashRoutine = testing_support::child_routine("crash-holding-lock", [](const std::string& path) {
    if (take_lock_elsewhere(path, false) == 0) TerminateProcess(GetCurrentProcess(), 0xC0000005);
    return 1;
});

// The routine's exit code in a child; -1 when the child crashed.
int in_child(const char* routine, const std::string& path) {
    const testing_support::ChildResult r = testing_support::run_child_routine(routine, path);
    return r.exited ? r.status : -1;
}

// Makes a symbolic link; false where the user may not make one (Windows asks for
// the right to create them, or developer mode).
bool make_link(const fs::path& target, const fs::path& link, bool folder = false) {
    std::error_code ec;
    if (folder) {
        fs::create_directory_symlink(target, link, ec);
    } else {
        fs::create_symlink(target, link, ec);
    }
    return !ec;
}
#else
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

bool make_link(const fs::path& target, const fs::path& link, bool folder = false) {
    if (folder) {
        fs::create_directory_symlink(target, link);
    } else {
        fs::create_symlink(target, link);
    }
    return true;
}
#endif

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
#ifdef _WIN32
    // An exclusive open shares the file with nobody: a shared open is refused too,
    // and the lock is taken once the exclusive handle is gone.
    EXPECT_EQ(open_shared(path), nullptr);
    EXPECT_TRUE(platform::close_file(first));
    platform::File* second = open_shared(path);
    ASSERT_NE(second, nullptr);
    platform::File* third = open_shared(path);
    ASSERT_NE(third, nullptr);
    ASSERT_TRUE(platform::lock_file_exclusive(third, false));
    EXPECT_TRUE(platform::file_is_held(path));
    EXPECT_EQ(platform::open_file(path, {.exclusive = true}, &why), nullptr);
    EXPECT_EQ(why, FileError::kHeld);
    EXPECT_FALSE(platform::lock_file_exclusive(second, false));
    char byte = 0;
    EXPECT_EQ(platform::read_file(second, &byte, 1), 1) << "the lock does not keep others from reading";
    platform::close_file(third);
#else
    // A shared open still reads (on POSIX), but cannot take the lock.
    platform::File* second = open_shared(path);
    ASSERT_NE(second, nullptr);
    EXPECT_FALSE(platform::lock_file_exclusive(second, false));

    EXPECT_TRUE(platform::close_file(first));
#endif
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

#ifdef _WIN32
    EXPECT_EQ(in_child("try-lock", lock_path), 1) << "another copy must not get the lock while it is held";
    // A waiting lock in another copy gets it once this one lets go.
    testing_support::StartedChild* waiter = testing_support::start_child_routine("wait-lock", lock_path);
    Sleep(200);
    platform::unlock_file(mine);
    const testing_support::ChildResult waited = testing_support::finish_child(waiter);
    EXPECT_TRUE(waited.exited && waited.status == 0);

    // A holder that crashes without unlocking or closing leaves the file free.
    EXPECT_EQ(in_child("crash-holding-lock", lock_path), -1);
#else
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
#endif
    EXPECT_TRUE(platform::lock_file_exclusive(mine, false));
    platform::close_file(mine);
}

TEST(DurableReplace, KeepsTheOldFileWhenTheDiskTakesNotAllTheNewBytes) {
#ifdef _WIN32
    GTEST_SKIP() << "needs a cap on the bytes a process may write (setrlimit), which Windows has not";
#else
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
#endif
}

TEST(DurableReplace, KeepsTheOldFileWhenTheNewOneCannotTakeItsPlace) {
    testing_support::TempDir temp;
    const std::string path = temp.write("progress.dat", "old progress");
    const std::string longer = "new progress, longer than the old";
    const auto replace = [&] { return platform::replace_file_durably(path, longer.data(), int64_t(longer.size())) ? 0 : 1; };

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
    if (!make_link(victim, platform::beside_path(path))) GTEST_SKIP() << "this user may not make symbolic links";
    EXPECT_TRUE(platform::replace_file_durably(path, "new", 3));
    EXPECT_EQ(temp.read("settings.ini"), "new");
    EXPECT_EQ(temp.read("victim.txt"), "untouched");

    // A new file only: a link of that name, even a dangling one, refuses the open.
    const std::string planted = temp.file("sbxAAmusic.ogg");
    ASSERT_TRUE(make_link(temp.file("elsewhere.ogg"), planted));
    FileError why = FileError::kNone;
    EXPECT_EQ(platform::open_file(planted, {.access = FileAccess::kWrite, .creation = FileCreation::kCreateNew}, &why),
              nullptr);
    EXPECT_EQ(why, FileError::kExists);
    EXPECT_FALSE(fs::exists(temp.path() / "elsewhere.ogg"));
}

TEST(WriteOpen, APipeOfThatNameIsWrittenAsItIsNotReplaced) {
#ifdef _WIN32
    GTEST_SKIP() << "Windows has no named pipes in the file system (mkfifo)";
#else
    testing_support::TempDir temp;
    const std::string pipe = temp.file("pipe");
    ASSERT_EQ(mkfifo(pipe.c_str(), 0600), 0);
    ASSERT_EQ(channel_open(0, pipe.c_str(), 0), 1);
    channel_close(0);
    EXPECT_TRUE(fs::is_fifo(pipe));
    EXPECT_FALSE(platform::file_is_held(pipe)) << "asking must not wait for a writer";
#endif
}

TEST(Folders, QueriesFollowLinksAndRemovalsNever) {
    testing_support::TempDir temp;
    temp.write("outside/keep.txt", "keep");
    temp.write("tree/a/b.txt", "b");
    if (!make_link(temp.file("outside"), temp.file("tree/link"), true)) {
        GTEST_SKIP() << "this user may not make symbolic links";
    }

    std::vector<platform::FolderEntry> entries;
    ASSERT_TRUE(platform::list_folder(temp.file("tree"), entries));
    ASSERT_EQ(entries.size(), 2u);
    for (const platform::FolderEntry& entry : entries) EXPECT_TRUE(entry.is_folder) << entry.name;
    EXPECT_EQ(platform::path_kind(temp.file("tree/link")), PathKind::kFolder);
#ifdef _WIN32
    // A link to a folder is a folder to Windows, and removed as one.
    EXPECT_EQ(platform::path_kind(temp.file("tree/link"), false), PathKind::kFolder);
#else
    EXPECT_EQ(platform::path_kind(temp.file("tree/link"), false), PathKind::kFile);
#endif
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
