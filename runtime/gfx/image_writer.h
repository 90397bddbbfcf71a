#pragma once
// Writing images to files: PNG, JPEG or BMP (png_writer.h, jpeg_writer.h,
// bmp_writer.h), chosen by the end of the file name.
#include <string>

#include "runtime/gfx/image_buffer.h"

namespace tvk {

enum class ImageFileKind { png, jpeg, bmp };

// PNG for names of at least five characters ending in ".png", JPEG for names whose
// last three letters are "jpg", BMP for everything else; letters in any case.
ImageFileKind image_file_kind(const std::string& name);

// Encodes the image as its name asks (JPEG at quality 80) and writes it, replacing
// any file (or empty folder) of that name. Memory-file names are refused. False
// when the image cannot be encoded or the file cannot be written whole.
bool write_image_file(const std::string& path, const ImageBuffer& image);

}  // namespace tvk
