#include "runtime/gfx/colour_key.h"

namespace tvk {

void recolour_transparent_edges(ImageBuffer& image) {
    const int32_t w = image.width;
    const int32_t h = image.height;
    // Only pixels with alpha 0 change and only pixels with alpha above 0 are read,
    // so one pass in place sees the original colours.
    for (int32_t y = 0; y < h; ++y) {
        for (int32_t x = 0; x < w; ++x) {
            uint8_t* p = image.pixel(x, y);
            if (p[3] != 0) continue;
            int32_t sum[3] = {0, 0, 0};
            int32_t count = 0;
            for (int32_t dy = -1; dy <= 1; ++dy) {
                const int32_t ny = y + dy;
                if (ny < 0 || ny >= h) continue;
                for (int32_t dx = -1; dx <= 1; ++dx) {
                    const int32_t nx = x + dx;
                    if ((dx == 0 && dy == 0) || nx < 0 || nx >= w) continue;
                    const uint8_t* q = image.pixel(nx, ny);
                    if (q[3] == 0) continue;
                    sum[0] += q[0];
                    sum[1] += q[1];
                    sum[2] += q[2];
                    ++count;
                }
            }
            for (int c = 0; c < 3; ++c) p[c] = count ? static_cast<uint8_t>(sum[c] / count) : 0;
        }
    }
}

}  // namespace tvk
