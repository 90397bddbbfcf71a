// The frame capture: reading TAVRICK_CAPTURE, and a real program saving the frame
// its Nth flip presents, opaque, relative to the folder it was started from.
#include <gtest/gtest.h>

#ifdef _WIN32
#include <process.h>
#else
#include <sys/wait.h>
#include <unistd.h>
#endif

#include <array>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>

#include "png_pixels.h"
#include "runtime/core/frame_capture.h"
#include "support/run_command.h"

namespace tvk {
namespace {

namespace fs = std::filesystem;

TEST(FrameCapture, ReadsFrameAndFile) {
    struct Case {
        const char* text;
        bool accepted;
        int64_t frame;
        const char* path;
    };
    const Case cases[] = {
        {"30:shot.png", true, 30, "/start/shot.png"},
        {"1:/tmp/a b.png", true, 1, "/tmp/a b.png"},
        {"12:frames/x:y.png", true, 12, "/start/frames/x:y.png"},  // the first colon splits
        {"0:shot.png", false, 0, ""},
        {"-3:shot.png", false, 0, ""},
        {"+3:shot.png", false, 0, ""},
        {" 3:shot.png", false, 0, ""},
        {"3x:shot.png", false, 0, ""},
        {"3:", false, 0, ""},
        {"shot.png", false, 0, ""},
        {"99999999999999999999:shot.png", false, 0, ""},
        {"", false, 0, ""},
    };
    for (const Case& c : cases) {
        FrameCaptureRequest request;
        EXPECT_EQ(parse_frame_capture(c.text, "/start", request), c.accepted) << c.text;
        EXPECT_EQ(request.frame, c.frame) << c.text;
        EXPECT_EQ(request.path, c.path) << c.text;
    }
}

class CaptureRun : public testing::Test {
protected:
    void SetUp() override {
        folder_ = fs::temp_directory_path() / ("frame_capture_" + std::to_string(::getpid()));
        fs::remove_all(folder_);
        fs::create_directories(folder_ / "tmp");
    }
    void TearDown() override {
#ifdef _WIN32
        // The streams may still be held for a few seconds (see stream_name).
        std::error_code error;
        for (int attempt = 0; attempt < 1000 && fs::remove_all(folder_, error) == static_cast<std::uintmax_t>(-1);
             ++attempt) {
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
#else
        fs::remove_all(folder_);
#endif
    }

    // Runs the probe from the temporary folder with the variable set as given; the
    // exit status.
    int run(const std::string& capture) {
#ifdef _WIN32
        // The system's own video driver, on the virtual display Wine draws on.
        int status = -1;
        ++runs_;
        testing_support::CommandRun how{folder_.generic_string(),
                                        {{"SDL_AUDIODRIVER", "dummy"},
                                         {"TMP", (folder_ / "tmp").generic_string()},
                                         {"TAVRICK_CAPTURE", capture}},
                                        (folder_ / stream_name("out.txt")).generic_string(),
                                        (folder_ / stream_name("err.txt")).generic_string()};
        testing_support::run_command(std::string("\"") + CAPTURE_PROBE + "\"", &status, how);
        return status;
#else
        const std::string command = "cd '" + folder_.string() + "' && env -u DISPLAY SDL_VIDEODRIVER=offscreen " +
                                    "SDL_AUDIODRIVER=dummy LIBGL_ALWAYS_SOFTWARE=1 TMPDIR='" +
                                    (folder_ / "tmp").string() + "' TAVRICK_CAPTURE='" + capture + "' '" +
                                    CAPTURE_PROBE + "' >out.txt 2>err.txt";
        const int status = std::system(command.c_str());
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
#endif
    }
    // The file a stream of the last run went to. On Windows each run has files of
    // its own: the desktop process Wine starts for the first window of a session
    // inherits the streams of the program whose window that was, and holds them for
    // the few seconds it outlives the program.
    std::string stream_name(const char* name) const {
#ifdef _WIN32
        return std::to_string(runs_) + "-" + name;
#else
        return name;
#endif
    }
    std::string text(const char* name) {
        std::ifstream in(folder_ / stream_name(name));
        std::stringstream s;
        s << in.rdbuf();
        return s.str();
    }

    fs::path folder_;
    int runs_ = 0;
};

TEST_F(CaptureRun, SavesTheNthFrameOpaqueAndEnds) {
    // No folder for the file yet: said on standard error, and the program still ends there.
    ASSERT_EQ(run("3:frames/shot.png"), 0);
    EXPECT_EQ(text("out.txt"), "exit\n");
    EXPECT_NE(text("err.txt").find("frame 3 could not be saved to " + (folder_ / "frames/shot.png").generic_string()),
              std::string::npos)
        << text("err.txt");

    fs::create_directories(folder_ / "frames");
    ASSERT_EQ(run("3:frames/shot.png"), 0) << text("err.txt");
    EXPECT_EQ(text("out.txt"), "exit\n");
    examples::RgbaPicture shot;
    ASSERT_TRUE(examples::read_png((folder_ / "frames/shot.png").string(), shot));
    ASSERT_EQ(shot.width, 160);
    ASSERT_EQ(shot.height, 120);
    // The third frame's grey, not the second's still on the screen.
    const uint8_t* p = shot.at(100, 60);
    EXPECT_EQ((std::array<int, 4>{p[0], p[1], p[2], p[3]}), (std::array<int, 4>{30, 30, 30, 255}));
    // The transparency colour as it was drawn, not keyed out.
    p = shot.at(4, 4);
    EXPECT_EQ((std::array<int, 4>{p[0], p[1], p[2], p[3]}), (std::array<int, 4>{255, 0, 128, 255}));
}

TEST_F(CaptureRun, OtherValuesAreReportedAndTheProgramRunsOn) {
    ASSERT_EQ(run("soon:shot.png"), 0);
    EXPECT_EQ(text("err.txt"), "TAVRICK_CAPTURE=soon:shot.png: expected N:FILE (N from 1, e.g. 60:shot.png); ignored\n");
    EXPECT_FALSE(fs::exists(folder_ / "shot.png"));
    // A frame the program never reaches: it ends by itself, nothing saved.
    ASSERT_EQ(run("11:shot.png"), 0);
    EXPECT_EQ(text("err.txt"), "");
    EXPECT_FALSE(fs::exists(folder_ / "shot.png"));
}

}  // namespace
}  // namespace tvk
