#include "runtime/net/http_response.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace tvk {
namespace {

// Reads a response that arrives in the given pieces, as the client does.
std::string body_of(const std::vector<std::string>& pieces, size_t room) {
    ResponseHeaderSkipper headers;
    ResponseBodyText body;
    body.room = room;
    for (const std::string& piece : pieces) {
        const size_t start = headers.body_start(piece.data(), piece.size());
        if (start < piece.size()) body.take(piece.data() + start, piece.size() - start);
    }
    return body.text;
}

TEST(HttpResponseTest, TextEndsAtTheFirstZeroByteWhereverThePiecesSplit) {
    using namespace std::string_literals;
    const std::string response = "HTTP/1.0 200 OK\r\n\r\nab\0cd"s;
    struct Case {
        std::vector<std::string> pieces;
    } cases[] = {
        {{response}},
        {{"HTTP/1.0 200 OK\r\n\r\nab\0"s, "cd"}},  // the rest once ran on after the zero byte
        {{"HTTP/1.0 200 OK\r\n\r\nab"s, "\0"s, "c", "d"}},
        {{"HTTP/1.0 200 OK\r\n\r", "\nab\0c"s, "d"}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(body_of(c.pieces, 100), "ab");
    }
}

TEST(HttpResponseTest, TextKeepsAtMostRoomLessOneBytes) {
    EXPECT_EQ(body_of({"X: y\n\nabc", "def"}, 5), "abcd");
    EXPECT_EQ(body_of({"X: y\n\nabc", "def"}, 1), "");
    EXPECT_EQ(body_of({"X: y\n", "\r\n", "abcdef"}, 100), "abcdef");  // the blank line may be split
    EXPECT_EQ(body_of({"no blank line\nabc"}, 100), "");
}

}  // namespace
}  // namespace tvk
