#pragma once

#include <windows.h>

// {6F1C2A7E-3B4D-4E8A-9C51-2D7B8E0A4F63}
inline constexpr CLSID CLSID_TorvaLinkControl = {
    0x6f1c2a7e, 0x3b4d, 0x4e8a, {0x9c, 0x51, 0x2d, 0x7b, 0x8e, 0x0a, 0x4f, 0x63}};
// A macro, so that registry key paths can be pasted together at compile time.
#define TORVALINK_CLSID_TEXT "{6F1C2A7E-3B4D-4E8A-9C51-2D7B8E0A4F63}"
#define TORVALINK_PROGID "TorvaLink.Control.1"
