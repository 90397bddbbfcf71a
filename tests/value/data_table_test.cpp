#include "runtime/value/data_table.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>

#include "runtime/value/error_state.h"

namespace tvk {
namespace {

const DataItem kItems[] = {
    {0, "hello"},
    {2.5, nullptr},
    {0, "  -12.75xyz"},
    {-7.9, nullptr},
};

TEST(DataTable, ReadsConvertEachItemToTheVariablesType) {
    DataTable table{kItems, 4, 3};
    data_restore(table);
    EXPECT_EQ(current_data_table(), &table);
    EXPECT_EQ(table.cursor, 0);

    RtString s;
    data_read_string(s);
    EXPECT_STREQ(s.c_str(), "hello");
    data_read_string(s);
    EXPECT_STREQ(s.c_str(), "2.5");
    data_read_string(s);
    EXPECT_STREQ(s.c_str(), "  -12.75xyz");
    data_read_string(s);
    EXPECT_STREQ(s.c_str(), "-7.9");
    EXPECT_EQ(table.cursor, 4);

    data_restore(table);
    double f = 0;
    data_read_float(f);
    EXPECT_EQ(f, 0.0);
    data_read_float(f);
    EXPECT_EQ(f, 2.5);
    data_read_float(f);
    EXPECT_EQ(f, -12.75);
    data_read_float(f);
    EXPECT_EQ(f, -7.9);

    data_restore(table);
    int32_t n = 99;
    data_read_int(n);
    EXPECT_EQ(n, 0);
    data_read_int(n);
    EXPECT_EQ(n, 2);
    data_read_int(n);
    EXPECT_EQ(n, -12);
    data_read_int(n);
    EXPECT_EQ(n, -7);
}

// Runs in the child at the error stop's exit, so the matcher can see the code.
void report_code_at_exit() { std::fprintf(stderr, "stopped with code %d\n", error_state().code); }

TEST(DataTableDeathTest, ReadingPastTheEndStopsWithOutOfData) {
    DataTable table{kItems, 2, 0};
    data_restore(table);
    double f = 0;
    data_read_float(f);
    data_read_float(f);
    EXPECT_EXIT(
        {
            std::atexit(report_code_at_exit);
            data_read_float(f);
            std::abort();  // not reached: the stop ends the process
        },
        testing::ExitedWithCode(0), "stopped with code 20");
    EXPECT_EXIT(
        {
            std::atexit(report_code_at_exit);
            RtString s;
            data_read_string(s);
            std::abort();
        },
        testing::ExitedWithCode(0), "stopped with code 20");
    // A cursor moved outside the table by hand never reads outside it.
    table.cursor = -1;
    EXPECT_EXIT(
        {
            std::atexit(report_code_at_exit);
            int32_t n = 0;
            data_read_int(n);
            std::abort();
        },
        testing::ExitedWithCode(0), "stopped with code 20");
}

TEST(DataTableDeathTest, ReadingBeforeAnyTableIsSelectedStops) {
    // A fresh process, so that no earlier test has selected a table.
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(
        {
            ASSERT_EQ(current_data_table(), nullptr);
            std::atexit(report_code_at_exit);
            int32_t n = 0;
            data_read_int(n);
            std::abort();
        },
        testing::ExitedWithCode(0), "stopped with code 20");
}

}  // namespace
}  // namespace tvk
