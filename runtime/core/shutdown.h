#pragma once

namespace tvk {

// Releases every runtime service, once; a second call does nothing.
void shutdown_runtime();

// Releases what a start-up that could not open its window had already made.
void shutdown_runtime_after_failed_start();

}  // namespace tvk
