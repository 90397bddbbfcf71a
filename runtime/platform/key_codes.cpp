#include "runtime/platform/key_codes.h"

#include <array>
#include <cstddef>

namespace tvk::platform {

namespace {

struct KeyPair {
    int32_t usage;  // USB HID keyboard usage, as SDL numbers its scancodes
    uint8_t code;   // the runtime's scan code
};

constexpr KeyPair kPairs[] = {
    {4, 30},   {5, 48},   {6, 46},   {7, 32},   {8, 18},   {9, 33},   {10, 34},  {11, 35},
    {12, 23},  {13, 36},  {14, 37},  {15, 38},  {16, 50},  {17, 49},  {18, 24},  {19, 25},
    {20, 16},  {21, 19},  {22, 31},  {23, 20},  {24, 22},  {25, 47},  {26, 17},  {27, 45},
    {28, 21},  {29, 44},                                              // A..Z
    {30, 2},   {31, 3},   {32, 4},   {33, 5},   {34, 6},   {35, 7},   {36, 8},   {37, 9},
    {38, 10},  {39, 11},                                              // 1..9, 0
    {40, 28},  {41, 1},   {42, 14},  {43, 15},  {44, 57},  {45, 12},  {46, 13},  {47, 26},
    {48, 27},  {49, 43},  {50, 43},  {51, 39},  {52, 40},  {53, 41},  {54, 51},  {55, 52},
    {56, 53},  {57, 58},                                              // Enter .. Caps Lock
    {58, 59},  {59, 60},  {60, 61},  {61, 62},  {62, 63},  {63, 64},  {64, 65},  {65, 66},
    {66, 67},  {67, 68},  {68, 87},  {69, 88},                        // F1..F12
    {70, 183}, {71, 70},  {72, 197}, {73, 210}, {74, 199}, {75, 201}, {76, 211}, {77, 207},
    {78, 209}, {79, 205}, {80, 203}, {81, 208}, {82, 200},            // Print .. Up
    {83, 69},  {84, 181}, {85, 55},  {86, 74},  {87, 78},  {88, 156}, {89, 79},  {90, 80},
    {91, 81},  {92, 75},  {93, 76},  {94, 77},  {95, 71},  {96, 72},  {97, 73},  {98, 82},
    {99, 83},                                                         // keypad
    {100, 86}, {101, 221},
    {224, 29}, {225, 42}, {226, 56}, {227, 219}, {228, 157}, {229, 54}, {230, 184}, {231, 220},
};

struct Tables {
    std::array<uint8_t, 512> code_of_usage{};
    std::array<int32_t, 256> usage_of_code{};
    Tables() {
        for (const KeyPair& p : kPairs) {
            code_of_usage[static_cast<size_t>(p.usage)] = p.code;
            if (usage_of_code[p.code] == 0) usage_of_code[p.code] = p.usage;
        }
    }
};

const Tables& tables() {
    static const Tables t;
    return t;
}

}  // namespace

uint8_t key_code_of_usage(int32_t usage) {
    if (usage < 0 || usage >= 512) return 0;
    return tables().code_of_usage[static_cast<size_t>(usage)];
}

int32_t usage_of_key_code(uint8_t code) { return tables().usage_of_code[code]; }

}  // namespace tvk::platform
