#pragma once
// PNG images through libpng: grey, palette, RGB and RGBA, any bit depth, with the
// transparency chunk turned into alpha.
#include <cstdint>
#include <span>

#include "runtime/gfx/image_buffer.h"

namespace tvk {

// Decodes a whole PNG file held in memory. RGB pixels equal to the colour key (-1
// for none) become transparent black; grey pixels and pixels with their own alpha
// are taken as they are. The has-alpha flag ends as 1. Grey images with alpha are
// refused; libpng errors (corrupt or truncated data) fail the decode and never end
// the process.
// The name only appears in the messages about unsupported formats.
bool decode_png(ImageBuffer& image, std::span<const uint8_t> file, int32_t colour_key,
                const char* name = "");

}  // namespace tvk
