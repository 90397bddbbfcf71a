#pragma once
// A fresh folder for one test, removed with everything in it when the test ends.
#include <filesystem>
#include <string>

namespace tvk::testing_support {

class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::filesystem::path& path() const { return path_; }
    // The full path of a name in the folder, with '/' separators.
    std::string file(const std::string& name) const;
    // Writes bytes to a file in the folder and returns its full path.
    std::string write(const std::string& name, const std::string& bytes) const;
    std::string read(const std::string& name) const;

private:
    std::filesystem::path path_;
};

}  // namespace tvk::testing_support
