#pragma once
// Reading an HTTP response as it arrives in pieces: the status line and headers are
// skipped up to the first empty line, and the body can be kept as a text.
#include <cstddef>
#include <string>

namespace tvk {

// Finds where the headers end: two line feeds in a row, carriage returns between
// them not counting. The count runs on across pieces.
struct ResponseHeaderSkipper {
    int line_feeds = 0;
    bool in_body = false;

    // The offset in the piece where the body begins, or size when it does not.
    size_t body_start(const char* bytes, size_t size);
};

// The body as a text of fixed room (terminator included): at most room - 1 bytes,
// ending for good at the first zero byte, wherever the pieces split.
struct ResponseBodyText {
    std::string text;
    size_t room = 1;
    bool ended = false;  // a zero byte arrived: later bytes are not part of the text

    void take(const char* bytes, size_t size);
    bool full() const { return text.size() + 1 >= room; }
};

}  // namespace tvk
