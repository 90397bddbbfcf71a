#pragma once
// The graphics device: the main window, its OpenGL context, the logical screen and
// its orientation, frame pacing times and the drawing state. One instance exists
// for the whole run, created by start-up and reached through graphics_device().
#include <array>
#include <cstdint>
#include <string>

#include "runtime/gfx/draw_batch.h"
#include "runtime/gfx/gfx_hooks.h"
#include "runtime/platform/window.h"

namespace tvk {

struct SpriteSlot;      // the sprite store's slot record
struct RenderTarget;    // an off-screen target of the render-target layer

constexpr int32_t kSpriteSlotCount = 65537;
constexpr int32_t kRenderTargetCount = 32;
constexpr int32_t kBackgroundSetCount = 8;

// A screen-sized image drawn behind the frame instead of clearing (set 0), or kept
// for later by other commands.
struct BackgroundTileSet {
    std::array<uint32_t, 192> textures{};
    uint8_t rows = 0;
    uint8_t columns = 0;
    bool empty() const { return rows == 0 || columns == 0; }
};

class OpenGLRainbows {
public:
    OpenGLRainbows() = default;
    OpenGLRainbows(const OpenGLRainbows&) = delete;
    OpenGLRainbows& operator=(const OpenGLRainbows&) = delete;
    virtual ~OpenGLRainbows();

    int32_t bound_sprite = -1;
    int32_t secondary_sprite = -1;
    int32_t secondary_texture_flag = 0;
    SpriteSlot* sprite_table = nullptr;   // allocated and freed by the sprite store
    float draw_alpha = 1.0f;
    float alpha_test_reference = 0.05f;
    uint8_t clear_enabled = 1;
    uint8_t depth_clear_pending = 1;
    uint8_t bgra_supported = 0;
    RenderTarget* render_targets = nullptr;  // kRenderTargetCount, owned by the render-target layer
    int32_t current_render_target = -1;
    uint8_t** pixel_copies = nullptr;        // per sprite slot, owned by the sprite store
    std::array<BackgroundTileSet, kBackgroundSetCount> background_sets{};
    platform::Window* window = nullptr;
    int32_t window_width = 0;
    int32_t window_height = 0;
    int32_t colour_depth = 0;
    uint8_t fullscreen = 0;
    int32_t multisample_request = 0;
    uint8_t depth_stencil_buffer = 0;  // the window gets depth 24 + stencil 8 (program setting)
    int32_t viewport_x = 0;
    int32_t viewport_y = 0;
    int32_t viewport_width = 0;
    int32_t viewport_height = 0;
    int32_t orientation = 0;
    uint32_t transparency_colour = 0x8000FF;
    uint32_t font_transparency_colour = 0;
    double next_frame_time = 0;
    double frame_interval = 0;
    // How far after next_frame_time the frame wait aims while it pays back a late
    // wake-up (present_frame.cpp).
    double wake_slip = 0;
    void* instance = nullptr;
    platform::GlContext gl_context = nullptr;
    // Drawing state of the sprite layer that reset_2d_state restores.
    uint8_t smoothing = 1;
    // Draws gathered for one GL call; see draw_batch.h.
    DrawBatch draw_batch;
};

// The process's device; null before start-up creates it and after shutdown. Every
// command reaches the device through here, which first draws what the draw batch
// holds, so that the command sees and changes the state after those draws.
OpenGLRainbows* graphics_device();
// The device without flushing the draw batch: for the commands that add to it.
OpenGLRainbows* drawing_device();
OpenGLRainbows& create_graphics_device();
void destroy_graphics_device();

// Window and context. See display.cpp for the steps and their trace lines.
bool open_window(OpenGLRainbows& device, void* instance, int32_t width, int32_t height,
                 int32_t colour_depth, int32_t frames_per_second, int32_t multisample_samples);
bool enter_fullscreen(OpenGLRainbows& device);
int32_t leave_fullscreen(OpenGLRainbows& device);
int32_t change_screen_mode(OpenGLRainbows& device, int32_t width, int32_t height,
                           int32_t colour_depth, int32_t fullscreen);
int32_t hide_window(OpenGLRainbows& device);
int32_t close_window(OpenGLRainbows& device);

// State and mapping.
void reset_2d_state(OpenGLRainbows& device);
// The drawing state every frame starts from: blending off, draw alpha 1, opaque
// white, and the 2D state of reset_2d_state.
void reset_frame_drawing(OpenGLRainbows& device);
void set_viewport(OpenGLRainbows& device, int32_t x, int32_t y, int32_t width, int32_t height);
void set_orientation(OpenGLRainbows& device, int32_t orientation);
void get_screen_size(const OpenGLRainbows& device, int32_t& width, int32_t& height);
void get_viewport(const OpenGLRainbows& device, int32_t& x, int32_t& y, int32_t& width,
                  int32_t& height);
int32_t is_fullscreen(const OpenGLRainbows& device);
void set_frame_rate(OpenGLRainbows& device, int32_t frames_per_second);
void set_clear_colour(OpenGLRainbows& device, int32_t colour);

// Presents the finished frame and waits for the next frame time; 0 when the
// message pump says the program must end.
int32_t present_frame(OpenGLRainbows& device, MessageCallback callback);
// The waiting part of present_frame on its own: pumps messages until the device's
// next frame time and advances it by one interval (see present_frame.cpp).
int32_t wait_for_next_frame(OpenGLRainbows& device, MessageCallback callback);

// Why the last open_window failed ("" after success).
const std::string& open_window_failure();

// The desktop size read when the window was created.
void get_desktop_size(int32_t& width, int32_t& height);
// The renderer text as read once per process ("" before a context existed).
const std::string& gl_renderer_text();
// True for the renderers that draw on the processor.
bool is_software_renderer(const std::string& renderer);

// The commands of the compiled program, on the process's device.
void set_orientation(int32_t orientation);
void set_viewport(int32_t x, int32_t y, int32_t width, int32_t height);
void get_screen_size(int32_t& width, int32_t& height);
void get_screen_size(double& width, double& height);
void get_desktop_size(double& width, double& height);
void get_viewport(double& x, double& y, double& width, double& height);
int32_t is_fullscreen();
void set_frame_rate(double frames_per_second);
void set_clear_colour(int32_t colour);

}  // namespace tvk
