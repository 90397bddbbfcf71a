// JPEG files through libjpeg: three RGB components, baseline, alpha dropped.
#include <cstdio>
#include <csetjmp>
#include <memory>
#include <new>

#include <jpeglib.h>

#include "runtime/gfx/jpeg_writer.h"

namespace tvk {
namespace {

// libjpeg's standard error_exit prints and ends the process; ours jumps back into
// the encode, which then fails.
struct JpegWriteErrors {
    jpeg_error_mgr mgr;
    std::jmp_buf jump;
};

[[noreturn]] void on_jpeg_error(j_common_ptr cinfo) {
    std::longjmp(reinterpret_cast<JpegWriteErrors*>(cinfo->err)->jump, 1);
}
void on_jpeg_message(j_common_ptr) {}

// A destination that grows a vector, so that the buffer is ours to free whatever
// happens inside libjpeg.
struct VectorDestination {
    jpeg_destination_mgr mgr;
    std::vector<uint8_t>* file;
};

constexpr size_t kChunk = 64 * 1024;

void start_destination(j_compress_ptr cinfo) {
    auto* dest = reinterpret_cast<VectorDestination*>(cinfo->dest);
    dest->file->assign(kChunk, 0);
    dest->mgr.next_output_byte = dest->file->data();
    dest->mgr.free_in_buffer = kChunk;
}

boolean grow_destination(j_compress_ptr cinfo) {
    auto* dest = reinterpret_cast<VectorDestination*>(cinfo->dest);
    const size_t used = dest->file->size();
    bool grown = true;
    try {
        dest->file->resize(used + kChunk);
    } catch (const std::bad_alloc&) {
        grown = false;
    }
    if (!grown) on_jpeg_error(reinterpret_cast<j_common_ptr>(cinfo));
    dest->mgr.next_output_byte = dest->file->data() + used;
    dest->mgr.free_in_buffer = kChunk;
    return TRUE;
}

void finish_destination(j_compress_ptr cinfo) {
    auto* dest = reinterpret_cast<VectorDestination*>(cinfo->dest);
    dest->file->resize(dest->file->size() - dest->mgr.free_in_buffer);
}

// Everything the libjpeg calls touch lives here, outside the frame that calls setjmp.
struct JpegWriteJob {
    jpeg_compress_struct cinfo;
    JpegWriteErrors errors;
    VectorDestination destination;
    std::vector<uint8_t> row;
};

bool run_libjpeg(JpegWriteJob& job, const ImageBuffer& image, int32_t quality,
                 std::vector<uint8_t>& file) {
    if (setjmp(job.errors.jump)) return false;
    jpeg_create_compress(&job.cinfo);
    job.destination.file = &file;
    job.destination.mgr.init_destination = start_destination;
    job.destination.mgr.empty_output_buffer = grow_destination;
    job.destination.mgr.term_destination = finish_destination;
    job.cinfo.dest = &job.destination.mgr;
    job.cinfo.image_width = static_cast<JDIMENSION>(image.width);
    job.cinfo.image_height = static_cast<JDIMENSION>(image.height);
    job.cinfo.input_components = 3;
    job.cinfo.in_color_space = JCS_RGB;
    jpeg_set_defaults(&job.cinfo);
    jpeg_set_quality(&job.cinfo, quality, TRUE);
    jpeg_start_compress(&job.cinfo, TRUE);
    while (job.cinfo.next_scanline < job.cinfo.image_height) {
        const uint8_t* in = image.pixel(0, static_cast<int32_t>(job.cinfo.next_scanline));
        uint8_t* out = job.row.data();
        for (int32_t x = 0; x < image.width; ++x, in += 4, out += 3) {
            out[0] = in[0];
            out[1] = in[1];
            out[2] = in[2];
        }
        JSAMPROW rows[1] = {job.row.data()};
        jpeg_write_scanlines(&job.cinfo, rows, 1);
    }
    jpeg_finish_compress(&job.cinfo);
    return true;
}

}  // namespace

bool encode_jpeg(const ImageBuffer& image, int32_t quality, std::vector<uint8_t>& file) {
    if (!image_writable(image) || image.width > JPEG_MAX_DIMENSION ||
        image.height > JPEG_MAX_DIMENSION)
        return false;
    auto job = std::make_unique<JpegWriteJob>();
    try {
        job->row.resize(static_cast<size_t>(image.width) * 3);
    } catch (const std::bad_alloc&) {
        return false;
    }
    job->cinfo.err = jpeg_std_error(&job->errors.mgr);
    job->errors.mgr.error_exit = on_jpeg_error;
    job->errors.mgr.output_message = on_jpeg_message;
    const bool ok = run_libjpeg(*job, image, quality, file);
    jpeg_destroy_compress(&job->cinfo);
    if (!ok) file.clear();
    return ok;
}

}  // namespace tvk
