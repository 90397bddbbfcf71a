#include "runtime/gfx/png_decoder.h"

#include <png.h>

#include <csetjmp>
#include <new>
#include <cstdio>
#include <cstring>
#include <vector>

#include "runtime/gfx/colour_key.h"

namespace tvk {
namespace {

struct PngSource {
    const uint8_t* data;
    size_t size;
    size_t position;
};

void read_from_memory(png_structp png, png_bytep out, size_t length) {
    auto* src = static_cast<PngSource*>(png_get_io_ptr(png));
    if (length > src->size - src->position) png_error(png, "unexpected end of file");
    std::memcpy(out, src->data + src->position, length);
    src->position += length;
}

// libpng's default handler prints and aborts through its own jump; ours only jumps
// back into decode_png, which then fails.
[[noreturn]] void on_png_error(png_structp png, png_const_charp) { png_longjmp(png, 1); }
void on_png_warning(png_structp, png_const_charp) {}

// Everything the libpng calls touch lives here, outside the frame that calls
// setjmp, so that a jump back leaves no half-updated locals behind.
struct PngJob {
    PngSource source;
    png_structp png = nullptr;
    png_infop info = nullptr;
    std::vector<png_bytep> rows;
    std::vector<uint8_t> samples;
    uint32_t width = 0;
    uint32_t height = 0;
    int channels = 0;
    int bit_depth = 0;
    int colour_type = 0;
};

enum class Stage { kFailed, kRefused, kBadDepth, kBadColourType, kDecoded };

// Returns kRefused for images it will not handle, kFailed for libpng errors.
Stage run_libpng(PngJob& job) {
    if (setjmp(png_jmpbuf(job.png))) return Stage::kFailed;
    png_set_read_fn(job.png, &job.source, read_from_memory);
    // Our own limits, checked by libpng before it allocates anything for the rows.
    png_set_user_limits(job.png, kMaxImageSide, kMaxImageSide);
    png_read_info(job.png, job.info);
    const int colour_type = png_get_color_type(job.png, job.info);
    const int bit_depth = png_get_bit_depth(job.png, job.info);
    if (colour_type == PNG_COLOR_TYPE_PALETTE) png_set_palette_to_rgb(job.png);
    if (colour_type == PNG_COLOR_TYPE_GRAY && bit_depth < 8) png_set_expand_gray_1_2_4_to_8(job.png);
    if (png_get_valid(job.png, job.info, PNG_INFO_tRNS)) png_set_tRNS_to_alpha(job.png);
    if (bit_depth == 16) png_set_strip_16(job.png);
    if (bit_depth < 8) png_set_packing(job.png);
    png_read_update_info(job.png, job.info);

    job.width = png_get_image_width(job.png, job.info);
    job.height = png_get_image_height(job.png, job.info);
    job.channels = png_get_channels(job.png, job.info);
    job.bit_depth = png_get_bit_depth(job.png, job.info);
    job.colour_type = png_get_color_type(job.png, job.info);
    if (job.channels != 1 && job.channels != 3 && job.channels != 4) return Stage::kRefused;
    if (job.bit_depth != 8) return Stage::kBadDepth;
    if (job.colour_type != PNG_COLOR_TYPE_GRAY && job.colour_type != PNG_COLOR_TYPE_RGB &&
        job.colour_type != PNG_COLOR_TYPE_RGB_ALPHA)
        return Stage::kBadColourType;
    if (!image_size_acceptable(job.width, job.height)) return Stage::kRefused;

    const size_t row_bytes = png_get_rowbytes(job.png, job.info);
    if (row_bytes != static_cast<size_t>(job.width) * job.channels) return Stage::kRefused;
    job.samples.resize(row_bytes * job.height);
    job.rows.resize(job.height);
    for (uint32_t y = 0; y < job.height; ++y) job.rows[y] = job.samples.data() + row_bytes * y;
    png_read_image(job.png, job.rows.data());
    png_read_end(job.png, nullptr);
    return Stage::kDecoded;
}

}  // namespace

bool decode_png(ImageBuffer& image, std::span<const uint8_t> file, int32_t colour_key,
                const char* name) {
    if (file.size() < 8 || file[1] != 'P' || file[2] != 'N' || file[3] != 'G') return false;
    PngJob job;
    job.source = {file.data(), file.size(), 0};
    job.png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, on_png_error, on_png_warning);
    if (!job.png) return false;
    job.info = png_create_info_struct(job.png);
    if (!job.info) {
        png_destroy_read_struct(&job.png, nullptr, nullptr);
        return false;
    }
    Stage stage;
    try {
        stage = run_libpng(job);
    } catch (const std::bad_alloc&) {
        stage = Stage::kFailed;
    }
    png_destroy_read_struct(&job.png, &job.info, nullptr);
    if (stage == Stage::kBadDepth) {
        std::printf("File %s has bit depth %d.\n", name, job.bit_depth);
        std::printf("Only bit depth of 8 is supported.");
    } else if (stage == Stage::kBadColourType) {
        std::printf("File %s has unsupported color type.\n", name);
        std::printf("Types GRAY, RGB and RGB_ALPHA are supported.");
    }
    if (stage != Stage::kDecoded) return false;
    if (!allocate_image(image, static_cast<int32_t>(job.width), static_cast<int32_t>(job.height)))
        return false;

    const uint8_t* in = job.samples.data();
    uint8_t* out = image.pixels.data();
    const size_t count = static_cast<size_t>(job.width) * job.height;
    for (size_t i = 0; i < count; ++i, out += 4, in += job.channels) {
        if (job.channels == 1) {
            out[0] = out[1] = out[2] = in[0];
            out[3] = 255;
        } else if (job.channels == 3) {
            if (matches_colour_key(colour_key, in[0], in[1], in[2])) {
                std::memset(out, 0, 4);
            } else {
                out[0] = in[0];
                out[1] = in[1];
                out[2] = in[2];
                out[3] = 255;
            }
        } else {
            std::memcpy(out, in, 4);
        }
    }
    image.has_alpha = 1;
    return true;
}

}  // namespace tvk
