// The event service over SDL2's event queue.
#include <SDL.h>

#include <array>
#include <cstring>

#include "runtime/platform/events.h"
#include "runtime/platform/key_codes.h"

namespace tvk::platform {

namespace {

struct InputRecord {
    std::array<uint8_t, 256> keys{};
    std::array<uint8_t, 256> pressed{};  // pressed since the last sample
    std::array<uint8_t, 256> sample{};
    PointerRecord pointer;
};

InputRecord& record() {
    static InputRecord r;
    return r;
}

// Typed text arrives as UTF-8; the runtime's text is single-byte, so characters
// beyond Latin-1 are dropped.
uint8_t fold_to_latin1(const char* utf8, uint8_t* out, size_t room) {
    size_t n = 0;
    const auto* s = reinterpret_cast<const unsigned char*>(utf8);
    while (*s && n < room) {
        uint32_t c = *s++;
        if (c >= 0x80) {
            int extra = c >= 0xF0 ? 3 : c >= 0xE0 ? 2 : c >= 0xC0 ? 1 : 0;
            c &= extra == 3 ? 0x07u : extra == 2 ? 0x0Fu : 0x1Fu;
            for (; extra > 0 && (*s & 0xC0) == 0x80; --extra) c = (c << 6) | (*s++ & 0x3Fu);
            if (extra != 0) continue;
        }
        if (c <= 0xFF) out[n++] = static_cast<uint8_t>(c);
    }
    return static_cast<uint8_t>(n);
}

void translate(const SDL_Event& e, Event& out) {
    out = Event{};
    InputRecord& r = record();
    switch (e.type) {
        case SDL_WINDOWEVENT:
            out.window_id = e.window.windowID;
            if (e.window.event == SDL_WINDOWEVENT_FOCUS_LOST) {
                out.kind = EventKind::focus_lost;
                // Keys held while the focus goes elsewhere are released there.
                r.keys.fill(0);
                r.pressed.fill(0);
            } else if (e.window.event == SDL_WINDOWEVENT_FOCUS_GAINED) {
                out.kind = EventKind::focus_gained;
            } else if (e.window.event == SDL_WINDOWEVENT_CLOSE) {
                out.kind = EventKind::close_request;
            } else if (e.window.event == SDL_WINDOWEVENT_SIZE_CHANGED) {
                out.kind = EventKind::resized;
                out.width = e.window.data1;
                out.height = e.window.data2;
            }
            break;
        case SDL_QUIT:
            out.kind = EventKind::close_request;
            break;
        case SDL_KEYDOWN:
        case SDL_KEYUP:
            out.kind = e.type == SDL_KEYDOWN ? EventKind::key_down : EventKind::key_up;
            out.window_id = e.key.windowID;
            out.key_code = key_code_of_usage(e.key.keysym.scancode);
            out.repeat = e.key.repeat != 0;
            out.alt = (e.key.keysym.mod & KMOD_ALT) != 0;
            if (out.key_code != 0) {
                r.keys[out.key_code] = e.type == SDL_KEYDOWN ? 0x80 : 0;
                if (e.type == SDL_KEYDOWN) r.pressed[out.key_code] = 0x80;
            }
            break;
        case SDL_TEXTINPUT:
            out.kind = EventKind::text_input;
            out.window_id = e.text.windowID;
            out.text_length = fold_to_latin1(e.text.text, out.text, sizeof out.text);
            break;
        case SDL_MOUSEMOTION:
            out.kind = EventKind::pointer_motion;
            out.window_id = e.motion.windowID;
            out.x = r.pointer.x = e.motion.x;
            out.y = r.pointer.y = e.motion.y;
            break;
        case SDL_MOUSEBUTTONDOWN:
        case SDL_MOUSEBUTTONUP: {
            const bool down = e.type == SDL_MOUSEBUTTONDOWN;
            out.kind = down ? EventKind::button_down : EventKind::button_up;
            out.window_id = e.button.windowID;
            out.button = e.button.button == SDL_BUTTON_LEFT     ? 1
                         : e.button.button == SDL_BUTTON_MIDDLE ? 2
                         : e.button.button == SDL_BUTTON_RIGHT  ? 3
                                                                : 0;
            out.x = r.pointer.x = e.button.x;
            out.y = r.pointer.y = e.button.y;
            if (out.button == 1) r.pointer.left = down;
            if (out.button == 2) r.pointer.middle = down;
            if (out.button == 3) r.pointer.right = down;
            if (down && out.button == 1) r.pointer.pressed_left = true;
            if (down && out.button == 2) r.pointer.pressed_middle = true;
            if (down && out.button == 3) r.pointer.pressed_right = true;
            break;
        }
        case SDL_MOUSEWHEEL:
            out.kind = EventKind::wheel;
            out.window_id = e.wheel.windowID;
            out.wheel = e.wheel.direction == SDL_MOUSEWHEEL_FLIPPED ? -e.wheel.y : e.wheel.y;
            r.pointer.wheel += out.wheel;
            break;
        default:
            break;
    }
}

}  // namespace

bool event_pending() {
    if (!SDL_WasInit(SDL_INIT_EVENTS)) return false;
    SDL_PumpEvents();
    return SDL_PeepEvents(nullptr, 1, SDL_PEEKEVENT, SDL_FIRSTEVENT, SDL_LASTEVENT) > 0;
}

bool poll_event(Event& event) {
    if (!SDL_WasInit(SDL_INIT_EVENTS)) return false;
    SDL_Event e;
    // SDL ends each poll cycle with a marker event; a drain that stopped at the
    // marker leaves nothing but it in front of events queued since, so one more
    // poll reaches them instead of leaving them for the next frame.
    if (SDL_PollEvent(&e) == 0 && SDL_PollEvent(&e) == 0) return false;
    translate(e, event);
    return true;
}

bool post_event(const Event& event) {
    if (!SDL_WasInit(SDL_INIT_EVENTS)) return false;
    SDL_Event e;
    std::memset(&e, 0, sizeof e);
    switch (event.kind) {
        case EventKind::focus_lost:
        case EventKind::focus_gained:
        case EventKind::close_request:
        case EventKind::resized:
            e.type = SDL_WINDOWEVENT;
            e.window.windowID = event.window_id;
            e.window.event = event.kind == EventKind::focus_lost     ? SDL_WINDOWEVENT_FOCUS_LOST
                             : event.kind == EventKind::focus_gained ? SDL_WINDOWEVENT_FOCUS_GAINED
                             : event.kind == EventKind::resized      ? SDL_WINDOWEVENT_SIZE_CHANGED
                                                                     : SDL_WINDOWEVENT_CLOSE;
            e.window.data1 = event.width;
            e.window.data2 = event.height;
            break;
        case EventKind::key_down:
        case EventKind::key_up:
            e.type = event.kind == EventKind::key_down ? SDL_KEYDOWN : SDL_KEYUP;
            e.key.windowID = event.window_id;
            e.key.state = event.kind == EventKind::key_down ? SDL_PRESSED : SDL_RELEASED;
            e.key.repeat = event.repeat ? 1 : 0;
            e.key.keysym.scancode = static_cast<SDL_Scancode>(usage_of_key_code(event.key_code));
            e.key.keysym.mod = event.alt ? KMOD_LALT : KMOD_NONE;
            break;
        case EventKind::text_input: {
            e.type = SDL_TEXTINPUT;
            e.text.windowID = event.window_id;
            // Latin-1 bytes back to UTF-8.
            size_t n = 0;
            for (uint8_t i = 0; i < event.text_length && n + 2 < sizeof e.text.text; ++i) {
                const uint8_t c = event.text[i];
                if (c < 0x80) {
                    e.text.text[n++] = static_cast<char>(c);
                } else {
                    e.text.text[n++] = static_cast<char>(0xC0 | (c >> 6));
                    e.text.text[n++] = static_cast<char>(0x80 | (c & 0x3F));
                }
            }
            break;
        }
        case EventKind::pointer_motion:
            e.type = SDL_MOUSEMOTION;
            e.motion.windowID = event.window_id;
            e.motion.x = event.x;
            e.motion.y = event.y;
            break;
        case EventKind::button_down:
        case EventKind::button_up:
            e.type = event.kind == EventKind::button_down ? SDL_MOUSEBUTTONDOWN : SDL_MOUSEBUTTONUP;
            e.button.windowID = event.window_id;
            e.button.button = static_cast<Uint8>(event.button == 1   ? SDL_BUTTON_LEFT
                                                 : event.button == 2 ? SDL_BUTTON_MIDDLE
                                                                     : SDL_BUTTON_RIGHT);
            e.button.state = event.kind == EventKind::button_down ? SDL_PRESSED : SDL_RELEASED;
            e.button.x = event.x;
            e.button.y = event.y;
            break;
        case EventKind::wheel:
            e.type = SDL_MOUSEWHEEL;
            e.wheel.windowID = event.window_id;
            e.wheel.y = event.wheel;
            break;
        case EventKind::other:
            e.type = SDL_USEREVENT;
            break;
    }
    return SDL_PushEvent(&e) == 1;
}

const uint8_t* key_states() {
    InputRecord& r = record();
    for (size_t i = 0; i < r.sample.size(); ++i) r.sample[i] = r.keys[i] | r.pressed[i];
    r.pressed.fill(0);
    return r.sample.data();
}

void clear_key_states() {
    record().keys.fill(0);
    record().pressed.fill(0);
}

PointerRecord pointer_record() { return record().pointer; }

void end_pointer_sample() {
    PointerRecord& p = record().pointer;
    p.pressed_left = p.pressed_right = p.pressed_middle = false;
}

}  // namespace tvk::platform
