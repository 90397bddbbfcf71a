// End to end: tvk-pack appends media to a program, which then reads them from its
// own executable from any working directory, unless a copy on disk is there.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <string>

#include "support/run_command.h"
#include "support/temp_dir.h"

namespace {

namespace fs = std::filesystem;

#ifdef _WIN32
constexpr const char* kExe = ".exe";

std::string run(const std::string& command, int* status = nullptr) {
    return tvk::testing_support::run_command(command, status);
}

// The program started in a folder, with the temporary folder given.
std::string run_from(const fs::path& folder, const std::string& program, const fs::path& tmp = {}) {
    tvk::testing_support::CommandRun how{folder.generic_string(), {}};
    if (!tmp.empty()) how.variables.emplace_back("TMP", tmp.generic_string());
    return tvk::testing_support::run_command(program, nullptr, how);
}
#else
constexpr const char* kExe = "";

// Runs a shell command and returns what it printed; status in *status.
std::string run(const std::string& command, int* status = nullptr) {
    std::string output;
    FILE* pipe = popen((command + " 2>&1").c_str(), "r");
    if (!pipe) return "<cannot run>";
    char buffer[512];
    while (std::fgets(buffer, sizeof buffer, pipe)) output += buffer;
    const int rc = pclose(pipe);
    if (status) *status = WEXITSTATUS(rc);
    return output;
}

std::string run_from(const fs::path& folder, const std::string& program, const fs::path& tmp = {}) {
    return run("cd " + folder.string() + " && " + (tmp.empty() ? "" : "TMPDIR=" + tmp.string() + " ") + program);
}
#endif

class PackedProgramTest : public ::testing::Test {
protected:
    void SetUp() override {
        src = dir.write("src/hello.txt", "first\r\nsecond\n");
        tune = dir.write("src/TUNE.OGG", "not really ogg");
        program = dir.file(std::string("reader") + kExe);
        int status = -1;
        const std::string out = run(std::string(TVK_PACK) + " append -o " + program + " " PACKED_READER " " +
                                    src + " " + tune, &status);
        ASSERT_EQ(status, 0) << out;
        EXPECT_NE(out.find("packed hello.txt"), std::string::npos) << out;
        EXPECT_NE(out.find("packed TUNE.OGG"), std::string::npos) << out;
        fs::create_directories(dir.path() / "elsewhere/deeper");
        tmp = dir.path() / "tmp";
        fs::create_directories(tmp);
    }
    std::string run_in(const fs::path& cwd) { return run_from(cwd, program, tmp); }

    tvk::testing_support::TempDir dir;
    std::string src, tune, program;
    fs::path tmp;
};

TEST_F(PackedProgramTest, ReadsItsMediaFromItselfFromAnyDirectory) {
    const std::string expected = "line: first\nline: second\nmusic: not really ogg\n";
    EXPECT_EQ(run_in(dir.path() / "elsewhere/deeper"), expected);
    EXPECT_EQ(run_in("/"), expected);
    EXPECT_TRUE(fs::is_empty(tmp));  // the music's temporary file is gone at the end

    // A copy on disk wins over the packed one.
    dir.write("elsewhere/Media/hello.txt", "from disk\n");
    EXPECT_EQ(run_in(dir.path() / "elsewhere"), "line: from disk\nmusic: not really ogg\n");

    // The program without the archive finds nothing.
    EXPECT_EQ(run_from("/", PACKED_READER), "hello: 0003 no such file\nmusic: not found\n");
}

TEST_F(PackedProgramTest, PackerListsExtractsAndRefusesBadInput) {
    int status = -1;
    const std::string listing = run(std::string(TVK_PACK) + " list " + program, &status);
    EXPECT_EQ(status, 0);
    EXPECT_NE(listing.find("14"), std::string::npos);
    EXPECT_NE(listing.find("hello.txt"), std::string::npos);
    EXPECT_NE(listing.find("TUNE.OGG"), std::string::npos);

    run(std::string(TVK_PACK) + " extract " + program + " " + dir.file("out"), &status);
    EXPECT_EQ(status, 0);
    EXPECT_EQ(dir.read("out/hello.txt"), "first\r\nsecond\n");
    EXPECT_EQ(dir.read("out/TUNE.OGG"), "not really ogg");

    const std::string archive = dir.file("media.arc");
    run(std::string(TVK_PACK) + " create " + archive + " " + src, &status);
    EXPECT_EQ(status, 0);

    const std::string refusals[] = {
        std::string(TVK_PACK),
        std::string(TVK_PACK) + " list " + src,                                 // no archive
        std::string(TVK_PACK) + " create " + dir.file("x.arc") + " " + dir.file("missing"),
        std::string(TVK_PACK) + " create " + dir.file("x.arc") + " " + dir.path().string(),  // a folder
        std::string(TVK_PACK) + " create " + dir.file("x.arc") + " " + src + " " + dir.file("out/HELLO.TXT"),
        std::string(TVK_PACK) + " append -o " + dir.file(std::string("again") + kExe) + " " + program + " " + src,  // already packed
        std::string(TVK_PACK) + " frobnicate " + archive,
    };
    for (const std::string& command : refusals) {
        const std::string out = run(command, &status);
        EXPECT_NE(status, 0) << command;
        EXPECT_FALSE(out.empty()) << command;
    }
    EXPECT_FALSE(fs::exists(dir.path() / "x.arc"));
    EXPECT_FALSE(fs::exists(dir.file(std::string("again") + kExe)));
}

}  // namespace
