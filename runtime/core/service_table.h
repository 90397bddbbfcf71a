#pragma once
// The runtime's services as start-up, the frame flip and shutdown see them: one row
// per service (or per step of the core's own), with what it does at each of those
// moments. init_runtime walks the start steps in row order, flip_screen runs the
// per-frame steps of every row at their three places in the frame, and
// shutdown_runtime runs the stop steps by their stop rank. Each step writes its own
// trace lines, so the trace reads in the order of the table.
#include <cstdint>
#include <span>
#include <string>

namespace tvk {

class OpenGLRainbows;

// What the start steps share: the arguments of init_runtime and what earlier steps
// made for later ones.
struct StartUp {
    void* instance = nullptr;
    int32_t show_command = 0;
    const char* title = "";
    OpenGLRainbows* device = nullptr;  // from the "graphics device" step on
    std::string executable;            // full path with '/', from the "working folder" step on
    std::string failure;               // why start-up stopped, when a step failed
};

struct ServiceSteps {
    const char* name;
    // Run once by init_runtime; false stops start-up there (the later steps are skipped).
    bool (*start)(StartUp& s) = nullptr;
    // Run by every frame flip: after sampling input ("sample"), before the window's
    // messages are pumped ("before_pump"), and after the frame is presented
    // ("after_present").
    void (*sample)() = nullptr;
    void (*before_pump)() = nullptr;
    void (*after_present)() = nullptr;
    // Run once by shutdown_runtime while the device exists, lowest rank first;
    // rank 0 means nothing to stop.
    int32_t stop_rank = 0;
    void (*stop)() = nullptr;
};

// Every row, in start-up order.
std::span<const ServiceSteps> service_table();

// The per-frame steps of every row, at one of the three places.
void run_sample_steps();
void run_before_pump_steps();
void run_after_present_steps();

}  // namespace tvk
