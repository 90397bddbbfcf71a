#include "runtime/value/numeric_helpers.h"

#include <algorithm>
#include <cmath>
#include <utility>

#include "runtime/value/number_text.h"

namespace tvk {

namespace {
constexpr double kRadiansPerDegree = 0.017453292519943295;
constexpr double kDegreesPerRadian = 57.29577951308232;

struct Span {
    int64_t low;
    int64_t high;
};

// 64-bit ends, so that positions near the 32-bit limits cannot wrap.
Span covered_span(int32_t start, int32_t size) {
    const int64_t x = start;
    if (size > 0) return {x, x + size - 1};
    if (size < 0) return {x + size + 1, x};
    return {x, x};
}

bool spans_meet(Span a, Span b) { return std::max(a.low, b.low) <= std::min(a.high, b.high); }
}  // namespace

int32_t to_int(double value) {
    if (std::isnan(value)) return 0;
    return static_cast<int32_t>(std::clamp(std::trunc(value), -2147483648.0, 2147483647.0));
}

double sin_deg(double degrees) { return std::sin(degrees * kRadiansPerDegree); }
double cos_deg(double degrees) { return std::cos(degrees * kRadiansPerDegree); }
double tan_deg(double degrees) { return std::tan(degrees * kRadiansPerDegree); }
double atan2_deg(double y, double x) { return std::atan2(y, x) * kDegreesPerRadian; }

double asin_deg(double x) {
    if (x >= 1) return 90;
    if (x <= -1) return -90;
    return std::asin(x) * kDegreesPerRadian;
}

double acos_deg(double x) {
    if (x >= 1) return 0;
    if (x <= -1) return 180;
    return std::acos(x) * kDegreesPerRadian;
}

double square_root(double x) { return std::sqrt(x); }
double natural_log(double x) { return std::log(x); }
double power(double base, double exponent) { return std::pow(base, exponent); }

double float_mod(double x, double y) { return y == 0 ? 0 : std::fmod(x, y); }

int32_t int_mod(int32_t a, int32_t b) {
    // The most negative value divided by -1 has no 32-bit quotient and traps on
    // most processors; its remainder is 0.
    if (b == 0 || b == -1) return 0;
    return a % b;
}

double max_float(double a, double b) { return a > b ? a : b; }
double min_float(double a, double b) { return a < b ? a : b; }
int32_t max_int(int32_t a, int32_t b) { return a > b ? a : b; }
int32_t min_int(int32_t a, int32_t b) { return a < b ? a : b; }

int32_t max_int_float(int32_t a, double x) {
    const int32_t b = float_to_int(x);
    return b < a ? a : b;
}

void swap_floats(double& a, double& b) { std::swap(a, b); }

int32_t boxes_overlap(int32_t x1, int32_t y1, int32_t w1, int32_t h1,
                      int32_t x2, int32_t y2, int32_t w2, int32_t h2) {
    const bool across = spans_meet(covered_span(x1, w1), covered_span(x2, w2));
    const bool down = spans_meet(covered_span(y1, h1), covered_span(y2, h2));
    return across && down ? 1 : 0;
}

}  // namespace tvk
