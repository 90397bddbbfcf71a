#include "support/temp_dir.h"

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <stdexcept>

namespace tvk::testing_support {

TempDir::TempDir() {
    std::string pattern = (std::filesystem::temp_directory_path() / "tavrick-test-XXXXXX").string();
    if (!mkdtemp(pattern.data())) throw std::runtime_error("cannot create a temporary folder");
    path_ = pattern;
}

TempDir::~TempDir() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
}

std::string TempDir::write(const std::string& name, const std::string& bytes) const {
    const auto full = path_ / name;
    std::filesystem::create_directories(full.parent_path());
    std::ofstream out(full, std::ios::binary);
    out << bytes;
    return full.string();
}

std::string TempDir::read(const std::string& name) const {
    std::ifstream in(path_ / name, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

}  // namespace tvk::testing_support
