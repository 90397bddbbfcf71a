#pragma once
// The numeric helpers of programs: trigonometry in degrees, remainders,
// minimum and maximum, and the overlap test of two boxes.
#include <cstdint>

namespace tvk {

// A program number as an index or count: its integer part, 0 for NaN, and values
// beyond the 32-bit range saturated so that they fail range checks instead of wrapping.
int32_t to_int(double value);

double sin_deg(double degrees);
double cos_deg(double degrees);
double tan_deg(double degrees);
double atan2_deg(double y, double x);
// Inputs outside -1..1 are clamped to the ends of the range.
double asin_deg(double x);
double acos_deg(double x);
double square_root(double x);
double natural_log(double x);
double power(double base, double exponent);

// A zero divisor gives 0 and reports nothing.
double float_mod(double x, double y);
// The remainder of truncating division (its sign follows a); b = 0 gives 0.
int32_t int_mod(int32_t a, int32_t b);

double max_float(double a, double b);
double min_float(double a, double b);
int32_t max_int(int32_t a, int32_t b);
int32_t min_int(int32_t a, int32_t b);
// x truncated toward zero, or a when that is larger.
int32_t max_int_float(int32_t a, double x);
void swap_floats(double& a, double& b);

// 1 when the two boxes share at least one position on both axes, else 0.
// A box covers x to x + w - 1 for w > 0, x alone for w = 0, x + w + 1 to x for w < 0.
int32_t boxes_overlap(int32_t x1, int32_t y1, int32_t w1, int32_t h1,
                      int32_t x2, int32_t y2, int32_t w2, int32_t h2);

}  // namespace tvk
