#include "runtime/gfx/draw_batch.h"

namespace tvk {

void flush_draw_batch() {}

}  // namespace tvk
