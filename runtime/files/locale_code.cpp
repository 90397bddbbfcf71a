#include "runtime/files/locale_code.h"

#include <cstring>
#include <initializer_list>
#include <string>

namespace tvk {

namespace {

// Primary language numbers of the classic identifiers, by ISO 639 code.
struct PrimaryLanguage {
    const char* iso;
    uint16_t primary;
};

constexpr PrimaryLanguage kPrimaryLanguages[] = {
    {"ar", 0x01}, {"bg", 0x02}, {"ca", 0x03}, {"zh", 0x04}, {"cs", 0x05}, {"da", 0x06}, {"de", 0x07},
    {"el", 0x08}, {"en", 0x09}, {"es", 0x0A}, {"fi", 0x0B}, {"fr", 0x0C}, {"he", 0x0D}, {"hu", 0x0E},
    {"is", 0x0F}, {"it", 0x10}, {"ja", 0x11}, {"ko", 0x12}, {"nl", 0x13}, {"nb", 0x14}, {"nn", 0x14},
    {"no", 0x14}, {"pl", 0x15}, {"pt", 0x16}, {"rm", 0x17}, {"ro", 0x18}, {"ru", 0x19}, {"hr", 0x1A},
    {"sr", 0x1A}, {"bs", 0x1A}, {"sk", 0x1B}, {"sq", 0x1C}, {"sv", 0x1D}, {"th", 0x1E}, {"tr", 0x1F},
    {"ur", 0x20}, {"id", 0x21}, {"uk", 0x22}, {"be", 0x23}, {"sl", 0x24}, {"et", 0x25}, {"lv", 0x26},
    {"lt", 0x27}, {"tg", 0x28}, {"fa", 0x29}, {"vi", 0x2A}, {"hy", 0x2B}, {"az", 0x2C}, {"eu", 0x2D},
    {"mk", 0x2F}, {"af", 0x36}, {"ka", 0x37}, {"fo", 0x38}, {"hi", 0x39}, {"mt", 0x3A}, {"ga", 0x3C},
    {"ms", 0x3E}, {"kk", 0x3F}, {"ky", 0x40}, {"sw", 0x41}, {"tk", 0x42}, {"uz", 0x43}, {"tt", 0x44},
    {"bn", 0x45}, {"pa", 0x46}, {"gu", 0x47}, {"or", 0x48}, {"ta", 0x49}, {"te", 0x4A}, {"kn", 0x4B},
    {"ml", 0x4C}, {"as", 0x4D}, {"mr", 0x4E}, {"sa", 0x4F}, {"mn", 0x50}, {"cy", 0x52}, {"gl", 0x56},
    {"dv", 0x65},
};

// Regions whose identifier differs from the language's default one.
struct RegionVariant {
    const char* locale;  // language and region as in "en_GB"
    uint16_t language;
};

constexpr RegionVariant kRegionVariants[] = {
    {"en_GB", 0x809}, {"en_AU", 0xC09}, {"en_CA", 0x1009}, {"en_NZ", 0x1409}, {"en_IE", 0x1809},
    {"en_ZA", 0x1C09}, {"en_JM", 0x2009}, {"en_BZ", 0x2809}, {"en_TT", 0x2C09}, {"en_ZW", 0x3009},
    {"en_PH", 0x3409}, {"en_IN", 0x4009}, {"zh_TW", 0x404}, {"zh_CN", 0x804}, {"zh_HK", 0xC04},
    {"zh_SG", 0x1004}, {"zh_MO", 0x1404}, {"pt_PT", 0x816}, {"sr_RS", 0xC1A}, {"sr_ME", 0xC1A},
    {"bs_BA", 0x141A}, {"de_CH", 0x807}, {"de_AT", 0xC07}, {"fr_BE", 0x80C}, {"fr_CA", 0xC0C},
    {"es_MX", 0x80A}, {"nl_BE", 0x813},
};

struct CodeRow {
    const char* code;
    std::initializer_list<uint16_t> languages;
};

// Every identifier that gives a code; a step of 0x400 runs through the variants.
bool in_steps(uint16_t language, uint16_t first, uint16_t last) {
    return language >= first && language <= last && (language - first) % 0x400 == 0;
}

const char* table_code(uint16_t language) {
    if (in_steps(language, 0x401, 0x4001)) return "AR";
    if (language == 0x40A || in_steps(language, 0x80A, 0x4C0A)) return "ES";
    if (in_steps(language, 0x809, 0x3409)) return "EN";
    static const CodeRow rows[] = {
        {"BG", {0x402}}, {"CA", {0x403}}, {"CH", {0x404, 0x804}}, {"CS", {0x405}}, {"DA", {0x406}},
        {"DE", {0x407, 0x807, 0xC07, 0x1007, 0x1407}}, {"EL", {0x408}}, {"UK", {0x409, 0x422}},
        {"FI", {0x40B}}, {"FR", {0x40C, 0x80C, 0xC0C, 0x100C, 0x140C, 0x180C}}, {"HE", {0x40D}},
        {"HU", {0x40E}}, {"IS", {0x40F}}, {"IT", {0x410, 0x810}}, {"JP", {0x411}}, {"KO", {0x412}},
        {"NL", {0x413, 0x813}}, {"NO", {0x414, 0x814}}, {"PL", {0x415}}, {"PT", {0x416, 0x816}},
        {"RO", {0x418}}, {"RU", {0x419}}, {"HR", {0x41A}}, {"SK", {0x41B}}, {"SQ", {0x41C}},
        {"SV", {0x41D, 0x81D}}, {"TH", {0x41E}}, {"TR", {0x41F}}, {"UR", {0x420, 0x820}}, {"IN", {0x421}},
        {"BE", {0x423, 0x445}}, {"SL", {0x424}}, {"ET", {0x425}}, {"LV", {0x426}}, {"LT", {0x427, 0x827}},
        {"FA", {0x429}}, {"VI", {0x42A}}, {"HY", {0x42B}}, {"AZ", {0x42C, 0x82C}}, {"EU", {0x42D}},
        {"MK", {0x42F}}, {"AF", {0x436}}, {"KA", {0x437, 0x44B}}, {"FO", {0x438}}, {"HI", {0x439}},
        {"MS", {0x43E, 0x83E}}, {"KK", {0x43F}}, {"KY", {0x440}}, {"SW", {0x441}}, {"UZ", {0x443, 0x843}},
        {"TT", {0x444}}, {"PA", {0x446}}, {"GU", {0x447}}, {"OR", {0x448}}, {"TA", {0x449}},
        {"TE", {0x44A}}, {"MA", {0x44C, 0x44E}}, {"AS", {0x44D}}, {"SA", {0x44F}}, {"MO", {0x450}},
        {"GL", {0x456}}, {"KN", {0x457}}, {"SY", {0x45A}}, {"DI", {0x465}}, {"SR", {0x81A, 0xC1A}},
        {"ZH", {0xC04, 0x1004, 0x1404}},
    };
    for (const CodeRow& row : rows) {
        for (uint16_t id : row.languages) {
            if (id == language) return row.code;
        }
    }
    return "us";
}

}  // namespace

uint16_t language_identifier(const std::string& locale_name) {
    std::string name = locale_name.substr(0, locale_name.find_first_of(".@"));
    if (name.empty() || name == "C" || name == "POSIX") return 0x409;
    const bool latin = locale_name.find("@latin") != std::string::npos;
    if (name.rfind("sr", 0) == 0 && latin) return 0x81A;
    for (const RegionVariant& variant : kRegionVariants) {
        if (name == variant.locale) return variant.language;
    }
    const std::string iso = name.substr(0, name.find('_'));
    for (const PrimaryLanguage& language : kPrimaryLanguages) {
        if (iso == language.iso) {
            if (language.primary == 0x1A && iso == "sr") return 0xC1A;
            if (language.primary == 0x1A && iso == "bs") return 0x141A;
            return static_cast<uint16_t>(0x400 | language.primary);
        }
    }
    return 0;
}

std::string locale_code(uint16_t language) {
    std::string code = table_code(language);
    for (char& c : code) {
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    }
    if (code == "eng" || code == "english-uk") code = "uk";
    code = code.substr(0, 2);
    static const char* const kFixUps[][2] = {{"c", "us"},  {"el", "gr"}, {"du", "nl"}, {"am", "us"},
                                             {"en", "us"}, {"ja", "jp"}, {"po", "pl"}};
    for (const auto& fix : kFixUps) {
        if (code == fix[0]) code = fix[1];
    }
    return code.size() == 2 ? code : "us";
}

}  // namespace tvk
