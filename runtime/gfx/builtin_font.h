#pragma once
// The built-in 8 by 8 font, installed as font 0 at start-up so that text works
// before (or without) a font file.
#include <cstdint>

#include "runtime/gfx/image_buffer.h"

namespace tvk {

class OpenGLRainbows;

// The font's picture: 128 glyphs on a 128 by 64 image, white shapes with a dark
// outline, codes 0..31 empty.
void build_builtin_font_image(ImageBuffer& image);
// Makes it font n (0..31) with fixed 8-pixel glyphs.
void install_builtin_font(OpenGLRainbows& device, int32_t n);

}  // namespace tvk
