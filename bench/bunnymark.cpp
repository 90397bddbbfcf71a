// Sprite throughput: N bouncing 32 by 32 sprites with transparent corners in a 480
// by 640 window, drawn every frame with normal alpha blending and no frame cap.
// Prints the milliseconds per frame for N = 1000, 10000 and 50000.
//
//   xvfb-run -a -s '-screen 0 1024x768x24' ./bench_bunnymark [seconds per N]
#include <GL/gl.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "runtime/gfx/image_buffer.h"
#include "runtime/gfx/opengl_rainbows.h"
#include "runtime/gfx/sprite_drawing.h"
#include "runtime/gfx/sprite_store.h"

namespace {

constexpr int32_t kScreenWidth = 480;
constexpr int32_t kScreenHeight = 640;
constexpr int32_t kSide = 32;
constexpr int32_t kBunny = 1;

struct Bunny {
    float x, y, dx, dy;
};

// A rounded square: its corners are transparent, its edge half transparent.
tvk::ImageBuffer bunny_image() {
    tvk::ImageBuffer image;
    tvk::allocate_image(image, kSide, kSide);
    for (int32_t y = 0; y < kSide; ++y) {
        for (int32_t x = 0; x < kSide; ++x) {
            const float cx = x - 15.5f, cy = y - 15.5f;
            const float d2 = cx * cx + cy * cy;
            uint8_t* p = image.pixel(x, y);
            p[0] = static_cast<uint8_t>(128 + x * 4);
            p[1] = static_cast<uint8_t>(64 + y * 6);
            p[2] = 200;
            p[3] = d2 > 20.0f * 20.0f ? 0 : d2 > 18.0f * 18.0f ? 128 : 255;
        }
    }
    return image;
}

double run(tvk::OpenGLRainbows& device, int32_t count, double seconds) {
    std::vector<Bunny> bunnies(static_cast<size_t>(count));
    uint32_t seed = 12345;
    auto rnd = [&seed] {
        seed = seed * 1664525u + 1013904223u;
        return static_cast<float>(seed >> 8) / static_cast<float>(1u << 24);
    };
    for (Bunny& b : bunnies)
        b = {rnd() * (kScreenWidth - kSide), rnd() * (kScreenHeight - kSide), rnd() * 4 - 2, rnd() * 4 - 2};
    int frames = 0;
    const auto start = std::chrono::steady_clock::now();
    double elapsed = 0;
    while (elapsed < seconds || frames < 3) {
        for (Bunny& b : bunnies) {
            b.x += b.dx;
            b.y += b.dy;
            if (b.x < 0 || b.x > kScreenWidth - kSide) b.dx = -b.dx;
            if (b.y < 0 || b.y > kScreenHeight - kSide) b.dy = -b.dy;
            tvk::draw_sprite(kBunny, static_cast<int32_t>(b.x), static_cast<int32_t>(b.y));
        }
        if (!tvk::present_frame(device, nullptr)) break;
        ++frames;
        elapsed = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    }
    glFinish();
    elapsed = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    return elapsed * 1000.0 / frames;
}

}  // namespace

int main(int argc, char** argv) {
    const double seconds = argc > 1 ? std::atof(argv[1]) : 3.0;
    tvk::OpenGLRainbows& device = tvk::create_graphics_device();
    if (!tvk::open_window(device, nullptr, kScreenWidth, kScreenHeight, 0, 60, 0)) {
        std::fprintf(stderr, "no OpenGL window\n");
        return 1;
    }
    tvk::leave_fullscreen(device);
    tvk::reset_2d_state(device);
    device.frame_interval = 0;  // no frame cap
    if (!tvk::create_sprite_from_image(device, kBunny, bunny_image(), false)) {
        std::fprintf(stderr, "sprite upload failed\n");
        return 1;
    }
    tvk::set_alpha_mode(-1);
    std::printf("renderer: %s\n", reinterpret_cast<const char*>(glGetString(GL_RENDERER)));
    for (int32_t n : {1000, 10000, 50000})
        std::printf("N = %6d: %8.3f ms per frame\n", n, run(device, n, seconds));
    tvk::delete_all_sprites(device);
    tvk::free_sprite_table(device);
    tvk::destroy_graphics_device();
    return 0;
}
