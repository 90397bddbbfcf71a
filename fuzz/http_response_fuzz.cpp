// HTTP responses as they arrive from the network: the headers are skipped and the
// body kept as a text of fixed room. The first byte sets the room, the second the
// size of the pieces the rest arrives in; the text must not depend on where the
// pieces split, so every input is also read as one piece and the two compared.
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "runtime/net/http_response.h"

namespace {

std::string read_response(const char* bytes, size_t size, size_t piece, size_t room) {
    tvk::ResponseHeaderSkipper headers;
    tvk::ResponseBodyText body;
    body.room = room;
    for (size_t at = 0; at < size && !body.full(); at += piece) {
        const size_t n = std::min(piece, size - at);
        const size_t start = headers.body_start(bytes + at, n);
        if (start > n) std::abort();
        if (start < n) body.take(bytes + at + start, n - start);
    }
    if (body.text.size() + 1 > room || body.text.find('\0') != std::string::npos) std::abort();
    return body.text;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 2) return 0;
    const size_t room = data[0] == 0xff ? 1u << 20 : data[0] + 1u;
    const size_t piece = data[1] % 32 + 1;
    const auto* bytes = reinterpret_cast<const char*>(data + 2);
    if (read_response(bytes, size - 2, piece, room) != read_response(bytes, size - 2, size, room)) std::abort();
    return 0;
}
