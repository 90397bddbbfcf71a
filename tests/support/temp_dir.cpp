#include "support/temp_dir.h"

#include <cstdlib>
#include <fstream>
#include <random>
#include <sstream>
#include <stdexcept>

namespace tvk::testing_support {

namespace {

// A new folder of the pattern's name with its Xs replaced; throws when none can be made.
std::string make_unique_folder(std::string pattern) {
#ifdef _WIN32
    std::random_device seed;
    std::mt19937 random(seed());
    const size_t first = pattern.find("XXXXXX");
    for (int attempt = 0; attempt < 100; ++attempt) {
        for (size_t i = 0; i < 6; ++i) pattern[first + i] = "abcdefghijklmnopqrstuvwxyz0123456789"[random() % 36];
        std::error_code ec;
        if (std::filesystem::create_directory(pattern, ec)) return pattern;
    }
    throw std::runtime_error("cannot create a temporary folder");
#else
    if (!mkdtemp(pattern.data())) throw std::runtime_error("cannot create a temporary folder");
    return pattern;
#endif
}

// Where the folders are made: the system's temporary folder, or in a child process
// of run_in_child on Windows the folder its parent removes after it.
std::filesystem::path base_folder() {
    const char* child_root = std::getenv("TVK_CHILD_TEMP_ROOT");
    if (child_root && *child_root) return child_root;
    return std::filesystem::temp_directory_path();
}

}  // namespace

// The folder's path with '/' separators, as the runtime writes paths, so that the
// paths the runtime hands back compare equal on every system.
TempDir::TempDir()
    : path_(std::filesystem::path(make_unique_folder((base_folder() / "tavrick-test-XXXXXX").string()))
                .generic_string()) {}

TempDir::~TempDir() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
}

std::string TempDir::file(const std::string& name) const { return path_.generic_string() + "/" + name; }

std::string TempDir::write(const std::string& name, const std::string& bytes) const {
    const std::filesystem::path full = file(name);
    std::filesystem::create_directories(full.parent_path());
    std::ofstream out(full, std::ios::binary);
    out << bytes;
    return full.generic_string();
}

std::string TempDir::read(const std::string& name) const {
    std::ifstream in(std::filesystem::path(file(name)), std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

}  // namespace tvk::testing_support
