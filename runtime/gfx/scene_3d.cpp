#include "runtime/gfx/scene_3d.h"

#include <memory>

namespace tvk {

namespace {
// The scene is a process-wide object of its own beside the device (start-up creates
// it after the device and shutdown destroys it), reached through scene_3d().
std::unique_ptr<Scene3D>& scene_holder() {
    static std::unique_ptr<Scene3D> scene;
    return scene;
}
}  // namespace

void leave_3d_mode(Scene3D& scene) { scene.in_3d_mode = false; }

void advance_scene_frame(Scene3D& scene) { ++scene.frames_advanced; }

void reset_scene_frame(Scene3D& scene) { scene.objects_this_frame = 0; }

Scene3D* scene_3d() { return scene_holder().get(); }

Scene3D& create_scene_3d(OpenGLRainbows& device) {
    scene_holder() = std::make_unique<Scene3D>(device);
    return *scene_holder();
}

void destroy_scene_3d() { scene_holder().reset(); }

}  // namespace tvk
