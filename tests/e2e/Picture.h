#pragma once
// Pictures of what a run shows, for the docs: a part of the screen saved as a BMP file
// (tools/screenshot turns them into PNGs).

#include <windows.h>

#include <string>

// Saves the screen inside `area` as a 24-bit BMP file; false when it could not.
bool SaveScreenArea(const RECT& area, const std::wstring& path);
