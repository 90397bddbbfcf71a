// input: the keyboard, the mouse and the joysticks, read every frame and shown live.
//
// Shows: key_down with the runtime's scan codes (there are no names for them: the
// codes are listed below), text typed by the user with get_typed_key, the pointer
// and its buttons with mouse_state and the wheel with mouse_axis, and every
// joystick found at start-up with its stick, hat and buttons.
#include <tavrick/tavrick.h>

#include <string>

namespace tvk {

constexpr int32_t kLit = 0x40C8FF;    // packed blue * 65536 + green * 256 + red
constexpr int32_t kUnlit = 0x503A30;
constexpr int32_t kPanel = 0x2A1E18;

// Scan codes of the letter rows, the space bar and the arrows.
struct KeyCap {
    char label;
    int32_t code;
};
constexpr KeyCap kRows[3][10] = {
    {{'Q', 16}, {'W', 17}, {'E', 18}, {'R', 19}, {'T', 20}, {'Y', 21}, {'U', 22}, {'I', 23}, {'O', 24}, {'P', 25}},
    {{'A', 30}, {'S', 31}, {'D', 32}, {'F', 33}, {'G', 34}, {'H', 35}, {'J', 36}, {'K', 37}, {'L', 38}, {0, 0}},
    {{'Z', 44}, {'X', 45}, {'C', 46}, {'V', 47}, {'B', 48}, {'N', 49}, {'M', 50}, {0, 0}, {0, 0}, {0, 0}},
};
constexpr int32_t kSpace = 57, kUp = 200, kLeft = 203, kRight = 205, kDown = 208;

void program_settings() {
    ProgramSettings& s = runtime_settings();
    s.screen_width = 640;
    s.screen_height = 480;
    s.frame_rate = 60;
    s.application_name = "Input";
}

void text(const std::string& t, int32_t x, int32_t y) { print_text(t.c_str(), x, y, 1); }

void key_cap(const char* label, int32_t code, int32_t x, int32_t y, int32_t w) {
    draw_rect(x, y, w, 28, key_down(code) ? kLit : kUnlit);
    text(label, x + (w - text_width(label, 1)) / 2, y + 5);
}

void draw_keyboard(const std::string& typed) {
    draw_rect(10, 40, 620, 190, kPanel);
    text("Keyboard", 20, 46);
    for (int32_t row = 0; row < 3; ++row) {
        for (int32_t i = 0; i < 10 && kRows[row][i].label; ++i) {
            const char label[2] = {kRows[row][i].label, 0};
            key_cap(label, kRows[row][i].code, 20 + row * 14 + i * 32, 70 + row * 32, 28);
        }
    }
    key_cap("space", kSpace, 80, 166, 200);
    key_cap("^", kUp, 440, 102, 28);
    key_cap("<", kLeft, 408, 134, 28);
    key_cap("v", kDown, 440, 134, 28);
    key_cap(">", kRight, 472, 134, 28);

    std::string down = "down:";
    for (int32_t code = 1; code < 256; ++code) {
        if (key_down(code)) down += " " + std::to_string(code);
    }
    text(down, 360, 70);
    text("typed: " + typed, 20, 202);
}

void draw_mouse(int32_t wheel) {
    int32_t x = 0, y = 0, left = 0, right = 0;
    mouse_state(x, y, left, right);
    draw_rect(10, 240, 300, 230, kPanel);
    text("Mouse", 20, 246);
    text("at " + std::to_string(x) + ", " + std::to_string(y), 20, 270);
    text(std::string("left ") + (left ? "down" : "up") + ", right " + (right ? "down" : "up"), 20, 290);
    text("wheel " + std::to_string(wheel), 20, 310);
    draw_rect(20, 340, 60, 40, left ? kLit : kUnlit);
    draw_rect(84, 340, 60, 40, right ? kLit : kUnlit);
    // Cross hairs over everything, where the pointer is.
    draw_rect(x - 12, y, 25, 1, 0xFFFFFF);
    draw_rect(x, y - 12, 1, 25, 0xFFFFFF);
}

void draw_joysticks() {
    draw_rect(320, 240, 310, 230, kPanel);
    const int32_t count = joystick_count();
    text("Joysticks: " + std::to_string(count), 330, 246);
    if (count == 0) text("none found at start-up", 330, 270);
    for (int32_t j = 0; j < count && j < 2; ++j) {
        const int32_t top = 270 + j * 100;
        text(joystick_name(j).c_str(), 330, top);
        // The stick in a square, the hat beside it, then the first twelve buttons.
        draw_rect(330, top + 20, 64, 64, kUnlit);
        const int32_t sx = 330 + 29 + static_cast<int32_t>(joystick_x(j) * 28);
        const int32_t sy = top + 20 + 29 + static_cast<int32_t>(joystick_y(j) * 28);
        draw_rect(sx, sy, 7, 7, kLit);
        draw_rect(404 + 12 * (joystick_hat_x(j) + 1), top + 32 + 12 * (joystick_hat_y(j) + 1), 10, 10, kLit);
        for (int32_t b = 0; b < 12; ++b) {
            draw_rect(450 + (b % 6) * 28, top + 24 + (b / 6) * 28, 22, 22,
                      joystick_button(j, b) ? kLit : kUnlit);
        }
    }
}

void program_main() {
    load_font("Media/small.png", 1);
    if (error_state().code != kErrSuccess) {
        print_err(string_concat("Media/small.png: ", error_text()));
        return;
    }
    std::string typed;
    int32_t wheel = 0;
    for (;;) {
        // Typed characters wait in a queue: take all that came since the last frame.
        for (RtString c = get_typed_key(); !c.empty(); c = get_typed_key()) {
            const unsigned char code = static_cast<unsigned char>(c.data[0]);
            if (code == 8 && !typed.empty()) typed.pop_back();  // Backspace
            else if (code >= 32) typed += static_cast<char>(code);
        }
        if (typed.size() > 40) typed.erase(0, typed.size() - 40);
        wheel += mouse_axis(2);

        text("Input: press keys, type, move the mouse, click, turn the wheel (Esc ends)", 10, 12);
        draw_keyboard(typed);
        draw_joysticks();
        draw_mouse(wheel);
        flip_screen();
    }
}

}  // namespace tvk
