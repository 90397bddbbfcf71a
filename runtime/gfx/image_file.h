#pragma once
// Reading an image file through the decoders, as every image loader does.
#include <cstdint>
#include <string>
#include <vector>

#include "runtime/gfx/image_buffer.h"

namespace tvk {

// Reads a whole disk file or memory file into bytes. Fails for directories and
// unreadable files. The name must already be resolved (resolve_media_path).
bool read_image_file(const std::string& path, std::vector<uint8_t>& bytes);

// Reads the file and tries decode_bmp, decode_png and decode_jpeg in that order
// (each refuses files not of its format). An image whose transparency came only
// from the colour key then gets its transparent pixels recoloured.
bool load_image_file(ImageBuffer& image, const std::string& path, int32_t colour_key);

}  // namespace tvk
