#pragma once
// The font and text commands of the compiled program, on the process's device:
// 32 fonts (0..31), each a picture of a 16-column grid of character cells; text in
// the current font at a position, fixed-width or proportional.
#include <cstdint>

#include "runtime/value/rt_string.h"

namespace tvk {

// A number outside 0..31 sets the error state to kErrBadFontNumber.
void set_font(int32_t n);
// Makes the file (BMP or PNG, keyed with the transparency colour) font n and the
// current font; when it cannot be loaded, "no such file" and the built-in font
// instead. An empty name empties the font's slot.
void load_font(const RtString& file_name, int32_t n);
// The text's top-left corner at (x, y), rounded up to whole pixels; a byte that
// maps to glyph 0 ends the text.
void print_text(const RtString& text, double x, double y, int32_t proportional);
int32_t text_width(const RtString& text, int32_t proportional);
// The current font's cell size.
void get_font_size(int32_t& cell_width, int32_t& cell_height);
void get_font_size(double& cell_width, double& cell_height);
// The highest font number without a picture; -1 when every font has one.
int32_t free_font_index();

}  // namespace tvk
