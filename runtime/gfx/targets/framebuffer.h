#pragma once
// Framebuffer objects: an off-screen framebuffer with a texture as its colour
// attachment and an optional depth renderbuffer, bound and unbound around drawing.
// Used by the render targets and by reading a sprite's pixels back.
#include <cstdint>

namespace tvk {

// One off-screen target. Fields in the order the device's table keeps them.
struct RenderTarget {
    uint32_t framebuffer = 0;
    uint32_t depth_renderbuffer = 0;  // 0 = none
    int32_t saved_binding = -1;       // framebuffer bound before this one; -1 = not bound
    int32_t width = 0;
    int32_t height = 0;
    int32_t reserved = -1;
    int32_t sprite = -1;              // slot receiving the drawing; -1 = never created
    // Set while the target is current on the back-buffer emulation, so that ending
    // it undoes what its start did, whatever got bound in between.
    uint8_t emulated = 0;
};

// True when the framebuffer entry points were found with the context.
bool framebuffer_support();

// Replaces whatever the target held by a new framebuffer of width by height with
// texture as colour attachment 0 and, with with_depth, a depth renderbuffer (24,
// then 32, then 16 bits). 1 when the framebuffer is complete; it is then left
// unbound. Failures are written to the trace file and leave the target empty.
int32_t create_framebuffer(RenderTarget& target, int32_t width, int32_t height, uint32_t texture,
                           int32_t with_depth);

// Makes the target's framebuffer the drawing target, remembering the binding it
// replaces. 0 without framebuffer support, for a target without framebuffer, and
// for a target already bound (which is written to the trace file).
int32_t bind_framebuffer(RenderTarget& target);
// Binds the remembered framebuffer again; nothing when the target is not bound.
void unbind_framebuffer(RenderTarget& target);

// Unbinds and deletes the target's objects and empties it (needs the GL context).
void delete_framebuffer(RenderTarget& target);

}  // namespace tvk
