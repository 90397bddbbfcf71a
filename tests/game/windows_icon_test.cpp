// The icon built into splitverse.exe is the game's own icon picture: the committed
// .ico is what tools/media/make_icon.py makes from game/media/icon.png, so a new
// picture without a new icon fails here.
#include <gtest/gtest.h>

#include <cstdint>
#include <fstream>
#include <sstream>
#include <string>

namespace {

std::string read_bytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

uint32_t little_endian(const std::string& bytes, size_t at, int size) {
    uint32_t value = 0;
    for (int i = size - 1; i >= 0; --i) value = value << 8 | static_cast<uint8_t>(bytes[at + static_cast<size_t>(i)]);
    return value;
}

TEST(WindowsIcon, HoldsTheGamesIconPicture) {
    const std::string root = std::string(TAVRICK_TEST_SOURCE_DIR) + "/..";
    const std::string picture = read_bytes(root + "/game/media/icon.png");
    const std::string icon = read_bytes(root + "/game/windows/splitverse.ico");
    ASSERT_GT(picture.size(), 24u);
    ASSERT_EQ(icon.size(), 22 + picture.size()) << "run tools/media/make_icon.py";
    EXPECT_EQ(little_endian(icon, 0, 2), 0u);
    EXPECT_EQ(little_endian(icon, 2, 2), 1u) << "an icon";
    EXPECT_EQ(little_endian(icon, 4, 2), 1u) << "one picture";
    const auto side = static_cast<uint8_t>(picture[19]);  // the PNG's width, low byte
    EXPECT_EQ(static_cast<uint8_t>(icon[6]), side);
    EXPECT_EQ(little_endian(icon, 14, 4), picture.size());
    EXPECT_EQ(little_endian(icon, 18, 4), 22u);
    EXPECT_EQ(icon.substr(22), picture) << "run tools/media/make_icon.py";
}

}  // namespace
