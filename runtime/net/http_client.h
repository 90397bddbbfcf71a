#pragma once
// A minimal HTTP/1.0 GET client: the response body goes to a file or into a text.
// Status lines and headers are skipped, not interpreted.
#include <cstdint>

#include "runtime/value/rt_string.h"

namespace tvk {

// Writes the body of http://host:port/path into a new file (any existing file or
// empty folder of that name is removed first). Port 0 means 80. The timeout limits
// the connection attempt and each wait for more of the response. 1 on success.
int32_t download_file(const RtString& host, const RtString& path, int32_t port, const RtString& file_name,
                      int32_t timeout_ms);

// The body as text: at most maximum bytes, ending early at a zero byte. Empty on
// failure.
RtString download_text(const RtString& host, const RtString& path, int32_t port, int32_t maximum,
                       int32_t timeout_ms);

}  // namespace tvk
