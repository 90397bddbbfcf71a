// render_target: drawing into a sprite instead of the window, then drawing that
// sprite through a shader.
//
// Shows: create_render_target giving target 0 a sprite slot to draw into,
// use_render_target / end_render_target around the drawing that goes there (a
// spinning fan of coloured triangles and some text), load_shader with a fragment
// shader from Media/, and use_shader with uniforms set by name while the sprite is
// drawn a second time. The shader's time comes from the frame count, so every run
// draws the same frames. Shader compile errors are sent to standard error.
#include <tavrick/tavrick.h>

#include <cmath>
#include <cstdio>
#include <string>

namespace tvk {

constexpr int32_t kTarget = 0;        // render targets 0..31
constexpr int32_t kCanvas = 10;       // the sprite slot the target draws into
constexpr int32_t kSide = 256;        // the canvas is kSide by kSide
constexpr int32_t kRipple = 0;        // shader slots 0..254

void program_settings() {
    ProgramSettings& s = runtime_settings();
    s.screen_width = 640;
    s.screen_height = 480;
    s.frame_rate = 60;
    s.application_name = "RenderTarget";
}

void report_shader(const char* text) { std::fprintf(stderr, "shader: %s\n", text); }

// What goes into the canvas each frame: a fan of twelve coloured blades turning.
void draw_canvas(int32_t frame) {
    draw_rect(0, 0, kSide, kSide, 0x402818);
    const double turn = frame * 0.03;
    start_polyvector(-1, 1);  // no sprite: coloured triangles
    for (int32_t blade = 0; blade < 12; ++blade) {
        const double a = turn + blade * 3.14159265 / 6;
        const int32_t colour = blade % 3 == 0 ? 0x3050FF : blade % 3 == 1 ? 0x40D0FF : 0xFF9040;
        add_polyvector_vertex(128, 128, 0, 0, 0xFFFFFF);
        add_polyvector_vertex(128 + 110 * std::cos(a), 128 + 110 * std::sin(a), 0, 0, colour);
        add_polyvector_vertex(128 + 110 * std::cos(a + 0.4), 128 + 110 * std::sin(a + 0.4), 0, 0, colour);
    }
    end_polyvector();
    print_text("drawn into a sprite", 50, 12, 1);
    print_text(("frame " + std::to_string(frame)).c_str(), 92, 226, 1);
}

void program_main() {
    load_font("Media/small.png", 1);
    if (error_state().code != kErrSuccess) {
        print_err(string_concat("Media/small.png: ", error_text()));
        return;
    }
    set_shader_message_handler(report_shader);
    if (load_shader(kRipple, "", "Media/ripple.frag") == 0) {
        print_err("Media/ripple.frag: the shader did not load (no shader support, or see above)\n");
        return;
    }
    create_render_target(kTarget, kCanvas, kSide, kSide);

    for (int32_t frame = 0;; ++frame) {
        use_render_target(kTarget);  // (0, 0) is now the canvas's top-left corner
        draw_canvas(frame);
        end_render_target();

        set_alpha_mode(-1);
        print_text("Render target and shader", 20, 12, 1);
        print_text("the sprite as drawn", 60, 90, 1);
        print_text("the same sprite through ripple.frag", 340, 90, 1);
        draw_sprite(kCanvas, 40, 130);

        use_shader(kRipple);
        set_shader_int("picture", 0);
        set_shader_float("time", frame / 60.0);
        set_shader_float("strength", 0.015);
        draw_sprite(kCanvas, 344, 130);
        use_shader(-1);  // back to plain drawing (the frame flip also switches it off)

        print_text("Esc ends", 20, 450, 1);
        flip_screen();
    }
}

}  // namespace tvk
