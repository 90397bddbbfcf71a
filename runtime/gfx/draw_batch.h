#pragma once
// Consecutive sprite, animation-frame and text quads that share their texture and
// drawing state are gathered here and handed to OpenGL in one call. Anything that
// could see or change the result of the gathered quads flushes them first.
namespace tvk {

// Draws the gathered quads, if any, and empties the batch.
void flush_draw_batch();

}  // namespace tvk
