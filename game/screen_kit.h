#pragma once
// What every screen does alike: reading the mouse into the game state, hit-testing
// buttons, drawing and printing at play-area coordinates, waiting for the release.
#include <cstdint>

#include "runtime/value/rt_string.h"

namespace tvk::game {

// mouse_state into the game state's mouse variables.
void read_mouse();
// The left button is down and the pointer lies inside the box (play-area coordinates).
bool clicked(double x, double y, double width, double height);
// The same test for a box already in screen coordinates.
bool clicked_on_screen(double x, double y, double width, double height);
void draw_at(int32_t slot, double x, double y);
// Printed with the kerning flag set, as every text of the game is.
void print_at(const RtString& text, double x, double y);
// Centred on the play area: x = 240 - (width / 2), the width halved as an integer.
void print_centred(const RtString& text, double y);
// Reads the mouse until the left button is up. The frame is not flipped; the
// window's messages are still handled between the reads, since they carry the release.
void wait_for_release();

}  // namespace tvk::game
