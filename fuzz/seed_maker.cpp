// Writes the seed corpora of the fuzz targets into DIR/<target>/, made with the
// runtime's own encoders and archive packer plus small hand-built files for the
// variants no encoder writes (palette and 16-bit BMPs, wave chunk layouts, ...).
//   fuzz_seed_maker DIR
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "runtime/files/archive_format.h"
#include "runtime/gfx/bmp_writer.h"
#include "runtime/gfx/image_buffer.h"
#include "runtime/gfx/jpeg_writer.h"
#include "runtime/gfx/png_writer.h"
#include "runtime/value/text_cipher.h"

namespace {

namespace fs = std::filesystem;
using Bytes = std::vector<uint8_t>;

fs::path g_root;

void save(const std::string& target, const std::string& name, const Bytes& bytes) {
    const fs::path dir = g_root / target;
    fs::create_directories(dir);
    std::ofstream out(dir / name, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

void save_text(const std::string& target, const std::string& name, const std::string& text) {
    save(target, name, Bytes(text.begin(), text.end()));
}

void put16(Bytes& b, uint32_t v) {
    b.push_back(static_cast<uint8_t>(v));
    b.push_back(static_cast<uint8_t>(v >> 8));
}
void put32(Bytes& b, uint32_t v) {
    put16(b, v & 0xffff);
    put16(b, v >> 16);
}
void put_text(Bytes& b, const char* s) {
    while (*s) b.push_back(static_cast<uint8_t>(*s++));
}

// A small picture with some transparent pixels and the default key colour.
tvk::ImageBuffer picture(int32_t w, int32_t h, bool glyph_grid = false) {
    tvk::ImageBuffer image;
    tvk::allocate_image(image, w, h);
    for (int32_t y = 0; y < h; ++y) {
        for (int32_t x = 0; x < w; ++x) {
            uint8_t* p = image.pixel(x, y);
            p[0] = static_cast<uint8_t>(x * 37);
            p[1] = static_cast<uint8_t>(y * 53);
            p[2] = static_cast<uint8_t>((x ^ y) * 11);
            p[3] = ((x + y) % 5 == 0) ? 0 : 255;
            if (glyph_grid) {
                // Ink in a few columns of every cell, blank cells now and then.
                const int32_t cw = w / 16, cell = (y / (h / 8 ? h / 8 : 1)) * 16 + x / (cw ? cw : 1);
                const int32_t col = cw ? x % cw : 0;
                p[3] = (cell % 7 != 0 && col >= cell % 3 && col < cw - 1 - cell % 2) ? 255 : 0;
                if (p[3] == 0) p[0] = 255, p[1] = 0, p[2] = 128;
            }
        }
    }
    image.has_alpha = 1;
    return image;
}

// A BMP with an info header (or a core header) and the given pixel rows as stored.
Bytes bmp(int32_t w, int32_t h, uint16_t bits, const Bytes& palette, const Bytes& rows, bool core = false) {
    Bytes b;
    const uint32_t header = core ? 12 : 40;
    const uint32_t offset = 14 + header + static_cast<uint32_t>(palette.size());
    put_text(b, "BM");
    put32(b, offset + static_cast<uint32_t>(rows.size()));
    put32(b, 0);
    put32(b, offset);
    put32(b, header);
    if (core) {
        put16(b, static_cast<uint32_t>(w));
        put16(b, static_cast<uint32_t>(h));
        put16(b, 1);
        put16(b, bits);
    } else {
        put32(b, static_cast<uint32_t>(w));
        put32(b, static_cast<uint32_t>(h));
        put16(b, 1);
        put16(b, bits);
        put32(b, 0);
        put32(b, static_cast<uint32_t>(rows.size()));
        put32(b, 2835);
        put32(b, 2835);
        put32(b, static_cast<uint32_t>(palette.size() / 4));
        put32(b, 0);
    }
    b.insert(b.end(), palette.begin(), palette.end());
    b.insert(b.end(), rows.begin(), rows.end());
    return b;
}

void bmp_seeds(const std::string& target) {
    Bytes file;
    if (tvk::encode_bmp(picture(5, 3), file)) save(target, "rgb24.bmp", file);
    if (tvk::encode_bmp(picture(1, 1), file)) save(target, "one.bmp", file);
    Bytes pal4, pal3;
    for (int i = 0; i < 16; ++i) {
        const Bytes e = {static_cast<uint8_t>(i * 16), static_cast<uint8_t>(255 - i * 16), static_cast<uint8_t>(i), 0};
        pal4.insert(pal4.end(), e.begin(), e.end());
        pal3.insert(pal3.end(), e.begin(), e.begin() + 3);
    }
    save(target, "pal8.bmp", bmp(3, 2, 8, pal4, {0, 1, 15, 0, 2, 3, 4, 0}));
    save(target, "pal4.bmp", bmp(5, 2, 4, pal4, {0x01, 0x23, 0x40, 0, 0xfe, 0xdc, 0xb0, 0}));
    save(target, "pal1.bmp", bmp(9, 2, 1, Bytes(pal4.begin(), pal4.begin() + 8), {0xa5, 0x80, 0, 0, 0x5a, 0x00, 0, 0}));
    save(target, "rgb555.bmp", bmp(2, 2, 16, {}, {0x1f, 0x00, 0xe0, 0x03, 0x00, 0x7c, 0xff, 0x7f}));
    save(target, "rgb32.bmp", bmp(2, 1, 32, {}, {1, 2, 3, 4, 0x80, 0, 0xff, 0}));
    save(target, "topdown.bmp", bmp(2, -2, 24, {}, {1, 2, 3, 4, 5, 6, 0, 0, 7, 8, 9, 10, 11, 12, 0, 0}));
    save(target, "core8.bmp", bmp(2, 2, 8, pal3, {1, 2, 0, 0, 3, 4, 0, 0}, true));
}

Bytes wave(uint16_t tag, uint16_t channels, uint16_t bits, const Bytes& samples, bool extra_chunk) {
    Bytes b;
    put_text(b, "RIFF");
    put32(b, 0);
    put_text(b, "WAVE");
    if (extra_chunk) {
        put_text(b, "LIST");
        put32(b, 4);
        put_text(b, "INFO");
    }
    put_text(b, "fmt ");
    const bool extensible = tag == 0xfffe;
    put32(b, extensible ? 40 : 16);
    put16(b, tag);
    put16(b, channels);
    put32(b, 22050);
    put32(b, 22050u * channels * bits / 8);
    put16(b, channels * bits / 8u);
    put16(b, bits);
    if (extensible) {
        put16(b, 22);
        put16(b, bits);
        put32(b, 3);
        put16(b, 1);  // the PCM sub-format
        for (int i = 0; i < 14; ++i) b.push_back(0);
    }
    if (extra_chunk) {
        put_text(b, "fact");
        put32(b, 4);
        put32(b, static_cast<uint32_t>(samples.size()));
    }
    put_text(b, "data");
    put32(b, static_cast<uint32_t>(samples.size()));
    b.insert(b.end(), samples.begin(), samples.end());
    const uint32_t riff = static_cast<uint32_t>(b.size() - 8);
    for (int i = 0; i < 4; ++i) b[4 + i] = static_cast<uint8_t>(riff >> (8 * i));
    return b;
}

Bytes sample_bytes(size_t n) {
    Bytes b(n);
    for (size_t i = 0; i < n; ++i) b[i] = static_cast<uint8_t>((i * 29) ^ (i >> 3));
    return b;
}

std::vector<tvk::ArchiveInput> archive_members() {
    std::vector<tvk::ArchiveInput> members;
    const std::string text = "[Settings]\r\nvolume=80\r\nname=player one\r\n";
    members.push_back({"settings.ini", Bytes(text.begin(), text.end())});
    members.push_back({"Tile.bmp", sample_bytes(300)});
    members.push_back({"empty.txt", {}});
    Bytes repeats(600, 'a');
    for (size_t i = 0; i < repeats.size(); i += 7) repeats[i] = 'b';
    members.push_back({"long-run.dat", repeats});
    return members;
}

std::string http_seed(uint8_t room, uint8_t piece, const std::string& response) {
    return std::string{static_cast<char>(room), static_cast<char>(piece)} + response;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fputs("usage: fuzz_seed_maker DIR\n", stderr);
        return 2;
    }
    g_root = argv[1];

    bmp_seeds("bmp_decoder_fuzz");

    Bytes file;
    if (tvk::encode_png(picture(6, 4), file)) save("png_decoder_fuzz", "rgba.png", file);
    if (tvk::encode_png(picture(1, 1), file)) save("png_decoder_fuzz", "one.png", file);
    if (tvk::encode_jpeg(picture(9, 7), 80, file)) save("jpeg_decoder_fuzz", "q80.jpg", file);
    if (tvk::encode_jpeg(picture(17, 16), 20, file)) save("jpeg_decoder_fuzz", "q20.jpg", file);

    const tvk::ImageBuffer font256 = picture(64, 80, true), font128 = picture(96, 40, true);
    if (tvk::encode_bmp(font256, file)) save("font_measure_fuzz", "font256.bmp", file);
    if (tvk::encode_png(font128, file)) save("font_measure_fuzz", "font128.png", file);
    {
        Bytes raw = {'R', 'A', 'W', 32, 0, 16, 0};
        raw.insert(raw.end(), font128.pixels.begin(), font128.pixels.begin() + 32 * 16 * 4);
        save("font_measure_fuzz", "raw.bin", raw);
    }

    save("wave_loader_fuzz", "mono8.wav", wave(1, 1, 8, sample_bytes(64), false));
    save("wave_loader_fuzz", "stereo16.wav", wave(1, 2, 16, sample_bytes(128), true));
    save("wave_loader_fuzz", "extensible.wav", wave(0xfffe, 2, 16, sample_bytes(32), false));

    const Bytes archive = tvk::build_archive(archive_members());
    save("media_archive_fuzz", "members.sbx", archive);
    {
        Bytes appended = sample_bytes(100);
        appended.insert(appended.end(), archive.begin(), archive.end());
        save("media_archive_fuzz", "appended.sbx", appended);
        save("media_archive_fuzz", "empty.sbx", tvk::build_archive({}));
    }
    for (const char* name : {"settings.ini", "media/TILE.BMP", "long-run.dat", "missing.png"}) {
        for (const uint8_t mode : {0x00, 0x80}) {
            Bytes seed = {static_cast<uint8_t>(mode | std::string(name).size())};
            put_text(seed, name);
            seed.insert(seed.end(), archive.begin(), archive.end());
            std::string file_name = std::string(name) + (mode ? ".temp" : ".memory");
            for (char& c : file_name) c = c == '/' ? '_' : c;
            save("resolve_media_path_fuzz", file_name, seed);
        }
    }

    save_text("ini_store_fuzz", "settings.ini",
              " ; comment\r\n[Settings]\r\nvolume = 80\r\nname=player one\r\n\r\n[ Keys ]\r\nup=w\r\ndown=s\r\n");
    save_text("ini_store_fuzz", "disk.ini", "\x01\nloose=1\n[a]\nb=c\n[A]\nB=d\n[fuzzsection]\nfuzzkey = old\n");
    save_text("line_store_fuzz", "lines.txt", "first\r\n2\r\n3.5\r\n\r\nlast line\r\n");
    save_text("line_store_fuzz", "disk.txt", "\x01 disk\n-17\n1e3\nno line end");
    {
        // head: 6 steps, memory file; read a line, an int line, a 16-bit value, seek, bytes, a line
        Bytes script = {6, 0, 0, 1, 1, 2, 2, 3, 0x41, 4, 9, 0, 0};
        put_text(script, "12\r\n3.25\r\n\x01\x02\x03\x04 tail without end");
        save("channels_fuzz", "lines.bin", script);
        script[0] = 0x86;
        save("channels_fuzz", "disk.bin", script);
    }

    const tvk::RtString key("secret key");
    const tvk::RtString hex = tvk::string_encrypt(key, "a line of settings, enciphered");
    {
        Bytes seed = {0, static_cast<uint8_t>(key.length)};
        put_text(seed, key.c_str());
        put_text(seed, hex.c_str());
        save("string_codings_fuzz", "decrypt.bin", seed);
    }
    save_text("string_codings_fuzz", "url.bin", "\x01name%3Dvalue+and%20more%C3%A9%zz%4");
    save_text("string_codings_fuzz", "utf8.bin", "\x02plain caf\xc3\xa9 \xe2\x82\xac \xf0\x9f\x98\x80 \x80\xc3");

    save_text("http_response_fuzz", "ok.bin",
              http_seed(200, 5, "HTTP/1.0 200 OK\r\nContent-Type: text/plain\r\n\r\nhello body\r\n"));
    save_text("http_response_fuzz", "bare.bin", http_seed(8, 0, "HTTP/1.0 404 Not Found\n\nmissing"));
    save("http_response_fuzz", "zero.bin",
         [] {
             Bytes b = {0xff, 2};
             put_text(b, "HTTP/1.1 200 OK\r\n\r\nbefore");
             b.push_back(0);
             put_text(b, "after");
             return b;
         }());
    return 0;
}
