#include "runtime/files/file_system.h"

#include <gtest/gtest.h>
#ifdef _WIN32
#include <windows.h>
#include <shellapi.h>
#endif

#include <filesystem>
#include <fstream>
#include <string>

#include "file_fixture.h"
#include "runtime/files/file_dialog.h"
#include "runtime/files/ini_store.h"
#include "runtime/platform/file_dialogs.h"
#include "support/run_in_child.h"
#include "support/test_env.h"

namespace tvk::files_test {
namespace {

class FileSystemTest : public FileTest {
protected:
    void SetUp() override {
        FileTest::SetUp();
        saved_cwd_ = std::filesystem::current_path();
    }
    void TearDown() override {
        std::filesystem::current_path(saved_cwd_);
        FileTest::TearDown();
    }

private:
    std::filesystem::path saved_cwd_;
};

TEST(WildcardMatch, Cases) {
    const struct {
        const char* pattern;
        const char* name;
        bool match;
    } cases[] = {
        {"?.txt", "a.txt", true},   {"?.txt", ".txt", false},   {"a*z", "abcz", true},
        {"a*z", "abczq", false},     {"*.*", "noextension", true}, {"*.png", "A.PNG", true},
        {"*.png", "b.png.txt", false}, {"*", "", true},          {"a**b", "ab", true},
        {"*b*", "aXbY", true},        {"x?z", "x.z", false},     {"abc", "ab", false},
        {"ab", "abc", false},         {"*a", "banana", true},    {"d*.txt", "data.txt", true},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(wildcard_match(RtString(c.pattern), RtString(c.name)), c.match ? 1 : 0)
            << c.pattern << " / " << c.name;
    }
}

TEST_F(FileSystemTest, ListsDirectoriesFirstThenMatchingFilesIgnoringCase) {
    std::filesystem::create_directories(dir.path() / "Media");
    dir.write("b.png", "");
    dir.write("A.PNG", "");
    dir.write("c.txt", "");
    ASSERT_EQ(set_current_directory(RtString(dir.path().string().c_str())), 1);
    std::filesystem::remove(dir.path() / "tmp");
    StringArray list;
    EXPECT_EQ(list_directory(RtString("*.png"), list), 2 + 65536);
    ASSERT_EQ(list.count, 3);
    EXPECT_STREQ(list(0).c_str(), "Media");
    EXPECT_STREQ(list(1).c_str(), "A.PNG");
    EXPECT_STREQ(list(2).c_str(), "b.png");

    std::filesystem::create_directories(dir.path() / "alpha");
    EXPECT_EQ(list_directory(RtString("*.*"), list), 3 + 2 * 65536);
    EXPECT_STREQ(list(0).c_str(), "alpha");
    EXPECT_STREQ(list(4).c_str(), "c.txt");
    EXPECT_EQ(list_directory(RtString("*.bmp"), list), 2 * 65536);
}

TEST_F(FileSystemTest, DirectoryOperationsTakeEitherSeparator) {
    const std::string base = dir.path().string();
    EXPECT_EQ(create_directory(RtString((base + "\\made").c_str())), 1);
    EXPECT_EQ(create_directory(RtString((base + "/made").c_str())), 0);
    EXPECT_EQ(directory_exists(RtString((base + "\\made").c_str())), 1);
    EXPECT_EQ(file_exists(RtString((base + "/made").c_str())), 0);
    dir.write("made/f.txt", "x");
    EXPECT_EQ(file_exists(RtString((base + "\\made\\f.txt").c_str())), 1);
    EXPECT_EQ(directory_exists(RtString((base + "/made/f.txt").c_str())), 0);
    EXPECT_NE(delete_file(RtString((base + "\\made\\f.txt").c_str())), 0);
    EXPECT_EQ(file_exists(RtString((base + "/made/f.txt").c_str())), 0);
    EXPECT_NE(delete_file(RtString((base + "/made").c_str())), 0);
    EXPECT_EQ(directory_exists(RtString((base + "/made").c_str())), 0);
    EXPECT_EQ(delete_file(RtString((base + "/never").c_str())), 0);

    ASSERT_EQ(set_current_directory(RtString((base + "\\tmp").c_str())), 1);
    EXPECT_EQ(std::string(current_directory().c_str()), std::filesystem::current_path().generic_string() + "/");
    EXPECT_EQ(set_current_directory(RtString((base + "/never").c_str())), 0);
}

TEST(Environment, GetAndSet) {
    set_env(RtString("TVK_FILES_TEST"), RtString("one two"));
    EXPECT_STREQ(get_env(RtString("TVK_FILES_TEST")).c_str(), "one two");
    EXPECT_NE(std::string(get_env(RtString("")).c_str()).find("TVK_FILES_TEST=one two\n"), std::string::npos);
    set_env(RtString("TVK_FILES_TEST"), RtString(""));
    EXPECT_STREQ(get_env(RtString("TVK_FILES_TEST")).c_str(), "");
    EXPECT_EQ(std::getenv("TVK_FILES_TEST"), nullptr);
}

TEST_F(FileSystemTest, IniStoreRoundTrip) {
    const std::string path = dir.write("settings.ini",
                                       "top = level\r\n"
                                       "; a comment\r\n"
                                       "  [Display]\r\n"
                                       "Width=640\r\n"
                                       "  title =  My Game \t\r\n"
                                       "novalue\r\n"
                                       "empty=\r\n"
                                       "[Sound] extra\r\n"
                                       "volume=80\r\n");
    ini_open(RtString(path.c_str()));
    EXPECT_STREQ(ini_get(RtString(""), RtString("TOP"), RtString("-")).c_str(), "level");
    EXPECT_STREQ(ini_get(RtString("display"), RtString("width"), RtString("-")).c_str(), "640");
    EXPECT_STREQ(ini_get(RtString("DISPLAY"), RtString("Title"), RtString("-")).c_str(), "My Game ");
    EXPECT_STREQ(ini_get(RtString("Display"), RtString("novalue"), RtString("-")).c_str(), "-");
    EXPECT_STREQ(ini_get(RtString("Display"), RtString("empty"), RtString("-")).c_str(), "-");
    EXPECT_STREQ(ini_get(RtString("Sound"), RtString("volume"), RtString("-")).c_str(), "80");
    EXPECT_STREQ(ini_get(RtString("Missing"), RtString("volume"), RtString("def")).c_str(), "def");

    ini_put(RtString("sound"), RtString("VOLUME"), RtString("55"));
    ini_put(RtString("Network"), RtString("host"), RtString("example"));
    EXPECT_EQ(dir.read("settings.ini").find("55"), std::string::npos);  // written back later
    ini_open(RtString(""));
    EXPECT_EQ(dir.read("settings.ini"),
              "[]\r\ntop=level\r\n[Display]\r\nWidth=640\r\ntitle=My Game \r\n"
              "[Sound]\r\nvolume=55\r\n[Network]\r\nhost=example\r\n");

    ini_open(RtString(path.c_str()));
    EXPECT_STREQ(ini_get(RtString("sound"), RtString("volume"), RtString("-")).c_str(), "55");
    EXPECT_STREQ(ini_get(RtString("network"), RtString("HOST"), RtString("-")).c_str(), "example");
    EXPECT_STREQ(ini_get(RtString(""), RtString("top"), RtString("-")).c_str(), "level");
    ini_put(RtString("New"), RtString("k"), RtString("v"));
    write_back_ini_store();
    EXPECT_NE(dir.read("settings.ini").find("[New]\r\nk=v\r\n"), std::string::npos);
    ini_open(RtString(""));
}

#ifdef _WIN32
// The dialog's stand-in is this program, started again by the dialog layer with
// TVK_CHILD_ROUTINE naming this routine: it notes its arguments in the folder it is
// given and answers with a path in Windows' own form, or cancels a save.
const bool kDialogStandIn = testing_support::child_routine("dialog-stand-in", [](const std::string& folder) {
    int argc = 0;
    wchar_t** argv = CommandLineToArgvW(GetCommandLineW(), &argc);
    std::ofstream log(std::filesystem::path(folder) / "dialog-args.txt", std::ios::app | std::ios::binary);
    bool save = false;
    for (int i = 1; i < argc; ++i) {
        const std::wstring wide = argv[i];
        const std::string arg(wide.begin(), wide.end());  // the test's arguments are ASCII
        log << arg << "\n";
        save = save || arg == "--save";
    }
    if (save) return 1;
    std::string answer = folder + "\\chosen.txt";
    std::printf("%s\n", answer.c_str());
    return 0;
});
#endif

TEST_F(FileSystemTest, FileDialogThroughAStandIn) {
    const std::string log = dir.file("dialog-args.txt");
#ifdef _WIN32
    wchar_t self[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    const std::wstring self_path = self;
    const std::string script(self_path.begin(), self_path.end());
    setenv("TVK_CHILD_ROUTINE", "dialog-stand-in", 1);
    setenv("TVK_CHILD_ARGUMENT", dir.path().string().c_str(), 1);
#else
    const std::string script = dir.write("stand-in.sh",
                                         "#!/bin/sh\n"
                                         "for a in \"$@\"; do echo \"$a\" >> " + log + "; done\n"
                                         "case \"$*\" in *--save*) exit 1;; esac\n"
                                         "printf '%s\\n' '" + dir.path().string() + "\\chosen.txt'\n");
    std::filesystem::permissions(script, std::filesystem::perms::owner_all);
#endif
    platform::set_file_dialog_program(script);
    ASSERT_EQ(set_current_directory(RtString(dir.path().string().c_str())), 1);
    const RtString chosen = file_dialog(1, RtString("Text|*.txt|All|*.*"));
    EXPECT_EQ(std::string(chosen.c_str()), dir.path().string() + "/chosen.txt");
    EXPECT_EQ(dir.read("dialog-args.txt"),
              "--file-selection\n--filename=" + dir.path().string() + "/\n--file-filter=Text | *.txt\n"
              "--file-filter=All | *.*\n");
    EXPECT_STREQ(file_dialog(0, RtString("Text|*.txt")).c_str(), "NO_FILE");  // cancelled
    EXPECT_EQ(std::string(current_directory().c_str()), dir.path().string() + "/");
    platform::set_file_dialog_program("");
#ifdef _WIN32
    unsetenv("TVK_CHILD_ROUTINE");
    unsetenv("TVK_CHILD_ARGUMENT");
#endif
}

TEST_F(FileSystemTest, FileDialogWithoutAStandInOrADisplayIsCancelled) {
#ifdef _WIN32
    GTEST_SKIP() << "Windows always has its common dialogs to show, which no test may open";
#else
    // No stand-in and no display: cancelled without showing anything.
    platform::set_file_dialog_program("");
    const char* display = std::getenv("DISPLAY");
    const std::string saved = display ? display : "";
    unsetenv("DISPLAY");
    unsetenv("WAYLAND_DISPLAY");
    EXPECT_STREQ(file_dialog(1, RtString("All|*.*")).c_str(), "NO_FILE");
    if (!saved.empty()) setenv("DISPLAY", saved.c_str(), 1);
#endif
}

}  // namespace
}  // namespace tvk::files_test
