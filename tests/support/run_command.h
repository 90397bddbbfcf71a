#pragma once
// Windows: runs a command line (the program first) as a child process and gives
// what it printed on standard output and standard error, its CR LF line ends read as
// LF (the C library's text mode adds the CR). The Linux tests use the shell instead.
#ifdef _WIN32
#include <string>
#include <utility>
#include <vector>

namespace tvk::testing_support {

struct CommandRun {
    std::string folder;                                        // the child's current folder, if not empty
    std::vector<std::pair<std::string, std::string>> variables;  // set for the child only
    std::string out_file, err_file;  // when given, standard output and error go there instead
};

// The output; *status gets the exit status (-1 when the program could not start).
std::string run_command(const std::string& command_line, int* status = nullptr, const CommandRun& how = {});

}  // namespace tvk::testing_support
#endif
