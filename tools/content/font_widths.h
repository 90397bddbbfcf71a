#pragma once
// Text widths in the game's bitmap fonts, summed glyph by glyph as the runtime's
// proportional text_width does. A font comes either from its image in the media
// folder, measured the way the runtime measures a loaded font, or, while that image
// does not exist yet, from the placeholder width table in font_widths.cpp.
#include <array>
#include <string>

namespace tvk::content {

// The fonts the play screen draws the puzzle texts with (the media table's slots).
enum PlayFont : int {
    kHeadingFont = 2,   // "gold.png": solved words and the assembled text
    kFindFont = 3,      // "cyan.png": the FIND line
    kFragmentFont = 5,  // "mint.png": fragments on the tiles
    kUnsolvedFont = 6,  // "mauve.png": word lines while unsolved
};

struct FontMetrics {
    int font = 0;
    std::string file;           // file name in the media folder
    std::string measured_from;  // the image these widths come from; empty = placeholder table
    std::array<int, 256> width{};
    std::array<bool, 256> inked{};  // the glyph draws something

    int text_width(const std::string& text) const;
    // True when every character of the text draws (a space counts as drawn).
    bool draws_all(const std::string& text, char* missing) const;
};

// The file name of a font in the media table ("gold.png" for font 2).
std::string font_file_name(int font);

// Widths from the placeholder table; fonts without a table know no characters.
FontMetrics placeholder_font(int font);

// Measures a font image (BMP or PNG) as the runtime does when it loads a font.
// Returns false with a reason when the file cannot be read or decoded.
bool measure_font_image(const std::string& path, int font, FontMetrics& metrics,
                        std::string& error);

// The font from media_folder/<file name> when that image exists, else the
// placeholder. An image that exists but cannot be measured is an error.
bool load_play_font(const std::string& media_folder, int font, FontMetrics& metrics,
                    std::string& error);

}  // namespace tvk::content
