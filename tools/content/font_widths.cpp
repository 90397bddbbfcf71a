#include "tools/content/font_widths.h"

#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

#include "runtime/gfx/bmp_decoder.h"
#include "runtime/gfx/image_buffer.h"
#include "runtime/gfx/png_decoder.h"

namespace tvk::content {

namespace {

// Placeholder glyph advances in pixels, used until the font images are drawn.
// They describe the sizes the images are meant to have: the fragment font fits any
// three capitals on an 84-pixel tile, the FIND font about thirty capitals beside
// "FIND 7 " across the screen, the heading font a ten-letter word between the undo
// and check buttons. Replace a row group (or drop the image into the media folder,
// which then wins) when a font changes.
struct GlyphGroup {
    const char* characters;
    int width;
};

struct PlaceholderFont {
    int font;
    GlyphGroup groups[12];
};

const PlaceholderFont kPlaceholderGlyphWidths[] = {
    {kHeadingFont,
     {{"I", 7}, {"J", 12}, {"EFLT", 15}, {"BCDKPRSZ", 17}, {"AGHNOQUVXY", 18}, {"MW", 23},
      {"023456789", 15}, {"1", 10}, {".,'", 6}, {"-?", 14}, {" ", 8}, {nullptr, 0}}},
    {kFindFont,
     {{"I", 5}, {"J", 9}, {"EFLT", 11}, {"BCDKPRSZ", 12}, {"AGHNOQUVXY", 13}, {"MW", 17},
      {"023456789", 11}, {"1", 8}, {".,'", 5}, {"-?", 10}, {" ", 6}, {nullptr, 0}}},
    {kFragmentFont,
     {{"I", 8}, {"J", 13}, {"EFLT", 16}, {"BCDKPRSZ", 18}, {"AGHNOQUVXY", 19}, {"MW", 24},
      {nullptr, 0}}},
    {kUnsolvedFont,
     {{"?", 14}, {"023456789", 15}, {"1", 10}, {".", 6}, {" ", 8}, {nullptr, 0}}},
};

bool read_file(const std::string& path, std::vector<uint8_t>& bytes) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return false;
    bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    return !in.bad();
}

}  // namespace

int FontMetrics::text_width(const std::string& text) const {
    int total = 0;
    for (unsigned char c : text) total += width[c];
    return total;
}

bool FontMetrics::draws_all(const std::string& text, char* missing) const {
    for (unsigned char c : text) {
        if (c != ' ' && !inked[c]) {
            if (missing != nullptr) *missing = static_cast<char>(c);
            return false;
        }
    }
    return true;
}

std::string font_file_name(int font) {
    switch (font) {
        case 1: return "small.png";
        case 2: return "gold.png";
        case 3: return "cyan.png";
        case 4: return "silver.png";
        case 5: return "mint.png";
        case 6: return "mauve.png";
        default: return "";
    }
}

FontMetrics placeholder_font(int font) {
    FontMetrics metrics;
    metrics.font = font;
    metrics.file = font_file_name(font);
    for (const PlaceholderFont& entry : kPlaceholderGlyphWidths) {
        if (entry.font != font) continue;
        for (const GlyphGroup& group : entry.groups) {
            if (group.characters == nullptr) break;
            for (const char* c = group.characters; *c != 0; ++c) {
                auto code = static_cast<unsigned char>(*c);
                metrics.width[code] = group.width;
                metrics.inked[code] = *c != ' ';
            }
        }
    }
    return metrics;
}

bool measure_font_image(const std::string& path, int font, FontMetrics& metrics,
                        std::string& error) {
    std::vector<uint8_t> bytes;
    if (!read_file(path, bytes)) {
        error = "cannot read " + path;
        return false;
    }
    // The runtime tries BMP first, then PNG, with black as the colour key.
    ImageBuffer image;
    if (!decode_bmp(image, bytes, 0) && !decode_png(image, bytes, 0, path.c_str())) {
        error = path + " is neither a BMP nor a PNG image";
        return false;
    }
    const int cell_width = image.width / 16;
    const int glyph_count = image.width < image.height ? 256 : 128;
    const int cell_height = image.height / (glyph_count / 16);
    if (cell_width == 0 || cell_height == 0) {
        error = path + " is too small to hold a 16-column font";
        return false;
    }

    metrics = FontMetrics{};
    metrics.font = font;
    metrics.file = font_file_name(font);
    metrics.measured_from = path;
    for (int c = 0; c < glyph_count; ++c) {
        const int x0 = (c % 16) * cell_width;
        const int y0 = (c / 16) * cell_height;
        auto column_inked = [&](int column) {
            for (int y = 0; y < cell_height; ++y) {
                if (image.pixel(x0 + column, y0 + y)[3] != 0) return true;
            }
            return false;
        };
        int left = 0;
        while (left < cell_width && !column_inked(left)) ++left;
        if (left == cell_width) {
            metrics.width[c] = cell_width;
            continue;
        }
        int right = cell_width - 1;
        while (right > left && !column_inked(right)) --right;
        int advance = right - left + 1;
        if (left + advance < cell_width) advance += 1;
        metrics.width[c] = advance;
        metrics.inked[c] = true;
    }
    // A space is as wide as "j" in every loaded font.
    metrics.width[' '] = metrics.width['j'];
    if (glyph_count == 128) {
        for (int c = 0; c < 128; ++c) {
            metrics.width[c + 128] = metrics.width[c];
            metrics.inked[c + 128] = metrics.inked[c];
        }
    }
    return true;
}

bool load_play_font(const std::string& media_folder, int font, FontMetrics& metrics,
                    std::string& error) {
    std::filesystem::path image = std::filesystem::path(media_folder) / font_file_name(font);
    std::error_code ignored;
    if (media_folder.empty() || !std::filesystem::exists(image, ignored)) {
        metrics = placeholder_font(font);
        return true;
    }
    return measure_font_image(image.generic_string(), font, metrics, error);
}

}  // namespace tvk::content
