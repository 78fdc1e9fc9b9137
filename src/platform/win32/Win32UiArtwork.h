// The program's pictures, linked into the executable as resources: the icon
// (resource 1) and a bitmap per named picture (its name in capitals).
#pragma once

#include <windows.h>

#include <string>

namespace tarnwk::win32 {

constexpr int kIconResource = 1;

// The bitmap of a named picture, loaded once and kept for the run; null when
// the executable holds none of that name.
HBITMAP artworkBitmap(const std::string& name);
// Draws the named picture to fit `area` of `dc`, keeping its proportions and
// centred, over the dialog background.
void drawArtwork(HDC dc, const RECT& area, const std::string& name);
// The program's icon at `side` pixels square (shared; never destroy it).
HICON programIcon(int side);

}  // namespace tarnwk::win32
