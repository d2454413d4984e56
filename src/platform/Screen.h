// Screen: the resolution of the display on which grids are laid out.
//
// Pixel sizes that go into files measured in points or characters (column
// widths and row heights of a workbook) are scaled by the screen's pixels per
// inch.  There is no display to ask here, so the resolution is a process
// setting, 96 pixels per inch unless a host says otherwise.
#pragma once

namespace kv {

constexpr int DefaultPixelsPerInch = 96;

// The screen's vertical resolution in pixels per inch.
int ScreenPixelsPerInch();
// Sets it; values below 1 are taken as the default.
void SetScreenPixelsPerInch(int APixelsPerInch);

}  // namespace kv
