// PNG files through libpng: 8-bit RGBA, no interlace, default compression.
#include <png.h>

#include <csetjmp>
#include <new>

#include "runtime/gfx/png_writer.h"

namespace tvk {
namespace {

void append_bytes(png_structp png, png_bytep data, size_t length) {
    auto* out = static_cast<std::vector<uint8_t>*>(png_get_io_ptr(png));
    try {
        out->insert(out->end(), data, data + length);
    } catch (const std::bad_alloc&) {
        png_error(png, "out of memory");
    }
}
void flush_nothing(png_structp) {}

// libpng's own error handler prints and aborts; ours jumps back into the encode.
[[noreturn]] void on_png_error(png_structp png, png_const_charp) { png_longjmp(png, 1); }
void on_png_warning(png_structp, png_const_charp) {}

// Everything the libpng calls touch lives here, outside the frame that calls setjmp.
struct PngWriteJob {
    png_structp png = nullptr;
    png_infop info = nullptr;
    std::vector<png_bytep> rows;
};

bool run_libpng(PngWriteJob& job, const ImageBuffer& image, std::vector<uint8_t>& file) {
    if (setjmp(png_jmpbuf(job.png))) return false;
    png_set_write_fn(job.png, &file, append_bytes, flush_nothing);
    png_set_IHDR(job.png, job.info, static_cast<png_uint_32>(image.width),
                 static_cast<png_uint_32>(image.height), 8, PNG_COLOR_TYPE_RGB_ALPHA,
                 PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_write_info(job.png, job.info);
    png_write_image(job.png, job.rows.data());
    png_write_end(job.png, job.info);
    return true;
}

}  // namespace

bool encode_png(const ImageBuffer& image, std::vector<uint8_t>& file) {
    if (!image_writable(image)) return false;
    file.clear();
    PngWriteJob job;
    try {
        job.rows.resize(static_cast<size_t>(image.height));
    } catch (const std::bad_alloc&) {
        return false;
    }
    for (int32_t y = 0; y < image.height; ++y)
        job.rows[static_cast<size_t>(y)] = const_cast<png_bytep>(image.pixel(0, y));
    job.png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, on_png_error, on_png_warning);
    if (!job.png) return false;
    job.info = png_create_info_struct(job.png);
    const bool ok = job.info && run_libpng(job, image, file);
    png_destroy_write_struct(&job.png, job.info ? &job.info : nullptr);
    if (!ok) file.clear();
    return ok;
}

}  // namespace tvk
