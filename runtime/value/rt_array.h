#pragma once
// The array value of programs and of the runtime: up to four dimensions, all elements
// of one type, bounds-checked access.
//
// Element types in use (each one is instantiated in rt_array.cpp):
//   NumberArray  RtArray<double>    storage rounded to the next multiple of 8 elements
//   IntArray     RtArray<int32_t>   storage rounded to the next multiple of 8 elements
//   StringArray  RtArray<RtString>  storage rounded to the next multiple of 64 elements
//   ByteArray    RtArray<uint8_t>   storage rounded to the next multiple of 64 elements
// array_dim_exact sizes the storage to exactly the element count instead (pixel data).
//
// Layout: element (i1, i2, i3, i4) lives at elements[i1 + i2*step2 + i3*step3 + i4*step4],
// the first index varying fastest. A 2D cost map of width w and height h is therefore
// `map.elements[x + y * map.dim1]` with x < map.dim1 and y < map.dim2.
//
// Reading and writing from runtime code:
//   a(i)  a(i, j)  a(i, j, k)  a(i, j, k, l)   checked access, as programs index: a negative
//                                              first index counts from the end (-1 = last);
//                                              an index out of range writes the bounds report
//                                              to standard error and enters the error stop.
//   a.begin() .. a.end()                       the `count` live elements, unchecked.
//   a.count, a.dim1 .. a.dim4, a.rank          read freely; change them only through the
//                                              operations below.
// Filling an array from runtime code (a directory listing, say):
//   array_dim(list, 0); for (...) array_push(list, name);
// or array_dim(list, n) and then write list(i) for i < n.
//
// An array owns its storage and string elements own their text; copying an array copies
// every element. When storage cannot be had (sizes whose product passes what a 32-bit
// count or the memory can hold) the error code becomes 7 ("out of memory") and the error
// stop ends the program.
#include <cstdint>
#include <initializer_list>
#include <span>

#include "runtime/value/rt_string.h"

namespace tvk {

template <typename T>
struct RtArray;

namespace detail {

// The failure path of element access: writes the bounds report, sets code 9 and enters
// the error stop. Returns (a cleared scratch element) only when a stop is already under way.
template <typename T>
T& array_access_failed(const RtArray<T>& a, int index_count, int32_t i1, int32_t i2, int32_t i3,
                       int32_t i4);

// Writes the two-line out-of-range report ("bounds: [  10][   3]", "access: [  12][   1]")
// to the debug channel and to standard error. Integer arrays show all declared sizes,
// other arrays the first two.
template <typename T>
void array_bounds_report(const RtArray<T>& a, int32_t i1, int32_t i2, int32_t i3, int32_t i4);

}  // namespace detail

template <typename T>
struct RtArray {
    T* elements = nullptr;  // null when no storage is held
    int32_t step2 = 0;      // dim1
    int32_t step3 = 0;      // dim1 * dim2
    int32_t step4 = 0;      // dim1 * dim2 * dim3
    int32_t dim1 = 0;       // declared sizes; 0 = dimension not declared
    int32_t dim2 = 0;
    int32_t dim3 = 0;
    int32_t dim4 = 0;
    int32_t count = 0;     // live elements: dim1 * max(1, dim2) * max(1, dim3) * max(1, dim4)
    int32_t rank = 0;      // number of declared dimensions
    int32_t capacity = 0;  // elements the storage holds, >= count

    RtArray() noexcept = default;
    RtArray(const RtArray& other);
    RtArray(RtArray&& other) noexcept;
    RtArray& operator=(const RtArray& other);
    RtArray& operator=(RtArray&& other) noexcept;
    ~RtArray();

    T& operator()(int32_t i1) { return element(1, i1, 0, 0, 0); }
    T& operator()(int32_t i1, int32_t i2) { return element(2, i1, i2, 0, 0); }
    T& operator()(int32_t i1, int32_t i2, int32_t i3) { return element(3, i1, i2, i3, 0); }
    T& operator()(int32_t i1, int32_t i2, int32_t i3, int32_t i4) {
        return element(4, i1, i2, i3, i4);
    }
    const T& operator()(int32_t i1) const { return self()(i1); }
    const T& operator()(int32_t i1, int32_t i2) const { return self()(i1, i2); }
    const T& operator()(int32_t i1, int32_t i2, int32_t i3) const { return self()(i1, i2, i3); }
    const T& operator()(int32_t i1, int32_t i2, int32_t i3, int32_t i4) const {
        return self()(i1, i2, i3, i4);
    }

    T* begin() noexcept { return elements; }
    T* end() noexcept { return elements ? elements + count : nullptr; }
    const T* begin() const noexcept { return elements; }
    const T* end() const noexcept { return elements ? elements + count : nullptr; }

private:
    RtArray& self() const { return const_cast<RtArray&>(*this); }

    // Indices of positions 2 to 4 must lie inside their dimension; for a dimension that
    // is not declared only 0 is accepted, so an offset never leaves the live elements.
    static bool index_fits(int32_t i, int32_t size) noexcept {
        return size == 0 ? i == 0 : (i >= 0 && i < size);
    }

    T& element(int index_count, int32_t i1, int32_t i2, int32_t i3, int32_t i4) {
        const int32_t first = i1 < 0 ? i1 + dim1 : i1;
        if (elements && first >= 0 && first < dim1 && index_fits(i2, dim2) &&
            index_fits(i3, dim3) && index_fits(i4, dim4)) {
            return elements[first + i2 * step2 + i3 * step3 + i4 * step4];
        }
        return detail::array_access_failed(*this, index_count, i1, i2, i3, i4);
    }
};

using NumberArray = RtArray<double>;
using IntArray = RtArray<int32_t>;
using StringArray = RtArray<RtString>;
using ByteArray = RtArray<uint8_t>;

// Declares the array afresh with sizes d1..d4 (0 = not declared) and clears every live
// element (numbers to 0, strings to empty). Storage is kept when it is large enough.
// d1 <= 0 leaves no elements; a negative later size counts as not declared.
template <typename T>
void array_dim(RtArray<T>& a, int32_t d1, int32_t d2 = 0, int32_t d3 = 0, int32_t d4 = 0);

// As array_dim, but storage that must be allocated holds exactly the element count
// (arrays filled from data of known size, such as pixels).
template <typename T>
void array_dim_exact(RtArray<T>& a, int32_t d1, int32_t d2 = 0, int32_t d3 = 0, int32_t d4 = 0);

// Re-declares keeping content: every element whose indices fit both the old and the new
// sizes keeps its value, the rest start cleared. d1 < 1 empties the array but keeps the
// storage.
template <typename T>
void array_redim(RtArray<T>& a, int32_t d1, int32_t d2 = 0, int32_t d3 = 0, int32_t d4 = 0);

// Declares target with source's four sizes and copies every element.
template <typename T>
void array_copy(RtArray<T>& target, const RtArray<T>& source);

// Declares a one-dimensional array of values.size() elements holding the values in order.
template <typename T>
void array_fill(RtArray<T>& a, std::span<const T> values);
template <typename T>
void array_fill(RtArray<T>& a, std::initializer_list<T> values) {
    array_fill(a, std::span<const T>(values.begin(), values.size()));
}

// Appends value as the new last element of a one-dimensional array. An array with a
// second dimension sets code 8 and enters the error stop.
template <typename T>
void array_push(RtArray<T>& a, const T& value);

// dim1..dim4 for dimension numbers 0..3; 0 for any other number.
template <typename T>
int32_t array_dim_size(const RtArray<T>& a, int32_t dimension);

// Splits text into parts at any of the delimiter bytes and stores them in parts as a
// one-dimensional array; returns the number of parts. With drop_empty non-zero, runs of
// delimiters count as one and leading delimiters are skipped. A delimiter at the very end
// never adds an empty last part; the empty text gives no parts.
int32_t string_split(const RtString& text, StringArray& parts, const RtString& delimiters,
                     int32_t drop_empty);

}  // namespace tvk
