#pragma once
// The 3D scene object. This runtime's programs draw in 2D only, so the scene is the
// small object the rest of the system relies on: it is bound to the device, knows
// whether 3D drawing mode is active (it never is until a 3D layer enters it) and
// keeps per-frame state that the frame flip advances and resets. The shader slots
// are the device's (targets/shader_programs.h).
#include <cstdint>

namespace tvk {

class OpenGLRainbows;

class Scene3D {
public:
    explicit Scene3D(OpenGLRainbows& device) : device(&device) {}
    Scene3D(const Scene3D&) = delete;
    Scene3D& operator=(const Scene3D&) = delete;
    virtual ~Scene3D() = default;

    OpenGLRainbows* device;
    bool in_3d_mode = false;
    uint64_t frames_advanced = 0;   // per-frame state: frames begun since start
    int32_t objects_this_frame = 0; // per-frame state: reset after each presented frame
};

// Leaves 3D drawing mode when it is active (set_viewport and set_orientation need
// the 2D projection back).
void leave_3d_mode(Scene3D& scene);
// Called by the frame flip before it pumps messages.
void advance_scene_frame(Scene3D& scene);
// Called by the frame flip after the frame is presented.
void reset_scene_frame(Scene3D& scene);

// The process's scene; null before start-up creates it and after shutdown.
Scene3D* scene_3d();
Scene3D& create_scene_3d(OpenGLRainbows& device);
void destroy_scene_3d();

}  // namespace tvk
