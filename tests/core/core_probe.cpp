// A small program on the runtime for the end-to-end tests: it names the handlers
// the runtime calls and reports them, its working folder and its frames on
// standard output, and otherwise just flips frames until it is ended.
#include <unistd.h>

#include <cstdio>
#include <cstdlib>

#include "runtime/core/entry.h"
#include "runtime/core/frame_flip.h"
#include "runtime/core/named_handlers.h"
#include "runtime/value/error_state.h"
#include "runtime/value/program_settings.h"

namespace tvk {

namespace {

void say(const char* text) {
    std::puts(text);
    std::fflush(stdout);
}

const NamedHandler kHandlers[] = {
    {[] { say("pause handler"); }, "TVK_ON_PAUSE"},
    {[] { say("resume handler"); }, "TVK_ON_RESUME"},
    {[] { say("quit handler"); }, "TVK_ON_QUIT"},
    {nullptr, nullptr},
};

}  // namespace

void program_settings() {
    ProgramSettings& s = runtime_settings();
    s.screen_width = 320;
    s.screen_height = 240;
    s.hide_system_pointer = 1;
    s.frame_rate = 60;
    s.application_name = RtString("CoreProbe");
    set_named_handler_table(kHandlers);
}

void program_main() {
    char folder[4096];
    if (getcwd(folder, sizeof folder)) std::printf("cwd=%s\n", folder);
    say("running");
    const char* limit = std::getenv("PROBE_FRAMES");
    const int frames = limit ? std::atoi(limit) : -1;
    for (int frame = 1;; ++frame) {
        flip_screen();
        if (frame % 30 == 0) say("tick");
        if (frame == frames) end_program();
    }
}

}  // namespace tvk
