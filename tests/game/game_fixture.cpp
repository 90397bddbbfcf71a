#include "game/game_fixture.h"

#include <fstream>
#include <memory>
#include <sstream>
#include <system_error>

#include "game/fragment_cuts.h"
#include "game/screens.h"
#include "runtime/core/shutdown.h"
#include "runtime/gfx/opengl_rainbows.h"
#include "runtime/value/string_library.h"
#include "support/test_env.h"

namespace tvk::game_test {

namespace {

namespace fs = std::filesystem;

// Without progress for this many frames, the script is stuck.
constexpr int64_t kFramesPerActionLimit = 2000;

void put16(std::string& s, uint32_t v) {
    s += static_cast<char>(v & 0xFF);
    s += static_cast<char>((v >> 8) & 0xFF);
}
void put32(std::string& s, uint32_t v) {
    put16(s, v & 0xFFFF);
    put16(s, v >> 16);
}

}  // namespace

void write_file(const std::filesystem::path& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary);
    out << bytes;
}

std::string read_file(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

std::vector<std::string> fragments_in_order(const std::string& word) {
    RtString pieces[4];
    const int32_t n = game::cut_word(word.c_str(), pieces);
    std::vector<std::string> order;
    if (n == 0) return order;
    order.push_back(pieces[0].c_str());
    for (int32_t i = 2; i < n; ++i) order.push_back(pieces[i].c_str());
    order.push_back(pieces[1].c_str());
    return order;
}

std::string long_wave() {
    const uint32_t rate = 22050, frames = rate;
    std::string data;
    for (uint32_t f = 0; f < frames; ++f) put16(data, (f / 40) % 2 ? 3000 : static_cast<uint16_t>(-3000));
    std::string body = "WAVEfmt ";
    put32(body, 16);
    put16(body, 1);
    put16(body, 1);
    put32(body, rate);
    put32(body, rate * 2);
    put16(body, 2);
    put16(body, 16);
    body += "data";
    put32(body, static_cast<uint32_t>(data.size()));
    body += data;
    std::string file = "RIFF";
    put32(file, static_cast<uint32_t>(body.size()));
    return file + body;
}

bool farewell_showing() {
    const OpenGLRainbows* device = graphics_device();
    return device != nullptr && device->drawing.draw_alpha < 1.0f;
}

bool start_runtime_once(std::string& why) {
    static int state = 0;  // 0 not tried, 1 running, -1 failed
    static std::string reason;
    static testing_support::TempDir* trace_folder = nullptr;
    if (state == 0) {
        testing_support::use_headless_video();
        if (!std::getenv("SDL_AUDIODRIVER")) setenv("SDL_AUDIODRIVER", "dummy", 1);
        trace_folder = new testing_support::TempDir();  // lives as long as the runtime
        setenv(testing_support::kTempFolderVariable, trace_folder->path().string().c_str(), 1);
        state = runtime_start_without_main() != 0 ? 1 : -1;
        std::atexit(shutdown_runtime);
        if (state < 0) reason = init_failure_reason();
    }
    why = reason;
    return state > 0;
}

GameFolder::GameFolder() {
    const fs::path source = fs::path(TAVRICK_TEST_SOURCE_DIR) / ".." / "game" / "media";
    const fs::path media = temp_.path() / "Media";
    fs::create_directories(media);
    std::error_code ec;
    for (const auto& entry : fs::directory_iterator(source, ec)) {
        const std::string name = entry.path().filename().string();
        const std::string ext = entry.path().extension().string();
        if (ext == ".png" || ext == ".jpg") fs::copy_file(entry.path(), media / name, ec);
    }
    write_file(media / "gamedata.txt", puzzle_file_text({kRoundOne, kRoundTwo}));
    const std::string wave = long_wave();
    for (int n = 1; n <= 6; ++n) write_file(media / (std::to_string(n) + ".wav"), wave);
    fs::create_directories(temp_.path() / "data");
    setenv(testing_support::kDataFolderVariable, (temp_.path() / "data").generic_string().c_str(), 1);
    fs::current_path(temp_.path());
}

std::string GameFolder::read_media(const std::string& name) const { return read_file(media() / name); }

int64_t ScriptedPlayer::counter() {
    // flip_screen reads the clock for the new frame time right after it handed the
    // frame's drawing to OpenGL and before it presents it; only during that reading
    // are the two frame times equal (play() sets them apart first).
    CoreState& core = core_state();
    if (core.previous_frame_time == core.current_frame_time && !stepping_) {
        core.previous_frame_time = -1;
        ++drawn_frames_;
        if (frame_hook_) frame_hook_(drawn_frames_);
    }
    step();
    now_ns_ += 100000;  // 0.1 ms per reading
    return now_ns_;
}

void ScriptedPlayer::sleep_ms(int32_t ms) {
    step();
    if (ms > 0) now_ns_ += static_cast<int64_t>(ms) * 1000000;
}

void ScriptedPlayer::post_button(bool down, int32_t x, int32_t y) {
    platform::Event e;
    if (down) {
        e.kind = platform::EventKind::pointer_motion;
        e.x = x;
        e.y = y;
        platform::post_event(e);
    }
    e.kind = down ? platform::EventKind::button_down : platform::EventKind::button_up;
    e.button = 1;
    e.x = x;
    e.y = y;
    platform::post_event(e);
}

void ScriptedPlayer::post_tap(int32_t x, int32_t y) {
    x_ = x;
    y_ = y;
    post_button(true, x, y);
    post_button(false, x, y);
}

void ScriptedPlayer::pause_before_tap(const std::string& what) {
    auto since = std::make_shared<int64_t>(0);
    actions_.push_back({"before " + what, [this, since] { *since = frames_; },
                        [this, since] { return frames_ >= *since + 2; }});
}

void ScriptedPlayer::tap(int32_t x, int32_t y, std::string what, std::function<bool()> answered) {
    pause_before_tap(what);
    actions_.push_back({std::move(what), [this, x, y] { post_tap(x, y); }, std::move(answered)});
}

void ScriptedPlayer::tap_fragment(const std::string& fragment, std::function<bool()> answered) {
    pause_before_tap("tap on " + fragment);
    actions_.push_back({"tap on " + fragment,
                        [this, fragment] {
                            game::GameState& g = game::game_state();
                            for (int32_t i = 1; i <= game::kTileCount; ++i) {
                                if (g.tiles(i) == fragment.c_str()) {
                                    post_tap(static_cast<int32_t>(g.tile_positions(i, 1)) + 40,
                                             static_cast<int32_t>(g.tile_positions(i, 2)) + 20);
                                    return;
                                }
                            }
                            ADD_FAILURE() << "no tile holds " << fragment;
                            throw ScriptEnded{};
                        },
                        std::move(answered)});
}

void ScriptedPlayer::press(int32_t x, int32_t y, std::string what) {
    actions_.push_back({std::move(what),
                        [this, x, y] {
                            x_ = x;
                            y_ = y;
                            post_button(true, x, y);
                        },
                        [this] {
                            const game::GameState& g = game::game_state();
                            return g.mouse_left != 0 && static_cast<int32_t>(g.mouse_x) == x_ &&
                                   static_cast<int32_t>(g.mouse_y) == y_;
                        }});
}

void ScriptedPlayer::release() {
    actions_.push_back({"release", [this] { post_button(false, x_, y_); },
                        [] { return game::game_state().mouse_left == 0; }});
}

void ScriptedPlayer::click_fragment(const std::string& fragment) {
    actions_.push_back({"press on " + fragment,
                        [this, fragment] {
                            game::GameState& g = game::game_state();
                            for (int32_t i = 1; i <= game::kTileCount; ++i) {
                                if (g.tiles(i) == fragment.c_str()) {
                                    x_ = static_cast<int32_t>(g.tile_positions(i, 1)) + 40;
                                    y_ = static_cast<int32_t>(g.tile_positions(i, 2)) + 20;
                                    post_button(true, x_, y_);
                                    return;
                                }
                            }
                            ADD_FAILURE() << "no tile holds " << fragment;
                            throw ScriptEnded{};
                        },
                        [this] {
                            const game::GameState& g = game::game_state();
                            return g.mouse_left != 0 && static_cast<int32_t>(g.mouse_x) == x_ &&
                                   static_cast<int32_t>(g.mouse_y) == y_;
                        }});
    release();
}

void ScriptedPlayer::wait_until(std::string what, std::function<bool()> condition) {
    actions_.push_back({std::move(what), [] {}, std::move(condition)});
}

void ScriptedPlayer::then(std::string what, std::function<void()> checks) {
    actions_.push_back({std::move(what), std::move(checks), [] { return true; }});
}

void ScriptedPlayer::step() {
    if (stepping_) return;
    stepping_ = true;
    struct Guard {
        bool& flag;
        ~Guard() { flag = false; }
    } guard{stepping_};
    const double frame_time = core_state().current_frame_time;
    if (frame_time != last_frame_time_) {
        last_frame_time_ = frame_time;
        ++frames_;
        ++action_frames_;
    }
    while (!actions_.empty()) {
        Action& action = actions_.front();
        if (!started_) {
            started_ = true;
            action_frames_ = 0;
            action.start();
        }
        if (!action.done()) {
            if (action_frames_ > kFramesPerActionLimit) {
                stuck_at_ = action.what;
                throw ScriptEnded{};
            }
            return;
        }
        actions_.pop_front();
        started_ = false;
    }
    throw ScriptEnded{};
}

bool ScriptedPlayer::play() {
    // Start where the system clock is, so the frame times already taken still hold.
    now_ns_ = platform::clock_counter();
    // Start-up leaves both frame times at the start time; nothing reads the previous one.
    core_state().previous_frame_time = -1;
    platform::set_clock_backend(this);
    try {
        game::run_game();
    } catch (const ScriptEnded&) {
    }
    platform::set_clock_backend(nullptr);
    return stuck_at_.empty();
}

}  // namespace tvk::game_test
