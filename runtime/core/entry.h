#pragma once

namespace tvk {

// The process entry: stores the command line, runs the program's settings routine,
// brings the runtime up, runs the program and ends through the error stop.
int runtime_main(int argc, char** argv);

}  // namespace tvk
