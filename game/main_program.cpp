// Until the game's screens arrive: a moving colour band, flipped every frame until
// the player ends the program (Escape, Alt+F4 or closing the window).
#include <GL/gl.h>

#include <cmath>

#include "runtime/core/frame_flip.h"
#include "runtime/core/program_settings.h"
#include "runtime/gfx/opengl_rainbows.h"

namespace tvk {

void program_main() {
    for (int frame = 0;; ++frame) {
        int32_t width = 0, height = 0;
        get_screen_size(width, height);
        const float phase = static_cast<float>(frame) * 0.02f;
        const float band = static_cast<float>(height) * (0.5f + 0.4f * std::sin(phase));
        glBegin(GL_QUADS);
        glColor4f(0.5f + 0.5f * std::sin(phase), 0.5f + 0.5f * std::sin(phase + 2.1f),
                  0.5f + 0.5f * std::sin(phase + 4.2f), 1.0f);
        glVertex2f(0, band - 40);
        glVertex2f(static_cast<float>(width), band - 40);
        glVertex2f(static_cast<float>(width), band + 40);
        glVertex2f(0, band + 40);
        glEnd();
        flip_screen();
    }
}

}  // namespace tvk
