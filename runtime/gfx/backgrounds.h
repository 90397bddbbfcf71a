#pragma once
// Background tile sets: a screen-sized picture held in tiles of power-of-two
// textures, grabbed from the screen or loaded from a file, and drawn behind the
// frame. Set 0 is the frame background that present_frame draws instead of
// clearing; the other sets serve other commands.
#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "runtime/gfx/image_buffer.h"

namespace tvk {

class OpenGLRainbows;

constexpr int32_t kBackgroundSetCount = 8;
// Tile (column c, row r) of a set is entry c * kBackgroundRows + r.
constexpr int32_t kBackgroundRows = 8;
constexpr int32_t kBackgroundColumns = 24;
constexpr int32_t kBackgroundTiles = kBackgroundRows * kBackgroundColumns;
// Tiles of loaded pictures are at most this wide and high.
constexpr int32_t kBackgroundLoadTile = 512;

// Per tile: the texture's size and the part of it holding picture (from its
// lower-left: texture row 0 is the picture's bottom row, as with sprites).
struct BackgroundTileSizes {
    std::array<int16_t, kBackgroundTiles> texture_width{};
    std::array<int16_t, kBackgroundTiles> texture_height{};
    std::array<int16_t, kBackgroundTiles> used_width{};
    std::array<int16_t, kBackgroundTiles> used_height{};
};

// A screen-sized picture in tiles, drawn behind the frame instead of clearing (set
// 0), or kept for later by other commands.
struct BackgroundTileSet {
    std::array<uint32_t, kBackgroundTiles> textures{};
    uint8_t rows = 0;
    uint8_t columns = 0;
    BackgroundTileSizes sizes;
    bool empty() const { return rows == 0 || columns == 0; }
};

struct Backgrounds {
    std::array<BackgroundTileSet, kBackgroundSetCount> sets{};
    // The read-back buffer of grabs without BGRA transfers, kept between grabs.
    std::vector<uint8_t> scratch;
};

// The tile sizes of the device's set; null for a set number outside 0..7.
BackgroundTileSizes* background_tile_sizes(OpenGLRainbows& device, int32_t set);

// The side of the square tiles a grab of a width by height window uses: from 128,
// doubled while below the window's larger side and below the driver's limit.
int32_t grab_tile_side(int32_t width, int32_t height, int32_t max_texture);

// A side by side RGBA tile of the picture from (left, top): picture row top + j in
// texel row side - 1 - j, everything beyond the picture transparent black.
std::vector<uint8_t> background_tile_texels(const ImageBuffer& image, int32_t left, int32_t top,
                                            int32_t side);

// A set number outside 0..7 does nothing (and fails).
bool grab_background(OpenGLRainbows& device, int32_t set);
bool load_background_image(OpenGLRainbows& device, int32_t set, const std::string& path);
void draw_background(OpenGLRainbows& device, int32_t set);
void free_background(OpenGLRainbows& device, int32_t set);

}  // namespace tvk
