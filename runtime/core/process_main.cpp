// main() of every program built on the runtime: the runtime owns the process.
#include "runtime/core/entry.h"

int main(int argc, char** argv) { return tvk::runtime_main(argc, argv); }
