#include "runtime/core/frame_capture.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <vector>

#include "runtime/core/core_state.h"
#include "runtime/gfx/image_writer.h"
#include "runtime/gfx/screen_capture.h"
#include "runtime/gfx/sprite_commands.h"
#include "runtime/gfx/sprite_store.h"
#include "runtime/platform/environment.h"
#include "runtime/value/error_state.h"

namespace tvk {

namespace {

struct CaptureState {
    bool read = false;   // TAVRICK_CAPTURE looked at
    FrameCaptureRequest request;
    int64_t flips = 0;
};

CaptureState& capture_state() {
    static CaptureState state;
    return state;
}

void read_request(CaptureState& state) {
    state.read = true;
    const std::optional<std::string> value = platform::environment_variable("TAVRICK_CAPTURE");
    if (!value || value->empty()) return;
    const char* text = value->c_str();
    // A relative name means the folder the developer started the program from, which
    // start-up noted before it entered the executable's folder.
    if (!parse_frame_capture(text, core_state().start_folder, state.request)) {
        std::fprintf(stderr, "TAVRICK_CAPTURE=%s: expected N:FILE (N from 1, e.g. 60:shot.png); ignored\n",
                     text);
        std::fflush(stderr);
    }
}

}  // namespace

bool parse_frame_capture(const char* text, const std::string& start_folder, FrameCaptureRequest& request) {
    if (!text) return false;
    char* end = nullptr;
    errno = 0;
    const long long frame = std::strtoll(text, &end, 10);
    if (text[0] < '0' || text[0] > '9' || *end != ':' || errno != 0 || frame < 1) return false;
    const std::string file(end + 1);
    if (file.empty()) return false;
    request.frame = frame;
    request.path = file[0] == '/' || start_folder.empty() ? file : start_folder + "/" + file;
    return true;
}

bool save_frame(OpenGLRainbows& device, const std::string& path) {
    const int32_t slot = free_sprite_index();
    if (slot < 0) return false;
    // The window as the program draws it: sides swapped on a turned screen.
    const bool turned = device.screen.orientation == 1 || device.screen.orientation == 3;
    const int32_t width = turned ? device.display.window_height : device.display.window_width;
    const int32_t height = turned ? device.display.window_width : device.display.window_height;
    ImageBuffer image;
    const bool grabbed = grab_sprite(device, slot, 0, 0, width, height) && read_sprite_pixels(device, slot, image);
    delete_sprite(device, slot);
    if (!grabbed) return false;
    // The framebuffer's alpha (or the transparency key, without one) says nothing
    // about what the window showed.
    for (size_t i = 3; i < image.pixels.size(); i += 4) image.pixels[i] = 255;
    return write_image_file(path, image);
}

void capture_frame_if_asked(OpenGLRainbows& device) {
    CaptureState& state = capture_state();
    if (!state.read) read_request(state);
    if (state.request.frame == 0 || ++state.flips != state.request.frame) return;
    if (!save_frame(device, state.request.path)) {
        std::fprintf(stderr, "TAVRICK_CAPTURE: frame %lld could not be saved to %s\n",
                     static_cast<long long>(state.request.frame), state.request.path.c_str());
        std::fflush(stderr);
    }
    end_program();
}

}  // namespace tvk
