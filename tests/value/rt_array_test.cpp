#include "runtime/value/rt_array.h"

#include <gtest/gtest.h>
#ifndef _WIN32
#include <sys/resource.h>
#endif

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "runtime/value/error_state.h"
#include "runtime/value/program_settings.h"
#include "support/temp_dir.h"
#include "support/run_in_child.h"

namespace tvk {
namespace {

using testing_support::ChildOptions;
using testing_support::ChildResult;
using testing_support::kBodyReturned;
using testing_support::run_in_child;
using testing_support::TempDir;

std::vector<std::string> texts(const StringArray& a) {
    std::vector<std::string> out;
    for (const RtString& s : a) out.emplace_back(s.c_str(), s.length);
    return out;
}

TEST(RtArray, DeclarationSizesStorageByElementType) {
    const struct {
        int32_t d1;
        int32_t count, rank, capacity;
    } number_cases[] = {{5, 5, 1, 8}, {8, 8, 1, 16}, {7, 7, 1, 8}, {0, 0, 0, 8}, {-3, 0, 0, 8}};
    for (const auto& c : number_cases) {
        NumberArray numbers;
        array_dim(numbers, c.d1);
        EXPECT_EQ(numbers.count, c.count) << c.d1;
        EXPECT_EQ(numbers.rank, c.rank) << c.d1;
        EXPECT_EQ(numbers.capacity, c.capacity) << c.d1;
        EXPECT_EQ(numbers.dim1, c.count) << c.d1;
    }

    IntArray ints;
    array_dim(ints, 16);
    EXPECT_EQ(ints.capacity, 24);

    StringArray strings;
    array_dim(strings, 0);
    EXPECT_EQ(strings.capacity, 0);
    EXPECT_EQ(strings.elements, nullptr);
    array_dim(strings, 10);
    EXPECT_EQ(strings.capacity, 64);
    array_dim(strings, 65);
    EXPECT_EQ(strings.capacity, 128);
    StringArray full;
    array_dim(full, 64);
    EXPECT_EQ(full.capacity, 128);

    ByteArray bytes;
    array_dim(bytes, 10);
    EXPECT_EQ(bytes.capacity, 64);

    IntArray pixels;
    array_dim_exact(pixels, 7, 3);
    EXPECT_EQ(pixels.capacity, 21);
    EXPECT_EQ(pixels.count, 21);
}

TEST(RtArray, RedeclarationThatFitsKeepsStorageAndClearsLiveElements) {
    StringArray strings;
    array_dim(strings, 10);
    for (int32_t i = 0; i < 10; ++i) strings(i) = RtString("word");
    RtString* storage = strings.elements;
    array_dim(strings, 3);
    EXPECT_EQ(strings.elements, storage);
    EXPECT_EQ(strings.capacity, 64);
    EXPECT_EQ(texts(strings), (std::vector<std::string>{"", "", ""}));

    NumberArray numbers;
    array_dim(numbers, 4, 3);
    numbers(3, 2) = 7;
    double* block = numbers.elements;
    array_dim(numbers, 2, 2);
    EXPECT_EQ(numbers.elements, block);
    for (double v : numbers) EXPECT_EQ(v, 0);
}

TEST(RtArray, ShapeFieldsAndLayout) {
    NumberArray grid;
    array_dim(grid, 4, 3);
    EXPECT_EQ(grid.count, 12);
    EXPECT_EQ(grid.rank, 2);
    EXPECT_EQ(grid.step2, 4);
    EXPECT_EQ(grid.step3, 12);
    grid(1, 2) = 5.5;
    EXPECT_EQ(grid.elements[9], 5.5);

    IntArray cube;
    array_dim(cube, 2, 3, 4, 5);
    EXPECT_EQ(cube.count, 120);
    EXPECT_EQ(cube.rank, 4);
    EXPECT_EQ(cube.step2, 2);
    EXPECT_EQ(cube.step3, 6);
    EXPECT_EQ(cube.step4, 24);
    cube(1, 2, 3, 4) = 9;
    EXPECT_EQ(cube.elements[1 + 2 * 2 + 3 * 6 + 4 * 24], 9);
    const int32_t sizes[] = {2, 3, 4, 5, 0, 0};
    for (int32_t n = 0; n < 6; ++n) EXPECT_EQ(array_dim_size(cube, n), sizes[n]) << n;
    EXPECT_EQ(array_dim_size(cube, -1), 0);

    IntArray three;
    array_dim(three, 2, 3, 4);
    EXPECT_EQ(three.rank, 3);
}

TEST(RtArray, NegativeFirstIndexCountsFromTheEnd) {
    NumberArray a;
    array_fill(a, {10.0, 11.0, 12.0, 13.0, 14.0});
    EXPECT_EQ(a(-1), 14);
    EXPECT_EQ(a(-5), 10);
    EXPECT_EQ(a(4), 14);
    a(-2) = 99;
    EXPECT_EQ(a.elements[3], 99);
}

// Each access runs in a child: a failing one reports and ends the process with status 0.
TEST(RtArray, AccessesOutOfRangeStop) {
    const struct {
        const char* what;
        std::function<void(NumberArray&)> access;
    } cases[] = {
        {"first index -6", [](NumberArray& a) { a(-6, 0) = 1; }},
        {"first index 5", [](NumberArray& a) { a(5, 0) = 1; }},
        {"second index -1", [](NumberArray& a) { a(0, -1) = 1; }},
        {"second index 3", [](NumberArray& a) { a(0, 3) = 1; }},
        {"undeclared third dimension", [](NumberArray& a) { a(0, 0, 1) = 1; }},
    };
    for (const auto& c : cases) {
        const ChildResult r = run_in_child([&] {
            NumberArray a;
            array_dim(a, 5, 3);
            c.access(a);
        });
        EXPECT_EQ(r.status, 0) << c.what;
        EXPECT_EQ(r.out, "exit\n") << c.what;
        EXPECT_NE(r.err.find("bounds: [   5][   3]\n"), std::string::npos) << c.what << r.err;
    }
    const ChildResult never_declared = run_in_child([] {
        StringArray a;
        RtString s = a(0);
    });
    EXPECT_EQ(never_declared.err, "bounds: [   0]\naccess: [   0]\n");
    EXPECT_EQ(never_declared.status, 0);
}

TEST(RtArray, OutOfRangeReportsOnStandardErrorAndEndsWithStatusZero) {
    TempDir tmp;
    const ChildResult r = run_in_child(
        [] {
            NumberArray a;
            array_dim(a, 10, 3);
            const double value = a(12, 1);
            std::printf("read %g\n", value);
        },
        ChildOptions{tmp.path().string(), false});
    EXPECT_TRUE(r.exited);
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.err, "bounds: [  10][   3]\naccess: [  12][   1]\n");
    EXPECT_EQ(r.out, "exit\n");
    EXPECT_FALSE(std::filesystem::exists(tmp.file("ErrorLog.txt")));
}

TEST(RtArray, OutOfRangeInDebugModeAppendsTheStopTrace) {
    TempDir tmp;
    const ChildResult r = run_in_child(
        [] {
            runtime_settings().debug_mode = 1;
            NumberArray a;
            array_dim(a, 10, 3);
            a(12, 1) = 0;
        },
        ChildOptions{tmp.path().string(), false});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out, "exit\n");
    EXPECT_EQ(tmp.read("ErrorLog.txt"), "-End On Line\n9\n-1\n0\n0\n");
}

TEST(RtArray, ReportShowsWhatTheElementTypeShows) {
    // Number and string arrays show two dimensions; integer arrays all declared ones,
    // and a four-index integer access reports its three widening checks.
    const ChildResult numbers = run_in_child([] {
        NumberArray a;
        array_dim(a, 2, 3, 4);
        a(0, 0, 4) = 1;
    });
    EXPECT_EQ(numbers.err, "bounds: [   2][   3]\naccess: [   0][   0]\n");

    const ChildResult ints = run_in_child([] {
        IntArray a;
        array_dim(a, 2, 3, 4, 5);
        a(1, 2, 3, 5) = 1;
    });
    EXPECT_EQ(ints.err,
              "bounds: [   2][   3][   4][   5]\naccess: [   1][   2][   0][   0]\n"
              "bounds: [   2][   3][   4][   5]\naccess: [   1][   2][   3][   0]\n"
              "bounds: [   2][   3][   4][   5]\naccess: [   1][   2][   3][   5]\n");

    const ChildResult negative = run_in_child([] {
        StringArray a;
        array_dim(a, 5);
        a(-6) = RtString("x");
    });
    EXPECT_EQ(negative.err, "bounds: [   5]\naccess: [  -6]\n");
}

TEST(RtArray, ReportGoesToAnAttachedDebuggerFirst) {
    const ChildResult r = run_in_child(
        [] {
            NumberArray a;
            array_dim(a, 10, 3);
            detail::array_bounds_report(a, 12, 1, 0, 0);
        },
        ChildOptions{"", true});
    if (r.status == 98) GTEST_SKIP() << "this system does not allow tracing a child";
    EXPECT_EQ(r.status, kBodyReturned);
#ifdef _WIN32
    EXPECT_EQ(r.debugger, "TXbounds: [  10][   3]\nTXaccess: [  12][   1]\n");
    EXPECT_EQ(r.err, "bounds: [  10][   3]\naccess: [  12][   1]\n");
#else
    EXPECT_EQ(r.err,
              "TXbounds: [  10][   3]\nTXaccess: [  12][   1]\n"
              "bounds: [  10][   3]\naccess: [  12][   1]\n");
#endif
}

void access_during_stop() {
    static NumberArray a;
    array_dim(a, 2);
    a(5) = 3;
    std::printf("access returned %g\n", a(7));
}

TEST(RtArray, AccessFailingDuringTheStopReturnsToItsCaller) {
    const ChildResult r = run_in_child([] {
        std::atexit(access_during_stop);
        end_program();
    });
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out, "exit\naccess returned 0\n");
}

TEST(RtArray, RedimKeepsTheCommonPart) {
    NumberArray a;
    array_dim(a, 4, 3);
    for (int32_t j = 0; j < 3; ++j) {
        for (int32_t i = 0; i < 4; ++i) a(i, j) = 10 * i + j + 1;
    }
    array_redim(a, 2, 5);
    EXPECT_EQ(a.count, 10);
    EXPECT_EQ(a.step2, 2);
    for (int32_t j = 0; j < 5; ++j) {
        for (int32_t i = 0; i < 2; ++i) {
            EXPECT_EQ(a(i, j), j < 3 ? 10 * i + j + 1 : 0) << i << "," << j;
        }
    }

    // Strings keep every dimension, not only the first two.
    StringArray s;
    array_dim(s, 2, 2, 2);
    s(1, 1, 1) = RtString("deep");
    s(0, 1, 0) = RtString("row");
    array_redim(s, 3, 2, 3);
    EXPECT_STREQ(s(1, 1, 1).c_str(), "deep");
    EXPECT_STREQ(s(0, 1, 0).c_str(), "row");
    EXPECT_STREQ(s(2, 1, 2).c_str(), "");

    // A one-dimensional array growing into two dimensions keeps its row.
    IntArray row;
    array_fill(row, {1, 2, 3});
    array_redim(row, 4, 2);
    EXPECT_EQ(row(2, 0), 3);
    EXPECT_EQ(row(3, 0), 0);
    EXPECT_EQ(row(0, 1), 0);
}

TEST(RtArray, RedimBelowOneEmptiesButKeepsStorage) {
    StringArray s;
    array_dim(s, 5, 2);
    RtString* storage = s.elements;
    array_redim(s, 0, 7);
    EXPECT_EQ(s.elements, storage);
    EXPECT_EQ(s.capacity, 64);
    EXPECT_EQ(s.count, 0);
    EXPECT_EQ(s.rank, 0);
    EXPECT_EQ(s.dim2, 0);
    EXPECT_EQ(s.step3, 0);
    array_push(s, RtString("again"));
    EXPECT_EQ(s.elements, storage);
    EXPECT_EQ(texts(s), std::vector<std::string>{"again"});
}

TEST(RtArray, PushGrowsInPlaceUntilTheNextMultipleOf64) {
    StringArray s;
    array_push(s, RtString("0"));
    EXPECT_EQ(s.count, 1);
    EXPECT_EQ(s.rank, 1);
    EXPECT_EQ(s.capacity, 64);
    RtString* storage = s.elements;
    for (int i = 1; i < 63; ++i) array_push(s, RtString(std::to_string(i).c_str()));
    EXPECT_EQ(s.dim1, 63);
    EXPECT_EQ(s.elements, storage) << "no allocation before dim1 + 1 reaches 64";
    array_push(s, RtString("63"));
    EXPECT_EQ(s.dim1, 64);
    EXPECT_EQ(s.capacity, 128);
    for (int i = 0; i < 64; ++i) EXPECT_EQ(texts(s)[i], std::to_string(i));

    // Pushing one of the array's own elements across a growth step.
    StringArray own;
    array_dim(own, 63);
    own(0) = RtString("first");
    array_push(own, own(0));
    EXPECT_EQ(own.capacity, 128);
    EXPECT_STREQ(own(-1).c_str(), "first");
}

TEST(RtArray, PushOntoTwoDimensionsStopsWithCode8) {
    TempDir tmp;
    const ChildResult r = run_in_child(
        [] {
            runtime_settings().debug_mode = 1;
            StringArray s;
            array_dim(s, 2, 2);
            array_push(s, RtString("x"));
        },
        ChildOptions{tmp.path().string(), false});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out, "exit\n");
    EXPECT_EQ(r.err, "");
    EXPECT_EQ(tmp.read("ErrorLog.txt"), "-End On Line\n8\n-1\n0\n0\n");
}

TEST(RtArray, CopiesAreIndependent) {
    StringArray a;
    array_dim(a, 3, 2);
    a(2, 1) = RtString("text");
    StringArray b;
    array_copy(b, a);
    EXPECT_EQ(b.dim1, 3);
    EXPECT_EQ(b.dim2, 2);
    EXPECT_STREQ(b(2, 1).c_str(), "text");
    b(2, 1) = RtString("changed");
    EXPECT_STREQ(a(2, 1).c_str(), "text");
    EXPECT_NE(a(2, 1).data, b(2, 1).data);

    StringArray c = a;
    StringArray d = std::move(c);
    EXPECT_EQ(c.elements, nullptr);
    EXPECT_EQ(c.count, 0);
    EXPECT_STREQ(d(2, 1).c_str(), "text");
    array_copy(d, d);
    EXPECT_STREQ(d(2, 1).c_str(), "text");

    NumberArray n;
    array_fill(n, {1.5, 2.5});
    array_fill(n, std::span<const double>(n.elements, 2));
    EXPECT_EQ(n.count, 2);
    EXPECT_EQ(n(1), 2.5);
}

TEST(StringSplit, Cases) {
    const struct {
        const char* text;
        const char* delimiters;
        int32_t drop_empty;
        std::vector<std::string> parts;
    } cases[] = {
        {"a,,b", ",", 0, {"a", "", "b"}},
        {"a,,b", ",", 1, {"a", "b"}},
        {",a", ",", 0, {"", "a"}},
        {",a", ",", 1, {"a"}},
        {"a,", ",", 0, {"a"}},
        {"a,,", ",", 0, {"a", ""}},
        {"", ",", 0, {}},
        {",,,", ",", 1, {}},
        {"one two;three", " ;", 0, {"one", "two", "three"}},
        {"no delimiter", ",", 0, {"no delimiter"}},
        {"abc", "", 0, {"abc"}},
    };
    StringArray parts;
    for (const auto& c : cases) {
        const int32_t n = string_split(RtString(c.text), parts, RtString(c.delimiters), c.drop_empty);
        EXPECT_EQ(n, static_cast<int32_t>(c.parts.size())) << c.text;
        EXPECT_EQ(parts.dim1, n) << c.text;
        EXPECT_EQ(texts(parts), c.parts) << c.text << " drop " << c.drop_empty;
    }
}

TEST(StringSplit, ReplacesEarlierShapeAndMaySplitItsOwnElement) {
    StringArray parts;
    array_dim(parts, 4, 2);
    parts(0, 1) = RtString("x|y|z");
    EXPECT_EQ(string_split(parts(0, 1), parts, RtString("|"), 0), 3);
    EXPECT_EQ(parts.rank, 1);
    EXPECT_EQ(parts.dim2, 0);
    EXPECT_EQ(texts(parts), (std::vector<std::string>{"x", "y", "z"}));
}

TEST(RtArray, SizesPastMemoryStopWithOutOfMemory) {
    const struct {
        const char* what;
        std::function<void()> body;
    } cases[] = {
        {"product past a 32-bit count",
         [] {
             NumberArray a;
             array_dim(a, 100000, 100000, 1000);
         }},
        {"capacity past a 32-bit count",
         [] {
             StringArray a;
             array_dim(a, 2147483647);
         }},
        {"redim past a 32-bit count",
         [] {
             IntArray a;
             array_dim(a, 3);
             array_redim(a, 65536, 65536);
         }},
    };
    for (const auto& c : cases) {
        TempDir tmp;
        const ChildResult r = run_in_child(
            [&] {
                runtime_settings().debug_mode = 1;
                c.body();
            },
            ChildOptions{tmp.path().string(), false});
        EXPECT_EQ(r.status, 0) << c.what;
        EXPECT_EQ(r.out, "exit\n") << c.what;
        EXPECT_EQ(tmp.read("ErrorLog.txt"), "-End On Line\n7\n-1\n0\n0\n") << c.what;
    }
}

#if !defined(__SANITIZE_ADDRESS__)
TEST(RtArray, AllocationFailureStopsWithOutOfMemory) {
#ifdef _WIN32
    GTEST_SKIP() << "needs a cap on the child's address space (setrlimit), which Windows has not";
#else
    TempDir tmp;
    const ChildResult r = run_in_child(
        [] {
            runtime_settings().debug_mode = 1;
            const rlimit limit{512L << 20, 512L << 20};
            setrlimit(RLIMIT_AS, &limit);
            NumberArray a;
            array_dim(a, 200000000);  // 1.6 GB
        },
        ChildOptions{tmp.path().string(), false});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out, "exit\n");
    EXPECT_EQ(tmp.read("ErrorLog.txt"), "-End On Line\n7\n-1\n0\n0\n");
#endif
}
#endif

}  // namespace
}  // namespace tvk
