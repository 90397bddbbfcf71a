#include "game/content/progress_line.h"

#include "game/content/cipher_text.h"
#include "runtime/value/number_text.h"

namespace tvk::game {

std::string progress_line(std::span<const double> progress) {
    std::string digits;
    for (size_t i = 0; i < static_cast<size_t>(kProgressDigits); ++i) {
        const RtString text = float_to_text(i < progress.size() ? progress[i] : 0.0);
        digits.append(text.data, text.length);
    }
    return encipher_text(kProgressKey, digits);
}

std::array<double, kProgressDigits> progress_from_line(const std::string& line) {
    const std::string digits = decipher_text(kProgressKey, line);
    std::array<double, kProgressDigits> progress{};
    for (size_t i = 0; i < progress.size() && i < digits.size(); ++i) {
        progress[i] = text_to_float(std::string(1, digits[i]).c_str());
    }
    return progress;
}

}  // namespace tvk::game
