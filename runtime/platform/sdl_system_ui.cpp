// Desktop services over SDL2.
#include <SDL.h>
#include <unistd.h>

#include <cstdio>

#include "runtime/platform/processes.h"
#include "runtime/platform/system_ui.h"

namespace tvk::platform {

namespace {

std::string& stand_in_program() {
    static std::string program;
    return program;
}

}  // namespace

void set_arrow_pointer() {
    static SDL_Cursor* arrow = nullptr;
    if (!SDL_WasInit(SDL_INIT_VIDEO)) return;
    if (!arrow) arrow = SDL_CreateSystemCursor(SDL_SYSTEM_CURSOR_ARROW);
    if (arrow) SDL_SetCursor(arrow);
}

void show_pointer(bool shown) {
    if (SDL_WasInit(SDL_INIT_VIDEO)) SDL_ShowCursor(shown ? SDL_ENABLE : SDL_DISABLE);
}

void set_screensaver_allowed(bool allowed) {
    if (!SDL_WasInit(SDL_INIT_VIDEO)) return;
    if (allowed) {
        SDL_EnableScreenSaver();
    } else {
        SDL_DisableScreenSaver();
    }
}

bool screensaver_allowed() { return SDL_IsScreenSaverEnabled() == SDL_TRUE; }

void show_message_box(Window* parent, const char* title, const char* text, bool warning) {
    if (!stand_in_program().empty()) {
        int64_t status = 0;
        const std::vector<std::string> words = {stand_in_program(), title ? title : "", text ? text : "",
                                                warning ? "warning" : "information"};
        run_program(words, true, false, status);
        return;
    }
    SDL_ShowSimpleMessageBox(warning ? SDL_MESSAGEBOX_WARNING : SDL_MESSAGEBOX_INFORMATION, title,
                             text, reinterpret_cast<SDL_Window*>(parent));
}

void set_message_box_program(const std::string& program) { stand_in_program() = program; }

void beep() {
    // The terminal bell is the only sound every desktop has; it is only rung
    // where someone can hear it.
    if (isatty(STDERR_FILENO)) {
        std::fputc('\a', stderr);
        std::fflush(stderr);
    }
}

}  // namespace tvk::platform
