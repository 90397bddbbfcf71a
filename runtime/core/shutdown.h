#pragma once

namespace tvk {

// Releases every runtime service, once; a second call does nothing.
void shutdown_runtime();

}  // namespace tvk
