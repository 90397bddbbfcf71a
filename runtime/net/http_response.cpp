#include "runtime/net/http_response.h"

namespace tvk {

size_t ResponseHeaderSkipper::body_start(const char* bytes, size_t size) {
    if (in_body) return 0;
    for (size_t i = 0; i < size; ++i) {
        if (bytes[i] == '\n') {
            if (++line_feeds == 2) {
                in_body = true;
                return i + 1;
            }
        } else if (bytes[i] != '\r') {
            line_feeds = 0;
        }
    }
    return size;
}

void ResponseBodyText::take(const char* bytes, size_t size) {
    if (ended || full()) return;
    const size_t most = room - 1 - text.size();
    size_t n = 0;
    while (n < size && n < most && bytes[n] != 0) ++n;
    if (n < size && n < most) ended = true;  // stopped at a zero byte, not at the room
    text.append(bytes, n);
}

}  // namespace tvk
