#include "runtime/value/rt_array.h"

#include <algorithm>
#include <climits>
#include <cstdlib>
#include <new>
#include <type_traits>
#include <utility>
#include <vector>

#include "runtime/value/error_state.h"

namespace tvk {

namespace {

// Strings and bytes are over-allocated to the next multiple of 64 elements, numbers to
// the next multiple of 8, so that growing a little (pushes, a slightly larger
// re-declaration) seldom allocates.
template <typename T>
constexpr bool kWideSteps = std::is_same_v<T, RtString> || std::is_same_v<T, uint8_t>;

template <typename T>
int64_t rounded_capacity(int64_t count) {
    if constexpr (kWideSteps<T>) {
        return count == 0 ? 0 : (count & ~int64_t{63}) + 64;
    } else {
        return (count & ~int64_t{7}) + 8;
    }
}

template <typename T>
void reset_element(T& element) noexcept {
    if constexpr (std::is_same_v<T, RtString>) {
        // Keeps the block for the next text.
        if (element.capacity != 0) element.data[0] = 0;
        element.length = 0;
    } else {
        element = T{};
    }
}

template <typename T>
void release_storage(RtArray<T>& a) noexcept {
    if (!a.elements) return;
    if constexpr (!std::is_trivially_destructible_v<T>) {
        for (int32_t i = 0; i < a.capacity; ++i) a.elements[i].~T();
    }
    std::free(a.elements);
    a.elements = nullptr;
    a.capacity = 0;
}

// Gives an array without storage a block of `capacity` cleared elements.
template <typename T>
bool allocate_storage(RtArray<T>& a, int64_t capacity) {
    if (capacity == 0) return true;
    if (capacity > INT32_MAX) return false;
    void* block = std::calloc(static_cast<size_t>(capacity), sizeof(T));
    if (!block) return false;
    T* elements = static_cast<T*>(block);
    if constexpr (!std::is_trivially_constructible_v<T>) {
        for (int64_t i = 0; i < capacity; ++i) new (elements + i) T();
    }
    a.elements = elements;
    a.capacity = static_cast<int32_t>(capacity);
    return true;
}

// Enlarges the block to `capacity` elements, keeping the existing ones in place or
// moved with their bytes; the new ones are constructed cleared.
template <typename T>
bool grow_storage(RtArray<T>& a, int64_t capacity) {
    if (capacity <= a.capacity) return true;
    if (capacity > INT32_MAX) return false;
    const size_t bytes = static_cast<size_t>(capacity) * sizeof(T);
    void* block = std::realloc(static_cast<void*>(a.elements), bytes);
    if (!block) return false;
    T* elements = static_cast<T*>(block);
    for (int64_t i = a.capacity; i < capacity; ++i) new (elements + i) T();
    a.elements = elements;
    a.capacity = static_cast<int32_t>(capacity);
    return true;
}

template <typename T>
void clear_shape(RtArray<T>& a) noexcept {
    a.step2 = a.step3 = a.step4 = 0;
    a.dim1 = a.dim2 = a.dim3 = a.dim4 = 0;
    a.count = 0;
    a.rank = 0;
}

void out_of_memory() {
    set_error(kErrOutOfMemory);
    runtime_stop();
}

// d1 * max(1, d2) * max(1, d3) * max(1, d4) for sizes already made non-negative;
// false when it does not fit a 32-bit count.
bool element_count(int32_t d1, int32_t d2, int32_t d3, int32_t d4, int64_t& count) {
    count = d1;
    for (const int32_t d : {d2, d3, d4}) {
        count *= std::max(d, 1);
        if (count > INT32_MAX) return false;
    }
    return true;
}

// The declaration shared by array_dim, array_dim_exact and array_redim. Returns false
// when storage could not be had (the error stop has then been entered).
template <typename T>
bool declare(RtArray<T>& a, int32_t d1, int32_t d2, int32_t d3, int32_t d4, bool exact) {
    // A negative size is a dimension that is not declared, as a negative d1 is no elements.
    const int32_t n1 = std::max(d1, 0);
    d2 = std::max(d2, 0);
    d3 = std::max(d3, 0);
    d4 = std::max(d4, 0);
    int64_t count = 0;
    if (!element_count(n1, d2, d3, d4, count)) {
        release_storage(a);
        clear_shape(a);
        out_of_memory();
        return false;
    }
    if (a.capacity < count || d1 <= 0) {
        release_storage(a);
        if (!allocate_storage(a, exact ? count : rounded_capacity<T>(count))) {
            clear_shape(a);
            out_of_memory();
            return false;
        }
    }
    for (int64_t i = 0; i < count; ++i) reset_element(a.elements[i]);
    a.dim1 = n1;
    a.dim2 = d2;
    a.dim3 = d3;
    a.dim4 = d4;
    // Each of these is at most count when its sizes are declared, and 0 otherwise.
    a.step2 = n1;
    a.step3 = static_cast<int32_t>(int64_t{d2} * n1);
    a.step4 = static_cast<int32_t>(int64_t{d2} * d3 * n1);
    a.count = static_cast<int32_t>(count);
    a.rank = d4 != 0 ? 4 : d3 != 0 ? 3 : d2 != 0 ? 2 : n1 > 0 ? 1 : 0;
    return true;
}

template <typename T>
bool points_into(const RtArray<T>& a, const T* p) {
    return a.elements && p >= a.elements && p < a.elements + a.capacity;
}

}  // namespace

template <typename T>
void array_dim(RtArray<T>& a, int32_t d1, int32_t d2, int32_t d3, int32_t d4) {
    declare(a, d1, d2, d3, d4, false);
}

template <typename T>
void array_dim_exact(RtArray<T>& a, int32_t d1, int32_t d2, int32_t d3, int32_t d4) {
    declare(a, d1, d2, d3, d4, true);
}

template <typename T>
void array_redim(RtArray<T>& a, int32_t d1, int32_t d2, int32_t d3, int32_t d4) {
    if (d1 < 1) {
        clear_shape(a);
        return;
    }
    RtArray<T> fresh;
    if (!declare(fresh, d1, d2, d3, d4, false)) return;  // the old content stays as it was
    if (a.elements && a.count > 0) {
        // Every element whose indices fit both shapes, in all four dimensions.
        const int32_t n1 = std::min(a.dim1, fresh.dim1);
        const int32_t n2 = std::min(std::max(a.dim2, 1), std::max(fresh.dim2, 1));
        const int32_t n3 = std::min(std::max(a.dim3, 1), std::max(fresh.dim3, 1));
        const int32_t n4 = std::min(std::max(a.dim4, 1), std::max(fresh.dim4, 1));
        for (int32_t i4 = 0; i4 < n4; ++i4) {
            for (int32_t i3 = 0; i3 < n3; ++i3) {
                for (int32_t i2 = 0; i2 < n2; ++i2) {
                    const int32_t from = i2 * a.step2 + i3 * a.step3 + i4 * a.step4;
                    const int32_t to = i2 * fresh.step2 + i3 * fresh.step3 + i4 * fresh.step4;
                    for (int32_t i1 = 0; i1 < n1; ++i1) {
                        fresh.elements[to + i1] = std::move(a.elements[from + i1]);
                    }
                }
            }
        }
    }
    a = std::move(fresh);
}

template <typename T>
void array_copy(RtArray<T>& target, const RtArray<T>& source) {
    if (&target == &source) return;
    if (!declare(target, source.dim1, source.dim2, source.dim3, source.dim4, false)) return;
    const int32_t n = std::min(target.count, source.count);
    for (int32_t i = 0; i < n; ++i) target.elements[i] = source.elements[i];
}

template <typename T>
void array_fill(RtArray<T>& a, std::span<const T> values) {
    if (values.size() > static_cast<size_t>(INT32_MAX)) {
        out_of_memory();
        return;
    }
    if (!values.empty() && points_into(a, values.data())) {
        // The values are the array's own elements, which the declaration clears.
        const std::vector<T> copy(values.begin(), values.end());
        array_fill(a, std::span<const T>(copy));
        return;
    }
    const auto n = static_cast<int32_t>(values.size());
    if (!declare(a, n, 0, 0, 0, false)) return;
    for (int32_t i = 0; i < n; ++i) a.elements[i] = values[static_cast<size_t>(i)];
}

template <typename T>
void array_push(RtArray<T>& a, const T& value) {
    // Only a one-dimensional array can grow at its end.
    if (a.dim2 != 0 || a.dim3 != 0 || a.dim4 != 0) {
        set_error(kErrArrayHasSecondDimension);
        runtime_stop();
        return;
    }
    if (a.dim1 == INT32_MAX) {
        out_of_memory();
        return;
    }
    const int32_t n = a.dim1 + 1;
    if (n < a.capacity) {
        a.dim1 = n;
        a.step2 = n;
        a.count = n;
        a.rank = 1;
        a.elements[n - 1] = value;
        return;
    }
    if (points_into(a, &value)) {
        // Growing moves the element that value refers to.
        const T copy = value;
        array_push(a, copy);
        return;
    }
    // Re-declaring a one-dimensional array with one more element keeps every element;
    // it is done by growing the block, so that a long run of pushes costs no more than
    // the pushes themselves (elements hold no pointers into their own block).
    if (!grow_storage(a, rounded_capacity<T>(n))) {
        out_of_memory();
        return;
    }
    a.dim1 = n;
    a.step2 = n;
    a.count = n;
    a.rank = 1;
    a.elements[n - 1] = value;
}

template <typename T>
int32_t array_dim_size(const RtArray<T>& a, int32_t dimension) {
    switch (dimension) {
        case 0: return a.dim1;
        case 1: return a.dim2;
        case 2: return a.dim3;
        case 3: return a.dim4;
        default: return 0;
    }
}

template <typename T>
RtArray<T>::RtArray(const RtArray& other) {
    array_copy(*this, other);
}

template <typename T>
RtArray<T>::RtArray(RtArray&& other) noexcept {
    *this = std::move(other);
}

template <typename T>
RtArray<T>& RtArray<T>::operator=(const RtArray& other) {
    array_copy(*this, other);
    return *this;
}

template <typename T>
RtArray<T>& RtArray<T>::operator=(RtArray&& other) noexcept {
    if (this != &other) {
        std::swap(elements, other.elements);
        std::swap(step2, other.step2);
        std::swap(step3, other.step3);
        std::swap(step4, other.step4);
        std::swap(dim1, other.dim1);
        std::swap(dim2, other.dim2);
        std::swap(dim3, other.dim3);
        std::swap(dim4, other.dim4);
        std::swap(count, other.count);
        std::swap(rank, other.rank);
        std::swap(capacity, other.capacity);
        release_storage(other);
        clear_shape(other);
    }
    return *this;
}

template <typename T>
RtArray<T>::~RtArray() {
    release_storage(*this);
}

#define TVK_ARRAY_OPERATIONS(T)                                                           \
    template struct RtArray<T>;                                                           \
    template void array_dim<T>(RtArray<T>&, int32_t, int32_t, int32_t, int32_t);          \
    template void array_dim_exact<T>(RtArray<T>&, int32_t, int32_t, int32_t, int32_t);    \
    template void array_redim<T>(RtArray<T>&, int32_t, int32_t, int32_t, int32_t);        \
    template void array_copy<T>(RtArray<T>&, const RtArray<T>&);                          \
    template void array_fill<T>(RtArray<T>&, std::span<const T>);                         \
    template void array_push<T>(RtArray<T>&, const T&);                                   \
    template int32_t array_dim_size<T>(const RtArray<T>&, int32_t);

TVK_ARRAY_OPERATIONS(double)
TVK_ARRAY_OPERATIONS(int32_t)
TVK_ARRAY_OPERATIONS(RtString)
TVK_ARRAY_OPERATIONS(uint8_t)

#undef TVK_ARRAY_OPERATIONS

}  // namespace tvk
