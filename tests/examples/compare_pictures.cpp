// compare-pictures REFERENCE ACTUAL [DIFFERENCES]: whether a screenshot of an example
// matches its stored reference.
//
// The tolerance: a pixel differs when one of its channels (red, green, blue) is more
// than kChannelTolerance away from the reference, and the pictures match while at
// most kDifferingShare of the pixels differ: 6 pixels of a 640 by 480 frame. Mesa's
// software renderer draws the same frame bit for bit run after run on one machine
// (every example, run ten times, matched its reference with a largest difference of
// 0). The slack is for other processors only, where the renderer's generated code
// may round a blend or a filtered texel one step differently (the channel
// tolerance), and where such a step can tip the odd edge pixel over the alpha test's
// threshold (the few pixels). It is kept that small on purpose: one character of
// text changed ('!' for '.') already differs in 23 pixels, a sprite one pixel off in
// over a thousand.
//
// On a mismatch the differing pixels are painted red over a dimmed copy of the
// reference into DIFFERENCES, when given. Exit status 0 when the pictures match,
// 1 when they do not, 2 when one cannot be read.
#include <algorithm>
#include <cstdio>
#include <cstdlib>

#include "png_pixels.h"

namespace {

constexpr int kChannelTolerance = 2;
constexpr double kDifferingShare = 0.00002;

}  // namespace

int main(int argc, char** argv) {
    using tvk::examples::RgbaPicture;
    if (argc < 3 || argc > 4) {
        std::fputs("usage: compare-pictures REFERENCE ACTUAL [DIFFERENCES]\n", stderr);
        return 2;
    }
    RgbaPicture reference, actual;
    if (!tvk::examples::read_png(argv[1], reference)) {
        std::fprintf(stderr, "cannot read %s\n", argv[1]);
        return 2;
    }
    if (!tvk::examples::read_png(argv[2], actual)) {
        std::fprintf(stderr, "cannot read %s\n", argv[2]);
        return 2;
    }
    if (reference.width != actual.width || reference.height != actual.height) {
        std::fprintf(stderr, "size %dx%d, the reference is %dx%d\n", actual.width, actual.height,
                     reference.width, reference.height);
        return 1;
    }
    RgbaPicture marked = reference;
    long differing = 0;
    int largest = 0, largest_x = 0, largest_y = 0;
    for (int y = 0; y < reference.height; ++y) {
        for (int x = 0; x < reference.width; ++x) {
            const uint8_t* r = reference.at(x, y);
            const uint8_t* a = actual.at(x, y);
            int worst = 0;
            for (int c = 0; c < 3; ++c) worst = std::max(worst, std::abs(int{r[c]} - int{a[c]}));
            if (worst > largest) {
                largest = worst;
                largest_x = x;
                largest_y = y;
            }
            uint8_t* m = &marked.pixels[(static_cast<size_t>(y) * marked.width + x) * 4];
            if (worst > kChannelTolerance) {
                ++differing;
                m[0] = 255, m[1] = 0, m[2] = 0;
            } else {
                m[0] /= 3, m[1] /= 3, m[2] /= 3;
            }
        }
    }
    const long total = static_cast<long>(reference.width) * reference.height;
    const long allowed = static_cast<long>(kDifferingShare * static_cast<double>(total));
    std::printf("%ld of %ld pixels differ by more than %d in a channel (allowed: %ld); "
                "largest difference %d at (%d, %d)\n",
                differing, total, kChannelTolerance, allowed, largest, largest_x, largest_y);
    if (differing <= allowed) return 0;
    if (argc == 4 && !tvk::examples::write_png(argv[3], marked)) {
        std::fprintf(stderr, "cannot write %s\n", argv[3]);
    }
    return 1;
}
