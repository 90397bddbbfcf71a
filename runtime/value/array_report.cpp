// The failure path of array element access: the out-of-range report and the stop.
#include <string>
#include <type_traits>

#include "runtime/value/error_state.h"
#include "runtime/value/format_number.h"
#include "runtime/value/rt_array.h"

namespace tvk {

namespace {

// Each size or index in brackets, right-aligned in four columns.
void append_cell(std::string& line, int32_t value) {
    const RtString number = format_number(4, 0, value);
    line += '[';
    line.append(number.data, number.length);
    line += ']';
}

// How many dimensions the report shows: the first always, the second when declared;
// integer arrays also show the third and fourth when declared.
template <typename T>
int shown_dimensions(const RtArray<T>& a) {
    if (a.dim2 <= 0) return 1;
    if constexpr (std::is_same_v<T, int32_t>) {
        if (a.dim3 > 0) return a.dim4 > 0 ? 4 : 3;
    }
    return 2;
}

}  // namespace

namespace detail {

template <typename T>
void array_bounds_report(const RtArray<T>& a, int32_t i1, int32_t i2, int32_t i3, int32_t i4) {
    const int32_t sizes[4] = {a.dim1, a.dim2, a.dim3, a.dim4};
    const int32_t indices[4] = {i1, i2, i3, i4};
    std::string bounds = "bounds: ";
    std::string access = "access: ";
    const int shown = shown_dimensions(a);
    for (int k = 0; k < shown; ++k) {
        append_cell(bounds, sizes[k]);
        append_cell(access, indices[k]);
    }
    bounds += '\n';
    access += '\n';
    const RtString bounds_line(bounds.c_str());
    const RtString access_line(access.c_str());
    debug_output(bounds_line);
    debug_output(access_line);
    print_err(bounds_line);
    print_err(access_line);
}

template <typename T>
T& array_access_failed(const RtArray<T>& a, int index_count, int32_t i1, int32_t i2, int32_t i3,
                       int32_t i4) {
    if (std::is_same_v<T, int32_t> && index_count == 4) {
        // A four-index access to an integer array is checked in three widening steps,
        // and each step reports.
        array_bounds_report(a, i1, i2, 0, 0);
        array_bounds_report(a, i1, i2, i3, 0);
    }
    array_bounds_report(a, i1, i2, i3, i4);
    set_error(kErrOutOfBounds);
    runtime_stop();
    // Only reached while a stop is already shutting the runtime down: the caller gets a
    // cleared element that belongs to no array.
    static T scratch{};
    scratch = T{};
    return scratch;
}

#define TVK_ARRAY_REPORT(T)                                                                  \
    template void array_bounds_report<T>(const RtArray<T>&, int32_t, int32_t, int32_t, int32_t); \
    template T& array_access_failed<T>(const RtArray<T>&, int, int32_t, int32_t, int32_t, int32_t);

TVK_ARRAY_REPORT(double)
TVK_ARRAY_REPORT(int32_t)
TVK_ARRAY_REPORT(RtString)
TVK_ARRAY_REPORT(uint8_t)

#undef TVK_ARRAY_REPORT

}  // namespace detail

}  // namespace tvk
