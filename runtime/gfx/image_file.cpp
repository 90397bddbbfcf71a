#include "runtime/gfx/image_file.h"

#include <cstdio>
#include <filesystem>
#include <new>

#include "runtime/gfx/bmp_decoder.h"
#include "runtime/gfx/colour_key.h"
#include "runtime/gfx/jpeg_decoder.h"
#include "runtime/gfx/png_decoder.h"

namespace tvk {

bool read_image_file(const std::string& path, std::vector<uint8_t>& bytes) {
    std::string native = path;
    for (char& c : native)
        if (c == '\\') c = '/';
    std::error_code ec;
    if (native.empty() || std::filesystem::is_directory(native, ec)) return false;
    std::FILE* f = std::fopen(native.c_str(), "rb");
    if (!f) return false;
    bool ok = false;
    if (std::fseek(f, 0, SEEK_END) == 0) {
        const long size = std::ftell(f);
        if (size >= 0 && std::fseek(f, 0, SEEK_SET) == 0) {
            try {
                bytes.resize(static_cast<size_t>(size));
                ok = std::fread(bytes.data(), 1, bytes.size(), f) == bytes.size();
            } catch (const std::bad_alloc&) {
                ok = false;
            }
        }
    }
    std::fclose(f);
    return ok;
}

bool load_image_file(ImageBuffer& image, const std::string& path, int32_t colour_key) {
    std::vector<uint8_t> bytes;
    if (!read_image_file(path, bytes)) return false;
    if (!decode_bmp(image, bytes, colour_key) && !decode_png(image, bytes, colour_key, path.c_str()) &&
        !decode_jpeg(image, bytes))
        return false;
    if (!image.has_alpha) recolour_transparent_edges(image);
    return true;
}

}  // namespace tvk
