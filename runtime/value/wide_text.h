#pragma once
// Conversion between the runtime's single-byte text and wide text for
// platform calls that take wide strings.
#include "runtime/value/rt_string.h"

namespace tvk {

// The text up to its first zero byte as wide characters. The result lives in
// one shared buffer that the next call overwrites; not reentrant.
const wchar_t* string_to_wide(const RtString& s);
// The wide text as single-byte text.
RtString string_from_wide(const wchar_t* text);

}  // namespace tvk
