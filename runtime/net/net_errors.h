#pragma once
// The network error codes programs compare against (kNetErrTimedOut, ...). They are
// the codes the socket service reports: see platform/socket_errors.h.
#include "runtime/platform/socket_errors.h"

namespace tvk {

using platform::NetErrorCode;
using enum platform::NetErrorCode;

}  // namespace tvk
