// Where loading a picture spends its time, stage by stage, for every picture in a
// folder: reading the file, decoding it, recolouring keyed-out pixels, laying it
// into a power-of-two texel block, uploading that block, and (what every sprite
// load once did eagerly) building and uploading the square mipmap chain; then the
// whole of load_sprite and load_font as a program calls them, and load_sound for
// every sound. Medians of R rounds, in milliseconds.
//
//   bench_media_load [--rounds R] folder
//
// Run on a display as the other benches are, e.g.
//   SDL_AUDIODRIVER=dummy LIBGL_ALWAYS_SOFTWARE=1 xvfb-run -a bench/bench_media_load game/Media
#include <GL/gl.h>
#include <time.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "runtime/audio/sound_commands.h"
#include "runtime/core/entry.h"
#include "runtime/gfx/bmp_decoder.h"
#include "runtime/gfx/colour_key.h"
#include "runtime/gfx/image_file.h"
#include "runtime/gfx/jpeg_decoder.h"
#include "runtime/gfx/png_decoder.h"
#include "runtime/gfx/sprite_commands.h"
#include "runtime/gfx/text_commands.h"
#include "runtime/gfx/texture_upload.h"
#include "runtime/value/program_settings.h"

namespace tvk {

namespace {

struct Options {
    int rounds = 5;
    std::string folder;
};

Options& options() {
    static Options o;
    return o;
}

double now_ms() {
    timespec ts{};
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return static_cast<double>(ts.tv_sec) * 1e3 + static_cast<double>(ts.tv_nsec) / 1e6;
}

double median(std::vector<double> v) {
    if (v.empty()) return 0;
    std::sort(v.begin(), v.end());
    return v.size() % 2 ? v[v.size() / 2] : (v[v.size() / 2 - 1] + v[v.size() / 2]) / 2;
}

constexpr const char* kStages[] = {"read", "decode", "recolour", "texels", "upload", "mip build",
                                   "mip upload", "load_sprite", "load_font"};
constexpr int kStageCount = static_cast<int>(sizeof kStages / sizeof kStages[0]);

// One round of every stage for one picture; each stage's milliseconds into times.
void time_stages(const std::string& path, std::vector<std::vector<double>>& times) {
    double t = now_ms();
    auto lap = [&](int stage) {
        const double n = now_ms();
        times[static_cast<size_t>(stage)].push_back(n - t);
        t = n;
    };
    std::vector<uint8_t> bytes;
    if (!read_image_file(path, bytes)) return;
    lap(0);
    ImageBuffer image;
    if (!decode_bmp(image, bytes, kNoColourKey) && !decode_png(image, bytes, kNoColourKey) &&
        !decode_jpeg(image, bytes))
        return;
    lap(1);
    if (!image.has_alpha) recolour_transparent_edges(image);
    lap(2);
    std::vector<uint8_t> texels = texture_texels(image, 0, 0, image.width, image.height);
    int32_t tw = texture_side(image.width), th = texture_side(image.height);
    lap(3);
    GLuint names[2] = {0, 0};
    glGenTextures(2, names);
    glBindTexture(GL_TEXTURE_2D, names[0]);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, tw, th, 0, GL_RGBA, GL_UNSIGNED_BYTE, texels.data());
    glFinish();
    lap(4);
    std::vector<std::vector<uint8_t>> levels;
    make_square(texels, tw, th);
    int32_t side = tw;
    levels.push_back(texels);
    while (side > 1) {
        levels.push_back(next_mip_level(levels.back(), side, side));
        side /= 2;
    }
    lap(5);
    glBindTexture(GL_TEXTURE_2D, names[1]);
    side = tw;
    for (size_t level = 0; level < levels.size(); ++level, side = std::max(1, side / 2)) {
        glTexImage2D(GL_TEXTURE_2D, static_cast<GLint>(level), GL_RGBA8, side, side, 0, GL_RGBA,
                     GL_UNSIGNED_BYTE, levels[level].data());
    }
    glFinish();
    lap(6);
    glBindTexture(GL_TEXTURE_2D, 0);
    glDeleteTextures(2, names);
    t = now_ms();
    load_sprite(RtString(path.c_str()), 1);
    glFinish();
    lap(7);
    delete_sprite(1);
    if (path.size() > 4 && path.compare(path.size() - 4, 4, ".png") == 0) {
        t = now_ms();
        load_font(RtString(path.c_str()), 1);
        glFinish();
        lap(8);
    }
}

}  // namespace

void program_settings() {
    ProgramSettings& s = runtime_settings();
    s.screen_width = 480;
    s.screen_height = 640;
    s.frame_rate = 60;
    s.debug_mode = 1;
    s.application_name = RtString("media_load");
}

void program_main() {
    const Options& o = options();
    std::vector<std::filesystem::path> pictures, sounds;
    for (const auto& entry : std::filesystem::directory_iterator(o.folder)) {
        const std::string ext = entry.path().extension().string();
        if (ext == ".png" || ext == ".jpg") pictures.push_back(entry.path());
        if (ext == ".wav") sounds.push_back(entry.path());
    }
    std::sort(pictures.begin(), pictures.end());
    std::sort(sounds.begin(), sounds.end());

    std::printf("%-16s", "picture");
    for (const char* stage : kStages) std::printf(" %11s", stage);
    std::printf("\n");
    std::vector<double> sums(kStageCount, 0);
    for (const auto& picture : pictures) {
        std::vector<std::vector<double>> times(kStageCount);
        for (int r = 0; r < o.rounds; ++r) time_stages(picture.string(), times);
        std::printf("%-16s", picture.filename().string().c_str());
        for (int s = 0; s < kStageCount; ++s) {
            const double m = median(times[static_cast<size_t>(s)]);
            sums[static_cast<size_t>(s)] += m;
            if (times[static_cast<size_t>(s)].empty()) {
                std::printf(" %11s", "-");
            } else {
                std::printf(" %11.2f", m);
            }
        }
        std::printf("\n");
    }
    std::printf("%-16s", "sum");
    for (double s : sums) std::printf(" %11.2f", s);
    std::printf("\n\n%-16s %11s\n", "sound", "load_sound");
    double sound_sum = 0;
    for (const auto& sound : sounds) {
        std::vector<double> times;
        for (int r = 0; r < o.rounds; ++r) {
            const double t = now_ms();
            load_sound(RtString(sound.string().c_str()), 1, 1);
            times.push_back(now_ms() - t);
        }
        sound_sum += median(times);
        std::printf("%-16s %11.2f\n", sound.filename().string().c_str(), median(times));
    }
    std::printf("%-16s %11.2f\n", "sum", sound_sum);
    std::fflush(stdout);
    std::exit(0);
}

}  // namespace tvk

int main(int argc, char** argv) {
    tvk::Options& o = tvk::options();
    int i = 1;
    for (; i < argc && argv[i][0] == '-'; ++i) {
        if (!std::strcmp(argv[i], "--rounds") && i + 1 < argc) o.rounds = std::max(1, std::atoi(argv[++i]));
    }
    if (i >= argc) {
        std::fprintf(stderr, "usage: %s [--rounds R] folder\n", argv[0]);
        return 2;
    }
    // The runtime enters its own folder at start-up, so the folder is named absolutely.
    o.folder = std::filesystem::absolute(argv[i]).string();
    char* runtime_argv[] = {argv[0], nullptr};
    return tvk::runtime_main(1, runtime_argv);
}
