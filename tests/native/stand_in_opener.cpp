// Stands in for the desktop's opener: appends each argument it was given, one per
// line, to the file named by TVK_OPENER_RECORD, and exits with the status named by
// TVK_OPENER_STATUS (0 when unset).
#include <cstdio>
#include <cstdlib>

int main(int argc, char** argv) {
    const char* record = std::getenv("TVK_OPENER_RECORD");
    if (record) {
        if (std::FILE* f = std::fopen(record, "ab")) {
            for (int i = 1; i < argc; ++i) std::fprintf(f, "%s\n", argv[i]);
            std::fclose(f);
        }
    }
    const char* status = std::getenv("TVK_OPENER_STATUS");
    return status ? std::atoi(status) : 0;
}
