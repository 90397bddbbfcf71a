#include "runtime/native/native_registry.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "support/temp_dir.h"
#include "support/test_env.h"

namespace tvk {
namespace {

using testing_support::TempDir;

#ifdef _WIN32
const std::string kLibrary = std::string(TVK_SAMPLE_LIBRARY_DIR) + "/libtvksample.dll";
// The same file, its name written in other letter case.
const std::string kLibraryUpper = std::string(TVK_SAMPLE_LIBRARY_DIR) + "/LIBTVKSAMPLE.DLL";
#else
const std::string kLibrary = std::string(TVK_SAMPLE_LIBRARY_DIR) + "/libtvksample.so";
// The same file, its name written in other letter case.
const std::string kLibraryUpper = std::string(TVK_SAMPLE_LIBRARY_DIR) + "/LIBTVKSAMPLE.so";
#endif

std::string lower(std::string s) {
    for (char& c : s) {
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    }
    return s;
}

// Points the trace file into a fresh folder and empties the registry around each test.
class NativeRegistryTest : public ::testing::Test {
protected:
    void SetUp() override {
        const char* old = std::getenv(testing_support::kTempFolderVariable);
        had_tmpdir_ = old != nullptr;
        if (old) old_tmpdir_ = old;
        setenv(testing_support::kTempFolderVariable, dir_.path().string().c_str(), 1);
        release_natives();
    }
    void TearDown() override {
        release_natives();
        if (had_tmpdir_) setenv(testing_support::kTempFolderVariable, old_tmpdir_.c_str(), 1);
        else unsetenv(testing_support::kTempFolderVariable);
    }
    std::string trace() const { return dir_.read("ErrorLog.txt"); }
    bool trace_exists() const { return std::filesystem::exists(dir_.path() / "ErrorLog.txt"); }

    TempDir dir_;
    bool had_tmpdir_ = false;
    std::string old_tmpdir_;
};

TEST_F(NativeRegistryTest, ModuleNamesDifferingInCaseLoadTheModuleOnce) {
    int (*add)(int, int) = nullptr;
    int (*answer)() = nullptr;
    declare_native(kLibrary.c_str(), "tvk_sample_add", &add);
    declare_native(kLibraryUpper.c_str(), "tvk_sample_answer", &answer);
    resolve_declarations();

    ASSERT_NE(add, nullptr);
    ASSERT_NE(answer, nullptr);
    EXPECT_EQ(add(2, 3), 5);
    EXPECT_EQ(answer(), 42);
    const NativeRegistry& registry = native_registry();
    ASSERT_EQ(registry.loaded_modules.size(), 1u);
    EXPECT_STREQ(registry.module_names[0].c_str(), lower(kLibrary).c_str());
    EXPECT_EQ(trace(), "Dealy load DLLs\n");
}

TEST_F(NativeRegistryTest, FailuresAreReportedAndResolutionGoesOn) {
    void* missing_module = reinterpret_cast<void*>(1);
    void* missing_entry = reinterpret_cast<void*>(1);
    int (*add)(int, int) = nullptr;
#ifdef _WIN32
    // Windows finds a file whatever the letter case of its name: a name with no file.
    const std::string missing = std::string(TVK_SAMPLE_LIBRARY_DIR) + "/tvk_no_such_library.dll";
#else
    // The module is loaded by its name as written: this casing names no file.
    const std::string missing = kLibraryUpper;
#endif
    declare_native(missing.c_str(), "tvk_sample_add", &missing_module);
    declare_native(kLibrary.c_str(), "tvk_no_such_entry", &missing_entry);
    declare_native(kLibrary.c_str(), "tvk_sample_add", &add);
    EXPECT_EQ(missing_module, nullptr) << "declaring clears the slot";
    resolve_declarations();

    EXPECT_EQ(missing_module, nullptr);
    EXPECT_EQ(missing_entry, nullptr);
    ASSERT_NE(add, nullptr);
    EXPECT_EQ(add(40, 2), 42);
    EXPECT_EQ(native_registry().loaded_modules.size(), 1u) << "the module stays loaded";
    EXPECT_EQ(trace(), "Dealy load DLLs\n"
                       "DECLARE module not found: " + lower(missing) + "\n"
                       "DECLARE entry not found: tvk_no_such_entry\n");
}

TEST_F(NativeRegistryTest, MissingModuleLeavesTheSlotUntouched) {
    void* sentinel = &sentinel;
    void* slot = sentinel;
    resolve_native("/no/such/Library.so", "anything", &slot);
    EXPECT_EQ(slot, sentinel);
    resolve_native("", "anything", &slot);
    EXPECT_EQ(slot, sentinel);
    EXPECT_TRUE(native_registry().loaded_modules.empty());
    EXPECT_EQ(trace(), "DECLARE module not found: /no/such/library.so\n"
                       "DECLARE module not found: \n");
}

TEST_F(NativeRegistryTest, NoDeclarationsWriteNoTraceLine) {
    resolve_declarations();
    EXPECT_FALSE(trace_exists());
}

TEST_F(NativeRegistryTest, ReleaseEmptiesTheRegistryAndMayRunTwice) {
    void* slot = nullptr;
    declare_native(kLibrary.c_str(), "tvk_sample_answer", &slot);
    resolve_declarations();
    ASSERT_NE(slot, nullptr);
    release_natives();
    release_natives();
    const NativeRegistry& registry = native_registry();
    EXPECT_TRUE(registry.loaded_modules.empty());
    EXPECT_TRUE(registry.module_names.empty());
    EXPECT_TRUE(registry.declarations.empty());
}

}  // namespace
}  // namespace tvk
