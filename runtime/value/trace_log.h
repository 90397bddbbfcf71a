#pragma once
// The start-up trace: "ErrorLog.txt" in the temporary folder, one append per line.
#include <string>

namespace tvk {

// Temporary folder + "ErrorLog.txt".
std::string trace_file_path();

// Appends the text to the trace file (a null text is written as "NULL"). The file is
// opened, appended and closed for every line, with up to five attempts to open it;
// a line that cannot be written is dropped.
void log_line(const char* text);

}  // namespace tvk
