// Every screen of the game, drawn by the game itself in its real loop and saved as
// the frame capture saves it, compared pixel for pixel with the pictures kept in
// tests/game/screens/. The pictures were taken from the game before its media were
// loaded screen by screen and its sprites lost their eager mipmapped copies; this
// test holds every later build to the same pixels.
//
// SPLITVERSE_RECORD_SCREENS=1 writes the pictures anew instead of comparing (only
// for a deliberate change of what the player sees).
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "game/game_fixture.h"
#include "game/game_state.h"
#include "runtime/core/frame_capture.h"
#include "runtime/gfx/colour_key.h"
#include "runtime/gfx/image_file.h"
#include "runtime/gfx/opengl_rainbows.h"
#include "runtime/gfx/text_commands.h"
#include "runtime/value/isaac_random.h"
#include "runtime/value/string_library.h"

namespace tvk::game_test {
namespace {

namespace fs = std::filesystem;
using game::GameState;
using game::game_state;

const fs::path kScreens = fs::path(TAVRICK_TEST_SOURCE_DIR) / "game" / "screens";

bool recording() {
    const char* value = std::getenv("SPLITVERSE_RECORD_SCREENS");
    return value && std::string(value) == "1";
}

// Saves the finished frame and compares it with the kept picture of that name.
void check_frame(const std::string& name, const fs::path& scratch) {
    OpenGLRainbows* device = graphics_device();
    ASSERT_NE(device, nullptr);
    const fs::path kept = kScreens / (name + ".png");
    if (recording()) {
        fs::create_directories(kScreens);
        ASSERT_TRUE(save_frame(*device, kept.string())) << name;
        return;
    }
    const fs::path drawn = scratch / (name + ".png");
    ASSERT_TRUE(save_frame(*device, drawn.string())) << name;
    ImageBuffer want, got;
    ASSERT_TRUE(load_image_file(want, kept.string(), kNoColourKey)) << "no picture " << kept;
    ASSERT_TRUE(load_image_file(got, drawn.string(), kNoColourKey)) << name;
    ASSERT_EQ(got.width, want.width) << name;
    ASSERT_EQ(got.height, want.height) << name;
    int64_t differing = 0;
    int x0 = got.width, y0 = got.height, x1 = -1, y1 = -1;
    for (int y = 0; y < got.height; ++y) {
        for (int x = 0; x < got.width; ++x) {
            if (std::equal(got.pixel(x, y), got.pixel(x, y) + 4, want.pixel(x, y))) continue;
            ++differing;
            x0 = std::min(x0, x);
            y0 = std::min(y0, y);
            x1 = std::max(x1, x);
            y1 = std::max(y1, y);
        }
    }
    if (differing != 0) {
        const fs::path keep = fs::temp_directory_path() / ("splitverse-screen-" + name + ".png");
        fs::copy_file(drawn, keep, fs::copy_options::overwrite_existing);
        ADD_FAILURE() << name << ": " << differing << " pixels differ, within (" << x0 << "," << y0
                      << ")-(" << x1 << "," << y1 << "); the frame drawn is " << keep;
    }
}

class ScreenPixelsTest : public ::testing::Test {
protected:
    void SetUp() override {
        std::string why;
        ASSERT_TRUE(start_runtime_once(why)) << why;
    }

    // Saves the frame that the `frames`-th flip from now presents, as it stands
    // before it is presented.
    void capture_after(ScriptedPlayer& player, int64_t frames, const std::string& name) {
        player.then("count from here for " + name, [this, frames, name] {
            wanted_.push_back({drawn_ + frames, name});
        });
        player.wait_until("the frame of " + name, [this, name] {
            return std::none_of(wanted_.begin(), wanted_.end(), [&](const Wanted& w) { return w.name == name; });
        });
    }

    void watch_frames(ScriptedPlayer& player) {
        player.on_each_frame([this](int64_t drawn) {
            drawn_ = drawn;
            for (auto w = wanted_.begin(); w != wanted_.end();) {
                if (w->frame != drawn) {
                    ++w;
                    continue;
                }
                check_frame(w->name, scratch_.path());
                w = wanted_.erase(w);
            }
        });
    }

    struct Wanted {
        int64_t frame;
        std::string name;
    };
    std::vector<Wanted> wanted_;
    int64_t drawn_ = 0;
    testing_support::TempDir scratch_;
};

TEST_F(ScreenPixelsTest, EveryScreenDrawsThePixelsItDrewBefore) {
    GameState& g = game_state();
    constexpr int32_t kInfoX = 25, kInfoY = 615, kSoundX = 455, kSoundY = 615;
    constexpr int32_t kBackX = 25, kBackY = 25, kCloseX = 455, kCloseY = 25;
    constexpr int32_t kCheckX = 410, kCheckY = 600;
    const auto state_is = [&](double s) { return [&g, s] { return g.screen_state == s; }; };
    const auto picked = [&](const std::string& fragment) {
        return [&g, fragment] {
            const auto last = static_cast<int32_t>(g.picked_count);
            return last > 0 && g.picked_texts(last) == fragment.c_str();
        };
    };
    const auto solve = [&](ScriptedPlayer& player, size_t w) {
        for (const std::string& f : fragments_in_order(kRoundOne.words[w])) player.tap_fragment(f, picked(f));
        player.tap(kCheckX, kCheckY, "check " + kRoundOne.words[w],
                   [&g, w] { return g.found_count == static_cast<double>(w + 1); });
    };

    GameFolder folder;
    ScriptedPlayer player;
    watch_frames(player);
    // The very first frame of the game is the one a player waits for.
    capture_after(player, 1, "options-first-frame");
    capture_after(player, 3, "options");
    player.tap(kSoundX, kSoundY, "sound off", [&] { return g.sound_volume == 0; });
    capture_after(player, 2, "options-sound-off");
    player.tap(kSoundX, kSoundY, "sound on", [&] { return g.sound_volume == 1; });
    player.then("no font chosen", [] { set_font(0); });
    player.tap(kInfoX, kInfoY, "information", [] { return graphics_device()->fonts.current == 1; });
    capture_after(player, 1, "information-first-frame");
    capture_after(player, 40, "information");
    int64_t mark = 0;
    player.then("on the page", [&] { mark = player.frames(); });
    player.tap(kBackX, kBackY, "back from the information page", [&] { return player.frames() > mark + 3; });
    player.tap(150, 390, "play area", state_is(2));
    capture_after(player, 2, "round-select");

    // The deal and the background are drawn from the random generator.
    player.then("a fixed deal", [] { random_seed(20121222); });
    player.tap(70, 149, "round 1", [&] { return g.screen_state == 3 && g.chosen_round == 1; });
    capture_after(player, 1, "play-first-frame");
    for (int b = 1; b <= 6; ++b) {
        player.then("background " + std::to_string(b), [&g, b] { g.background = b; });
        capture_after(player, 1, "play-background-" + std::to_string(b));
    }
    player.tap_fragment("MON", picked("MON"));
    player.tap_fragment("LE", picked("LE"));
    capture_after(player, 2, "play-picked");
    player.tap(kCheckX, kCheckY, "check a wrong word", [&] { return g.picked_count == 0; });
    capture_after(player, 3, "play-shake");
    for (size_t w = 0; w < 3; ++w) solve(player, w);
    const std::string next_pick = fragments_in_order(kRoundOne.words[3])[0];
    player.tap_fragment(next_pick, picked(next_pick));
    capture_after(player, 2, "play-three-solved");
    player.tap(60, 600, "undo", [&] { return g.picked_count == 0; });
    for (size_t w = 3; w < 7; ++w) solve(player, w);
    // The banner grows for 38 frames, shrinks for 13, then stands for 100.
    player.wait_until("the banner", state_is(5));
    capture_after(player, 20, "banner-growing");
    capture_after(player, 60, "banner");
    player.wait_until("round selection after the banner", state_is(2));
    capture_after(player, 2, "round-select-one-won");
    player.tap(kBackX, kBackY, "back to the options screen", state_is(1));
    player.tap(kCloseX, kCloseY, "close", farewell_showing);
    capture_after(player, 30, "farewell");
    EXPECT_TRUE(player.play()) << "stuck at: " << player.stuck_at();
}

}  // namespace
}  // namespace tvk::game_test
