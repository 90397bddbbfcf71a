#include "runtime/files/platform_info.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <regex>
#include <string>

#include "runtime/files/locale_code.h"
#include "runtime/platform/system_info.h"
#include "support/temp_dir.h"
#include "support/test_env.h"

namespace tvk {
namespace {

std::string info(const char* key) {
    RtString k(key);
    return platform_info(k).c_str();
}

// Sets an environment variable for one test and puts the old value back.
class ScopedEnv {
public:
    ScopedEnv(const char* name, const char* value) : name_(name) {
        const char* old = std::getenv(name);
        had_ = old != nullptr;
        if (had_) old_ = old;
        if (value) {
            setenv(name, value, 1);
        } else {
            unsetenv(name);
        }
    }
    ~ScopedEnv() {
        if (had_) {
            setenv(name_.c_str(), old_.c_str(), 1);
        } else {
            unsetenv(name_.c_str());
        }
    }

private:
    std::string name_, old_;
    bool had_ = false;
};

TEST(Locale, MapsTheUsersLanguage) {
#ifdef _WIN32
    GTEST_SKIP() << "the user's language on Windows is a setting of the system, not LANG and LC_* variables";
#else
    const struct {
        const char* locale;
        const char* code;
    } cases[] = {
        {"de_DE.UTF-8", "de"}, {"de_AT", "de"},     {"pt_BR.UTF-8", "pt"}, {"pt_PT", "pt"},
        {"en_US.UTF-8", "uk"}, {"en_GB.UTF-8", "us"}, {"en_AU", "us"},     {"eo_XX.UTF-8", "us"},
        {"el_GR", "gr"},       {"ja_JP.UTF-8", "jp"}, {"zh_TW", "ch"},     {"zh_HK", "zh"},
        {"sr_RS@latin", "sr"}, {"uk_UA", "uk"},      {"C", "uk"},          {"fr_CA", "fr"},
    };
    ScopedEnv lc_all("LC_ALL", nullptr);
    ScopedEnv lc_messages("LC_MESSAGES", nullptr);
    for (const auto& c : cases) {
        ScopedEnv lang("LANG", c.locale);
        EXPECT_EQ(info("locale"), c.code) << c.locale;
    }
    ScopedEnv lang("LANG", "en_US.UTF-8");
    ScopedEnv all("LC_ALL", "de_DE.UTF-8");
    EXPECT_EQ(info("LOCALE"), "de");
#endif
}

TEST(Locale, TheSystemsLanguageGivesTwoLetters) {
    EXPECT_TRUE(std::regex_match(info("LOCALE"), std::regex("[a-z]{2}"))) << info("LOCALE");
}

TEST(Locale, TableAndFixUps) {
    EXPECT_EQ(locale_code(0x407), "de");
    EXPECT_EQ(locale_code(0x416), "pt");
    EXPECT_EQ(locale_code(0x409), "uk");
    EXPECT_EQ(locale_code(0x809), "us");
    EXPECT_EQ(locale_code(0x3409), "us");
    EXPECT_EQ(locale_code(0x4001), "ar");
    EXPECT_EQ(locale_code(0x4C0A), "es");
    EXPECT_EQ(locale_code(0x5001), "us");
    EXPECT_EQ(locale_code(0x411), "jp");
    EXPECT_EQ(locale_code(0), "us");
}

TEST(PlatformInfo, FixedKeysAndTheKeyInUpperCase) {
#ifdef _WIN32
    EXPECT_EQ(info(""), "WIN32");
#else
    EXPECT_EQ(info(""), "LINUX");
#endif
    EXPECT_EQ(info("device"), "DESKTOP");
    EXPECT_EQ(info("nonsense"), "NO_DATA");
    RtString key("utcTime");
    const std::string utc = platform_info(key).c_str();
    EXPECT_STREQ(key.c_str(), "UTCTIME");
    const std::regex stamp(R"(\d{4}-\d\d-\d\d \d\d:\d\d:\d\d)");
    EXPECT_TRUE(std::regex_match(utc, stamp)) << utc;
    EXPECT_TRUE(std::regex_match(info("time"), stamp));
    std::tm t {};
    t.tm_year = 112;
    t.tm_mon = 1;
    t.tm_mday = 3;
    t.tm_hour = 7;
    t.tm_min = 5;
    t.tm_sec = 9;
    EXPECT_STREQ(format_date_time(t).c_str(), "2012-02-03 07:05:09");

    program_constants() = {"Aug 22 2012-18:29:02", "0a1b2c3d", "000.001"};
    EXPECT_EQ(info("Compiled"), "Aug 22 2012-18:29:02");
    EXPECT_EQ(info("HOSTID"), "0a1b2c3d");
    EXPECT_EQ(info("version"), "000.001");
}

TEST(PlatformInfo, IdentifierIsEightUpperCaseHexDigitsOfTheMaskedWord) {
    const std::string id = info("id");
    ASSERT_TRUE(std::regex_match(id, std::regex("[0-9A-F]{8}"))) << id;
    const uint32_t expected = platform::machine_id_word().value_or(16390125) ^ 0x194AD2F3;
    char text[9];
    std::snprintf(text, sizeof text, "%02X%02X%02X%02X", expected & 0xFF, (expected >> 8) & 0xFF,
                  (expected >> 16) & 0xFF, expected >> 24);
    EXPECT_EQ(id, text);
}

TEST(PlatformInfo, BatteryFromThePowerSupplyFolder) {
#ifndef _WIN32
    testing_support::TempDir dir;
    const std::string root = dir.path().string();
    EXPECT_EQ(platform::battery_percent(root), 255);
    dir.write("AC/type", "Mains\n");
    dir.write("AC/online", "1\n");
    EXPECT_EQ(platform::battery_percent(root), 255);
    dir.write("BAT0/type", "Battery\n");
    dir.write("BAT0/capacity", "57\n");
    EXPECT_EQ(platform::battery_percent(root), 57);
#endif
    const std::string battery = info("BATTERY");
    const int percent = std::atoi(battery.c_str());
    EXPECT_TRUE(percent >= 0 && percent <= 100) << battery;
}

#ifdef _WIN32
TEST(PlatformInfo, Folders) {
    // The user's known folders, with '/' separators; the application-data one is
    // made when missing.
    const std::string documents = info("DOCUMENTS");
    ASSERT_NE(documents, "NO_DATA");
    EXPECT_EQ(documents.find('\\'), std::string::npos) << documents;
    EXPECT_NE(documents.back(), '/');
    const std::string local = std::getenv("LOCALAPPDATA") ? std::getenv("LOCALAPPDATA") : "";
    std::string expected = local + "/Tavrick";
    for (char& c : expected) {
        if (c == '\\') c = '/';
    }
    EXPECT_EQ(info("APPDATA"), expected);
    EXPECT_TRUE(std::filesystem::is_directory(expected));
    const std::string temp = info("TEMP");
    EXPECT_EQ(temp.back(), '/');
    EXPECT_EQ(temp.find('\\'), std::string::npos) << temp;
}
#else
TEST(PlatformInfo, Folders) {
    testing_support::TempDir dir;
    const std::string home = dir.path().string();
    ScopedEnv home_env("HOME", home.c_str());
    ScopedEnv data("XDG_DATA_HOME", nullptr);
    ScopedEnv config("XDG_CONFIG_HOME", nullptr);
    EXPECT_EQ(info("DOCUMENTS"), home);
    std::filesystem::create_directories(dir.path() / "Documents");
    EXPECT_EQ(info("DOCUMENTS"), home + "/Documents");
    dir.write(".config/user-dirs.dirs", "XDG_DOCUMENTS_DIR=\"$HOME/Papers\"\n");
    EXPECT_EQ(info("documents"), home + "/Papers");

    EXPECT_EQ(info("APPDATA"), home + "/.local/share/Tavrick");
    EXPECT_TRUE(std::filesystem::is_directory(dir.path() / ".local/share/Tavrick"));
    ScopedEnv no_home("HOME", nullptr);
    EXPECT_EQ(info("APPDATA"), "NO_DATA");
    EXPECT_EQ(info("DOCUMENTS"), "NO_DATA");

    const std::string temp = info("TEMP");
    EXPECT_EQ(temp.back(), '/');
}
#endif

TEST(PlatformInfo, GlExtensionsThroughTheInstalledLookup) {
    EXPECT_EQ(info("GLEXT:glGenBuffers"), "0");
    set_gl_function_lookup([](const char* name) -> void* {
        static int known;
        return std::strcmp(name, "glGenBuffers") == 0 ? &known : nullptr;
    });
    EXPECT_EQ(info("GLEXT:glGenBuffers"), "1");  // looked up as given, not upper-cased
    EXPECT_EQ(info("GLEXT:glNoSuchThing"), "0");
    EXPECT_EQ(info("GLEXT:"), "0");
    set_gl_function_lookup(nullptr);
}

}  // namespace
}  // namespace tvk
