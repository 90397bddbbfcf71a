#pragma once
// The graphics device: the one record of the 2D graphics system's state, made of
// sub-records that are each defined, with the functions that work on them, in the
// header named beside them. One instance exists for the whole run, created by
// start-up and reached through graphics_device().
#include "runtime/gfx/backgrounds.h"
#include "runtime/gfx/display.h"
#include "runtime/gfx/draw_batch.h"
#include "runtime/gfx/drawing_state.h"
#include "runtime/gfx/font_table.h"
#include "runtime/gfx/gl_state_cache.h"
#include "runtime/gfx/polyvector.h"
#include "runtime/gfx/present_frame.h"
#include "runtime/gfx/screen_capture.h"
#include "runtime/gfx/sprite_store.h"
#include "runtime/gfx/targets/render_target.h"
#include "runtime/gfx/targets/shader_programs.h"
#include "runtime/gfx/viewport.h"

namespace tvk {

class OpenGLRainbows {
public:
    OpenGLRainbows() = default;
    OpenGLRainbows(const OpenGLRainbows&) = delete;
    OpenGLRainbows& operator=(const OpenGLRainbows&) = delete;
    // Drops the gathered draws, deletes the framebuffers of the render targets while
    // the context is still there, then the context and the window.
    virtual ~OpenGLRainbows();

    DisplayState display;        // window, context, driver facts: display.h
    ScreenMapping screen;        // orientation and viewport: viewport.h
    FramePacing pacing;          // frame times: present_frame.h
    FrameClearing clearing;      // what presenting clears: present_frame.h
    DrawingState drawing;        // bound sprites, alpha, smoothing, colour keys: drawing_state.h
    GlStateCache gl_state;       // the context's capability switches: gl_state_cache.h
    DrawBatch draw_batch;        // draws gathered for one GL call: draw_batch.h
    SpriteTable sprites;         // sprite slots and their alpha masks: sprite_store.h
    FontState fonts;             // glyph tables and the current font: font_table.h
    PolyvectorBatch polyvector;  // the triangle batch being built: polyvector.h
    Backgrounds backgrounds;     // background tile sets: backgrounds.h
    CaptureStore capture;        // read-back buffers of screen grabs: screen_capture.h
    RenderTargets targets;       // off-screen targets: targets/render_target.h
    ShaderTable shaders;         // shader program slots: targets/shader_programs.h
};

// The process's device; null before start-up creates it and after shutdown. Taking
// it does not flush the draw batch: see draw_batch.h for who does.
OpenGLRainbows* graphics_device();
OpenGLRainbows& create_graphics_device();
void destroy_graphics_device();

}  // namespace tvk
