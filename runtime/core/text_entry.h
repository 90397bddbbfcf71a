#pragma once
// The modal line editor's steps: one typed character applied, and the line drawn
// over the saved screen. The program's commands are in text_entry_commands.h.
#include <cstdint>

#include "runtime/core/text_entry_commands.h"
#include "runtime/value/rt_string.h"

namespace tvk {

// The background set that holds the screen behind the line while it is edited.
constexpr int32_t kTextEntryBackground = 3;
// Frames without a typed character before the cursor blinks on or off.
constexpr int32_t kCursorBlinkPasses = 20;

// The line being edited and its cursor.
struct TextEntry {
    RtString text;
    bool cursor_shown = false;
    int32_t empty_passes = 0;
};

// Applies one character from the typed-character queue: 10 or 13 ends the line
// (returns true), 8 removes the last character, 0 (nothing typed) counts towards
// the cursor's blink, anything else is appended.
bool text_entry_take(TextEntry& entry, uint8_t c);

// The saved background, then the line with a trailing "_" while the cursor shows.
void draw_text_entry(const TextEntry& entry, double x, double y, int32_t proportional);

}  // namespace tvk
