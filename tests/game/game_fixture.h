#pragma once
// The game in the test's own process: the runtime started as the game's start-up
// starts it (on the offscreen video driver and the dummy audio driver), a game
// folder with the real pictures and fonts, the test's own puzzle file and sounds,
// and a scripted player.
//
// The scripted player is a clock backend: the runtime reads the time many times a
// frame, and on each reading the player looks at what the game has seen so far and
// posts the next input into the real event queue. Time moves on only by those
// readings and by sleeps, so frames take no real time and frame counts are exact.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <deque>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "game/game_state.h"
#include "game/progress_file.h"
#include "game/puzzle_file.h"
#include "runtime/core/core_state.h"
#include "runtime/core/entry.h"
#include "runtime/platform/clock.h"
#include "runtime/platform/events.h"
#include "runtime/value/text_cipher.h"
#include "support/temp_dir.h"
#include "support/test_env.h"

namespace tvk::game_test {

// Thrown from the clock when the script has run out, to leave the game's loops.
struct ScriptEnded {};

struct Round {
    std::string clue;
    std::vector<std::string> words;  // seven
};

// Round 1 and 2 cut into exactly 20 distinct fragments each.
inline const Round kRoundOne{"FRUITS AND FLOWERS",
                             {"STRAWBERRY", "BLUEBELL", "ORANGE", "APRICOT", "LEMON", "PLUM", "KIWI"}};
inline const Round kRoundTwo{"MORE FRUIT",
                             {"BLACKBERRY", "MULBERRY", "TOMATO", "AVOCADO", "GRAPE", "LIME", "PEAR"}};

// A puzzle file of 50 rounds: the given ones first, the rest empty lines.
inline std::string puzzle_file_text(const std::vector<Round>& rounds) {
    std::string text;
    for (size_t r = 0; r < 50; ++r) {
        std::vector<std::string> lines(8);
        if (r < rounds.size()) {
            lines[0] = rounds[r].clue;
            for (size_t w = 0; w < 7; ++w) lines[w + 1] = rounds[r].words[w];
        }
        for (const std::string& line : lines) {
            text += string_encrypt(game::kPuzzleKey, line.c_str()).c_str();
            text += "\r\n";
        }
    }
    return text;
}

inline std::string decipher_progress(const std::string& file_text) {
    std::string line = file_text.substr(0, file_text.find_first_of("\r\n"));
    return string_decrypt(game::kProgressKey, line.c_str()).c_str();
}

// The whole file, or "" when it cannot be read.
std::string read_file(const std::filesystem::path& path);
// Creates or replaces the file with exactly these bytes.
void write_file(const std::filesystem::path& path, const std::string& bytes);

// A Media folder as the current directory and a data folder of its own, where the
// progress file is saved and looked for.
class ProgressFolderTest : public ::testing::Test {
protected:
    void SetUp() override {
        old_cwd_ = std::filesystem::current_path();
        std::filesystem::create_directories(media());
        std::filesystem::current_path(media());
        setenv(testing_support::kDataFolderVariable, (temp_.path() / "data").generic_string().c_str(), 1);
    }
    void TearDown() override { std::filesystem::current_path(old_cwd_); }

    std::filesystem::path media() const { return temp_.path() / "Media"; }
    std::filesystem::path data_file() const { return temp_.path() / "data" / "SplitVerse" / "moredata.txt"; }

    testing_support::TempDir temp_;
    std::filesystem::path old_cwd_;
};

// The fragments of a word in reading order: opening, middle pieces, ending.
std::vector<std::string> fragments_in_order(const std::string& word);

// One second of a steady tone, so that a sound is still playing when the test looks.
std::string long_wave();

// The farewell is on the screen: it is the only screen that fades its text, with
// a drawing strength below 1 (the first of its frames, at full strength, excepted).
bool farewell_showing();

// Starts the runtime once per process; false (with the reason) when it cannot.
// The runtime is shut down when the process ends, before the static objects go
// (the audio thread must not outlive the mixer).
bool start_runtime_once(std::string& why);

// A fresh game folder: <root>/Media with the game's pictures and fonts, the test's
// puzzle file and sounds; the data folder for progress under <root>/data.
class GameFolder {
public:
    GameFolder();
    const std::filesystem::path& root() const { return temp_.path(); }
    std::filesystem::path media() const { return temp_.path() / "Media"; }
    std::filesystem::path data_folder() const { return temp_.path() / "data" / "SplitVerse"; }
    std::string read_media(const std::string& name) const;

private:
    testing_support::TempDir temp_;
};

class ScriptedPlayer final : public platform::ClockBackend {
public:
    struct Action {
        std::string what;
        std::function<void()> start;
        std::function<bool()> done;
    };

    int64_t counter() override;
    int64_t counter_frequency() override { return 1000000000; }
    void sleep_ms(int32_t ms) override;

    // Presses the left button at (x, y); done once the game has read the press.
    void press(int32_t x, int32_t y, std::string what = "press");
    // Releases it; done once the game has read the release.
    void release();
    void click(int32_t x, int32_t y, const std::string& what) {
        press(x, y, what);
        release();
    }
    // Clicks the tile that holds this fragment when the click starts.
    void click_fragment(const std::string& fragment);
    // A tap: the press and the release posted together, so that the game drains both
    // in the same frame and never sees the button held. Done once `answered` holds
    // (what the game does when it takes the tap); a tap the game loses leaves the
    // script stuck here. Two frames pass before it, as between any two taps of a
    // hand: a tap in the very frame a screen changed is still the last screen's.
    void tap(int32_t x, int32_t y, std::string what, std::function<bool()> answered);
    // Taps the tile that holds this fragment when the tap is made.
    void tap_fragment(const std::string& fragment, std::function<bool()> answered);
    // Waits for the game to get somewhere.
    void wait_until(std::string what, std::function<bool()> condition);
    // Runs checks at this point of the script.
    void then(std::string what, std::function<void()> checks);

    // Frames presented so far (each flip reads the clock once at its start).
    int64_t frames() const { return frames_; }
    // Called at every flip with the frame drawn in full and not yet presented, and
    // how many frames the game has drawn since play() began (from 1).
    void on_each_frame(std::function<void(int64_t drawn)> hook) { frame_hook_ = std::move(hook); }
    const std::string& stuck_at() const { return stuck_at_; }

    // Installs the player as the clock, runs the game until the script ends, and
    // restores the system clock. False when the script got stuck.
    bool play();

private:
    void step();
    void post_button(bool down, int32_t x, int32_t y);
    void post_tap(int32_t x, int32_t y);
    void pause_before_tap(const std::string& what);

    std::deque<Action> actions_;
    bool started_ = false;
    bool stepping_ = false;
    int64_t now_ns_ = 1000000000;
    double last_frame_time_ = -1;
    int64_t frames_ = 0;
    int64_t action_frames_ = 0;
    int64_t drawn_frames_ = 0;
    std::function<void(int64_t)> frame_hook_;
    int32_t x_ = 0, y_ = 0;
    std::string stuck_at_;
};

}  // namespace tvk::game_test
