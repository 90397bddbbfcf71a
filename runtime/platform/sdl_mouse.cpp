// Pointer services over SDL2.
#include <SDL.h>

#include "runtime/platform/mouse.h"

namespace tvk::platform {

void warp_pointer(Window* window, int32_t x, int32_t y) {
    if (!window || !SDL_WasInit(SDL_INIT_VIDEO)) return;
    SDL_WarpMouseInWindow(reinterpret_cast<SDL_Window*>(window), x, y);
}

void set_pointer_captured(bool captured) {
    if (!SDL_WasInit(SDL_INIT_VIDEO)) return;
    // Drivers without relative motion (offscreen, dummy) refuse; the pointer then
    // stays free and motion is read from its positions alone.
    SDL_SetRelativeMouseMode(captured ? SDL_TRUE : SDL_FALSE);
}

}  // namespace tvk::platform
