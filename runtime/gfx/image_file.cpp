#include "runtime/gfx/image_file.h"

#include <new>

#include "runtime/files/file_record.h"
#include "runtime/gfx/bmp_decoder.h"
#include "runtime/gfx/colour_key.h"
#include "runtime/gfx/jpeg_decoder.h"
#include "runtime/gfx/png_decoder.h"

namespace tvk {

bool read_image_file(const std::string& path, std::vector<uint8_t>& bytes) {
    FileRecord record;
    if (!file_open_read(record, path.c_str())) return false;
    bool ok = false;
    try {
        bytes.resize(static_cast<size_t>(record.size));
        ok = file_read(record, bytes.data(), record.size) == 1;
    } catch (const std::bad_alloc&) {
        ok = false;
    }
    file_close(record);
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
