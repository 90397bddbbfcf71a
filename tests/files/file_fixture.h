#pragma once
// Shared set-up for the file tests: a fresh folder, the system temporary folder
// pointed inside it, no archive, channels closed.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <set>
#include <string>

#include "runtime/files/channels.h"
#include "runtime/files/media_archive.h"
#include "runtime/value/error_state.h"
#include "support/temp_dir.h"
#include "support/test_env.h"

namespace tvk::files_test {

class FileTest : public ::testing::Test {
protected:
    void SetUp() override {
        std::filesystem::create_directories(dir.path() / "tmp");
        const char* saved = std::getenv(testing_support::kTempFolderVariable);
        saved_tmpdir_ = saved ? saved : "";
        setenv(testing_support::kTempFolderVariable, temp_folder().c_str(), 1);
        close_all_channels();
        media_archives() = MediaArchives{};
        clear_error();
    }
    void TearDown() override {
        close_all_channels();
        release_media_archives();
        media_archives() = MediaArchives{};
        if (saved_tmpdir_.empty()) {
            unsetenv(testing_support::kTempFolderVariable);
        } else {
            setenv(testing_support::kTempFolderVariable, saved_tmpdir_.c_str(), 1);
        }
    }

    std::string temp_folder() const { return dir.file("tmp") + "/"; }

    // Every path under the test folder, relative to it.
    std::set<std::string> all_paths() const {
        std::set<std::string> paths;
        for (const auto& entry : std::filesystem::recursive_directory_iterator(dir.path())) {
            paths.insert(std::filesystem::relative(entry.path(), dir.path()).string());
        }
        return paths;
    }

    testing_support::TempDir dir;

private:
    std::string saved_tmpdir_;
};

// Runs a statement that must end the program through the error stop, printing the
// error code on the way out so that the expectation can check it.
#define EXPECT_STOPS_WITH_CODE(statement, expected)                                              \
    EXPECT_EXIT(                                                                             \
        {                                                                                    \
            std::atexit([] { std::fprintf(stderr, "code=%d;", ::tvk::error_state().code); }); \
            statement;                                                                       \
        },                                                                                   \
        ::testing::ExitedWithCode(0), "code=" #expected ";")

}  // namespace tvk::files_test
