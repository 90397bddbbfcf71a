#include "runtime/value/error_state.h"

#include <gtest/gtest.h>

#include <string>

namespace tvk {
namespace {

TEST(ErrorState, TextShowsFourDigitCodeAndItsText) {
    const struct {
        int32_t code;
        const char* text;
    } cases[] = {
        {0, "0000 success"},      {3, "0003 no such file"}, {7, "0007 out of memory"},
        {8, "0008 unknown error"}, {9, "0009 out of bounds"}, {20, "0020 out of data"},
        {21, "0021 unknown error"}, {12345, "12345 unknown error"},
    };
    for (const auto& c : cases) {
        set_error(c.code);
        EXPECT_STREQ(error_text().c_str(), c.text) << c.code;
    }
    clear_error();
    EXPECT_STREQ(error_text().c_str(), "0000 success");
}

TEST(ErrorState, SetErrorCapturesTheAnnouncedLine) {
    set_position(2, 40);
    set_error(kErrNoSuchFile);
    set_position(2, 41);
    EXPECT_EQ(error_state().error_line, 40);
    clear_error();
    EXPECT_EQ(error_state().code, 0);
    EXPECT_EQ(error_state().error_line, 40);
    set_position(0, 0);
}

TEST(ErrorStateDeathTest, AssertionEndsTheProgramWithStatusZero) {
    assert_true(1);
    EXPECT_EXIT(assert_true(0), testing::ExitedWithCode(0), "");
}

}  // namespace
}  // namespace tvk
