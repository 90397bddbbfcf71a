#pragma once
// Small image files made in memory for the decoder and sprite tests.
#include <png.h>

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include <jpeglib.h>

namespace tvk::testing_support {

using Bytes = std::vector<uint8_t>;

struct Rgb {
    uint8_t r, g, b;
    bool operator==(const Rgb&) const = default;
};

inline void put16(Bytes& b, uint32_t v) {
    b.push_back(v & 0xFF);
    b.push_back((v >> 8) & 0xFF);
}
inline void put32(Bytes& b, uint32_t v) {
    put16(b, v & 0xFFFF);
    put16(b, v >> 16);
}

// A BMP of the given pixels (rows top to bottom). For 1, 4 and 8 bits the palette
// holds the given colours and the pixels are indices into it.
struct BmpSpec {
    int bits = 24;
    int width = 0;
    int height = 0;
    bool top_down = false;
    bool core_header = false;
    std::vector<Rgb> palette;
    std::vector<uint32_t> values;  // palette index, 16-bit value, or 0xBBGGRR
};

inline Bytes make_bmp(const BmpSpec& s) {
    const uint32_t header = s.core_header ? 12 : 40;
    const uint32_t entry = s.core_header ? 3 : 4;
    const uint32_t offset = 14 + header + static_cast<uint32_t>(s.palette.size()) * entry;
    const uint32_t row_size = (s.width * s.bits + 31) / 32 * 4;
    Bytes b{'B', 'M'};
    put32(b, offset + row_size * s.height);
    put32(b, 0);
    put32(b, offset);
    put32(b, header);
    const int32_t h = s.top_down ? -s.height : s.height;
    if (s.core_header) {
        put16(b, s.width);
        put16(b, static_cast<uint16_t>(h));
        put16(b, 1);
        put16(b, s.bits);
    } else {
        put32(b, s.width);
        put32(b, static_cast<uint32_t>(h));
        put16(b, 1);
        put16(b, s.bits);
        for (int i = 0; i < 6; ++i) put32(b, 0);
    }
    for (const Rgb& c : s.palette) {
        b.push_back(c.b);
        b.push_back(c.g);
        b.push_back(c.r);
        if (entry == 4) b.push_back(0);
    }
    for (int fr = 0; fr < s.height; ++fr) {
        const int y = s.top_down ? fr : s.height - 1 - fr;
        Bytes row(row_size, 0);
        for (int x = 0; x < s.width; ++x) {
            const uint32_t v = s.values[y * s.width + x];
            switch (s.bits) {
            case 1: row[x / 8] |= (v & 1) << (7 - x % 8); break;
            case 4: row[x / 2] |= (x % 2) ? (v & 15) : ((v & 15) << 4); break;
            case 8: row[x] = v; break;
            case 16: row[x * 2] = v & 0xFF; row[x * 2 + 1] = v >> 8; break;
            default: {
                uint8_t* p = &row[x * (s.bits / 8)];
                p[0] = (v >> 16) & 0xFF;
                p[1] = (v >> 8) & 0xFF;
                p[2] = v & 0xFF;
                if (s.bits == 32) p[3] = 0x55;  // unused byte, must be ignored
            }
            }
        }
        b.insert(b.end(), row.begin(), row.end());
    }
    return b;
}

// A PNG written with libpng. rows: bytes per row as libpng expects them for the
// colour type and bit depth.
struct PngSpec {
    int width = 0;
    int height = 0;
    int colour_type = PNG_COLOR_TYPE_RGB;
    int bit_depth = 8;
    Bytes samples;  // rows packed one after the other
    std::vector<Rgb> palette;
    std::vector<uint8_t> trns_alpha;  // palette alphas
    bool trns_colour = false;
    png_color_16 trns_value{};
};

inline void png_write_to_vector(png_structp png, png_bytep data, size_t length) {
    auto* out = static_cast<Bytes*>(png_get_io_ptr(png));
    out->insert(out->end(), data, data + length);
}
inline void png_flush_nothing(png_structp) {}

inline Bytes make_png(const PngSpec& s) {
    Bytes out;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        return {};
    }
    png_set_write_fn(png, &out, png_write_to_vector, png_flush_nothing);
    png_set_IHDR(png, info, s.width, s.height, s.bit_depth, s.colour_type, PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    std::vector<png_color> pal;
    for (const Rgb& c : s.palette) pal.push_back({c.r, c.g, c.b});
    if (!pal.empty()) png_set_PLTE(png, info, pal.data(), static_cast<int>(pal.size()));
    if (!s.trns_alpha.empty())
        png_set_tRNS(png, info, s.trns_alpha.data(), static_cast<int>(s.trns_alpha.size()), nullptr);
    if (s.trns_colour) png_set_tRNS(png, info, nullptr, 0, &s.trns_value);
    png_write_info(png, info);
    const size_t row_bytes = s.samples.size() / s.height;
    for (int y = 0; y < s.height; ++y)
        png_write_row(png, const_cast<uint8_t*>(s.samples.data() + row_bytes * y));
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    return out;
}

// A baseline JPEG at quality 100 of 1 (grey) or 3 (RGB) components per pixel.
inline Bytes make_jpeg(int width, int height, int components, const Bytes& samples,
                       bool progressive = false) {
    jpeg_compress_struct cinfo;
    jpeg_error_mgr err;
    cinfo.err = jpeg_std_error(&err);
    jpeg_create_compress(&cinfo);
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&cinfo, &buffer, &size);
    cinfo.image_width = width;
    cinfo.image_height = height;
    cinfo.input_components = components;
    cinfo.in_color_space = components == 1 ? JCS_GRAYSCALE : JCS_RGB;
    jpeg_set_defaults(&cinfo);
    jpeg_set_quality(&cinfo, 100, TRUE);
    if (progressive) {
        jpeg_simple_progression(&cinfo);
        cinfo.comp_info[0].h_samp_factor = cinfo.comp_info[0].v_samp_factor = 1;  // 4:4:4
    }
    jpeg_start_compress(&cinfo, TRUE);
    while (cinfo.next_scanline < cinfo.image_height) {
        JSAMPROW row = const_cast<uint8_t*>(samples.data() + cinfo.next_scanline * width * components);
        jpeg_write_scanlines(&cinfo, &row, 1);
    }
    jpeg_finish_compress(&cinfo);
    jpeg_destroy_compress(&cinfo);
    Bytes out(buffer, buffer + size);
    std::free(buffer);
    return out;
}

inline std::string as_string(const Bytes& b) { return std::string(b.begin(), b.end()); }

}  // namespace tvk::testing_support
