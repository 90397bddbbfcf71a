#pragma once
// Writing images to files: PNG through libpng, JPEG through libjpeg, and the
// runtime's own 24-bit BMP, chosen by the end of the file name.
#include <cstdint>
#include <string>
#include <vector>

#include "runtime/gfx/image_buffer.h"

namespace tvk {

enum class ImageFileKind { png, jpeg, bmp };

// PNG for names of at least five characters ending in ".png", JPEG for names whose
// last three letters are "jpg", BMP for everything else; letters in any case.
ImageFileKind image_file_kind(const std::string& name);

// True when the image's sizes are positive, within the decoders' limits, and its
// pixel block holds them. Every encoder refuses other images.
bool image_writable(const ImageBuffer& image);

// Whole files in memory. Library errors fail the encode; they never end the process.
bool encode_png(const ImageBuffer& image, std::vector<uint8_t>& file);
// Alpha is dropped.
bool encode_jpeg(const ImageBuffer& image, int32_t quality, std::vector<uint8_t>& file);
// Bottom-up 24-bit rows padded to four bytes; a pixel whose alpha is not 255 is
// written as red 255, green 0, blue 128 (the default transparency colour), so the
// file loads back with those pixels transparent.
bool encode_bmp(const ImageBuffer& image, std::vector<uint8_t>& file);

// Encodes the image as its name asks (JPEG at quality 80) and writes it, replacing
// any file (or empty folder) of that name. Memory-file names are refused. False
// when the image cannot be encoded or the file cannot be written whole.
bool write_image_file(const std::string& path, const ImageBuffer& image);

}  // namespace tvk
