#include "fuzz/fuzz_support.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>

namespace tvk::fuzz {

namespace {

std::string& folder_path() {
    static std::string path;
    return path;
}

void remove_scratch_folder() {
    std::error_code ignored;
    if (!folder_path().empty()) std::filesystem::remove_all(folder_path(), ignored);
}

}  // namespace

const std::string& scratch_folder() {
    std::string& path = folder_path();
    if (!path.empty()) return path;
    char pattern[] = "/tmp/tavrick-fuzz-XXXXXX";
    if (!mkdtemp(pattern)) {
        std::perror("mkdtemp");
        std::abort();
    }
    path = std::string(pattern) + "/";
    if (setenv("TMPDIR", pattern, 1) != 0) {
        std::perror("scratch folder");
        std::abort();
    }
    std::atexit(remove_scratch_folder);
    return path;
}

RtString bytes_string(const uint8_t* data, size_t size) {
    RtString s;
    if (size > 0) string_append_bytes(s, reinterpret_cast<const char*>(data), static_cast<uint32_t>(size));
    return s;
}

std::string write_scratch_file(const char* name, const uint8_t* data, size_t size) {
    const std::string path = scratch_folder() + name;
    std::FILE* f = std::fopen(path.c_str(), "wb");
    if (!f) {
        std::perror(path.c_str());
        std::abort();
    }
    if (size > 0 && std::fwrite(data, 1, size, f) != size) std::abort();
    std::fclose(f);
    return path;
}

InputFile input_file(const char* disk_name, const uint8_t* data, size_t size, bool on_disk) {
    InputFile file;
    if (on_disk) {
        file.name = RtString(write_scratch_file(disk_name, data, size).c_str());
    } else {
        file.block = make_memory_block(std::vector<uint8_t>(data, data + size));
        file.name = RtString(memory_file_name(file.block).c_str());
    }
    return file;
}

}  // namespace tvk::fuzz
