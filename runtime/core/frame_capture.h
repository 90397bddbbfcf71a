#pragma once
// Saving one finished frame to a picture file and ending the program: a developer's
// tool for screenshots (for documentation, or for tests that compare a program's
// picture with a stored one) that needs no change to the program.
//
// Start the program with the environment variable
//
//     TAVRICK_CAPTURE=N:FILE        for example  TAVRICK_CAPTURE=60:shot.png
//
// where N is a whole number from 1 up. The Nth call of flip_screen saves the frame it
// is about to present to FILE and then ends the program the normal way (end_program:
// the runtime shuts down, "exit" is printed, status 0). The picture is the logical
// screen as the program drew it, every pixel opaque; the file type follows the name
// as for save_screen (".png" PNG, "...jpg" JPEG, anything else BMP). A relative FILE
// is taken from the folder the program was started in, not from the program's own
// folder that start-up enters. A value of any other form is reported once on standard
// error and otherwise ignored; a frame that cannot be saved is reported on standard
// error and the program still ends.
#include <cstdint>
#include <string>

#include "runtime/gfx/opengl_rainbows.h"

namespace tvk {

struct FrameCaptureRequest {
    int64_t frame = 0;   // the flip that saves (1 = the first); 0 = no capture
    std::string path;    // absolute, or as given when no start folder is known
};

// Reads "N:FILE"; a relative FILE is joined to start_folder. False (request left
// as it was) for anything else: no colon, N not a whole number from 1 up, no FILE.
bool parse_frame_capture(const char* text, const std::string& start_folder, FrameCaptureRequest& request);

// Saves the logical screen of the device's back buffer to the file, opaque. False
// when the grab or the write fails.
bool save_frame(OpenGLRainbows& device, const std::string& path);

// Called by flip_screen with the finished frame, right before it is presented:
// counts the flip and, on the flip TAVRICK_CAPTURE names, saves the frame and ends
// the program.
void capture_frame_if_asked(OpenGLRainbows& device);

}  // namespace tvk
