#include "runtime/gfx/jpeg_decoder.h"

#include <csetjmp>
#include <cstdio>
#include <cstring>
#include <new>
#include <string>
#include <vector>

#include <jpeglib.h>
#include <jerror.h>

#include "runtime/value/trace_log.h"

namespace tvk {
namespace {

// libjpeg's standard error_exit prints and ends the process; ours jumps back into
// the decode, which then fails.
struct JpegErrors {
    jpeg_error_mgr mgr;
    std::jmp_buf jump;
};

[[noreturn]] void on_jpeg_error(j_common_ptr cinfo) {
    std::longjmp(reinterpret_cast<JpegErrors*>(cinfo->err)->jump, 1);
}
void on_jpeg_message(j_common_ptr) {}

// Warnings are otherwise quiet, but data that ends early (the file, or a scan
// cut short by the next marker) fails the decode rather than giving a padded image.
void on_jpeg_emit(j_common_ptr cinfo, int level) {
    const int code = cinfo->err->msg_code;
    if (level < 0 && (code == JWRN_JPEG_EOF || code == JWRN_HIT_MARKER)) on_jpeg_error(cinfo);
}

// Everything the libjpeg calls touch lives here, outside the frame that calls
// setjmp, so that a jump back leaves no half-updated locals behind.
struct JpegJob {
    jpeg_decompress_struct cinfo;
    JpegErrors errors;
    std::vector<uint8_t> samples;
    uint32_t width = 0;
    uint32_t height = 0;
    int components = 0;
};

bool run_libjpeg(JpegJob& job, std::span<const uint8_t> file) {
    if (setjmp(job.errors.jump)) return false;
    jpeg_mem_src(&job.cinfo, file.data(), static_cast<unsigned long>(file.size()));
    jpeg_read_header(&job.cinfo, TRUE);
    job.cinfo.do_fancy_upsampling = FALSE;
    jpeg_calc_output_dimensions(&job.cinfo);
    job.width = job.cinfo.output_width;
    job.height = job.cinfo.output_height;
    job.components = job.cinfo.output_components;
    if (!image_size_acceptable(job.width, job.height)) return false;
    if (job.components != 1 && job.components != 3 && job.components != 4) return true;
    jpeg_start_decompress(&job.cinfo);
    const size_t row_bytes = static_cast<size_t>(job.width) * job.components;
    job.samples.resize(row_bytes * job.height);
    while (job.cinfo.output_scanline < job.height) {
        JSAMPROW row = job.samples.data() + row_bytes * job.cinfo.output_scanline;
        jpeg_read_scanlines(&job.cinfo, &row, 1);
    }
    jpeg_finish_decompress(&job.cinfo);
    return true;
}

}  // namespace

bool decode_jpeg(ImageBuffer& image, std::span<const uint8_t> file) {
    if (file.size() < 3 || file[0] != 0xFF || file[1] != 0xD8) return false;
    JpegJob job;
    job.cinfo.err = jpeg_std_error(&job.errors.mgr);
    job.errors.mgr.error_exit = on_jpeg_error;
    job.errors.mgr.output_message = on_jpeg_message;
    job.errors.mgr.emit_message = on_jpeg_emit;
    jpeg_create_decompress(&job.cinfo);
    // Progressive files keep whole coefficient planes; a header claiming a giant
    // image then fails inside libjpeg instead of taking the memory.
    job.cinfo.mem->max_memory_to_use = static_cast<long>(kMaxImageBytes);
    bool ok;
    try {
        ok = run_libjpeg(job, file);
    } catch (const std::bad_alloc&) {
        ok = false;
    }
    jpeg_destroy_decompress(&job.cinfo);
    if (!ok) return false;
    if (job.components != 1 && job.components != 3 && job.components != 4) {
        const std::string line =
            "JPEG: Channels: " + std::to_string(job.components) + " not supported!\n";
        log_line(line.c_str());
        return false;
    }
    if (!allocate_image(image, static_cast<int32_t>(job.width), static_cast<int32_t>(job.height)))
        return false;

    const uint8_t* in = job.samples.data();
    uint8_t* out = image.pixels.data();
    const size_t count = static_cast<size_t>(job.width) * job.height;
    for (size_t i = 0; i < count; ++i, out += 4, in += job.components) {
        if (job.components == 1) {
            out[0] = out[1] = out[2] = in[0];
            out[3] = 255;
        } else if (job.components == 3) {
            out[0] = in[0];
            out[1] = in[1];
            out[2] = in[2];
            out[3] = 255;
        } else {
            std::memcpy(out, in, 4);
        }
    }
    image.has_alpha = job.components == 4 ? 1 : 0;
    return true;
}

}  // namespace tvk
