// Choosing the file format by the name and writing the encoded file.
#include "runtime/gfx/image_writer.h"

#include <cctype>
#include <cstdio>

#include "runtime/files/memory_files.h"
#include "runtime/files/path_names.h"
#include "runtime/files/whole_file_write.h"
#include "runtime/gfx/bmp_writer.h"
#include "runtime/gfx/jpeg_writer.h"
#include "runtime/gfx/png_writer.h"

namespace tvk {
namespace {

constexpr int32_t kJpegQuality = 80;

bool ends_with_letters(const std::string& name, const char* end) {
    const size_t n = std::char_traits<char>::length(end);
    if (name.size() < n) return false;
    for (size_t i = 0; i < n; ++i) {
        const auto a = static_cast<unsigned char>(name[name.size() - n + i]);
        if (std::tolower(a) != end[i]) return false;
    }
    return true;
}

// Replaces the file whole (written beside, flushed and renamed over it), so a failed
// write leaves what was there before.
bool write_whole_file(const std::string& name, const std::vector<uint8_t>& bytes) {
    return write_file_whole(name, std::string(bytes.begin(), bytes.end()));
}

}  // namespace

ImageFileKind image_file_kind(const std::string& name) {
    if (name.size() >= 5 && ends_with_letters(name, ".png")) return ImageFileKind::png;
    if (ends_with_letters(name, "jpg")) return ImageFileKind::jpeg;
    return ImageFileKind::bmp;
}

bool write_image_file(const std::string& path, const ImageBuffer& image) {
    if (path.empty() || is_memory_file_name(path.c_str())) return false;
    std::vector<uint8_t> file;
    bool encoded = false;
    switch (image_file_kind(path)) {
    case ImageFileKind::png: encoded = encode_png(image, file); break;
    case ImageFileKind::jpeg: encoded = encode_jpeg(image, kJpegQuality, file); break;
    case ImageFileKind::bmp: encoded = encode_bmp(image, file); break;
    }
    return encoded && write_whole_file(path, file);
}

}  // namespace tvk
