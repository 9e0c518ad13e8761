// The media player's button kinds and their names, shared by the player and by what
// reads its published button sets as text. No window handles here.
#pragma once

#include <string>

enum TMPBtnType { btPlay, btPause, btStop, btNext, btPrev, btStep, btBack, btRecord, btEject };
constexpr int kMPButtonCount = 9;
// The value names, as the published sets write them ("[btPlay,btStop]").
inline constexpr const char* kMPBtnTypeNames[kMPButtonCount] = {
    "btPlay", "btPause", "btStop", "btNext", "btPrev", "btStep", "btBack", "btRecord", "btEject"};
// The glyph bitmaps are named prefix + "_" + these: "EN" enabled, "DI" disabled, "CL"
// coloured; olive is their transparent colour.
inline constexpr const char* kMPGlyphNames[kMPButtonCount] = {
    "MPPLAY", "MPPAUSE", "MPSTOP", "MPNEXT", "MPPREV", "MPSTEP", "MPBACK", "MPRECORD", "MPEJECT"};
inline constexpr const char* kMPGlyphPrefixes[3] = {"EN", "DI", "CL"};
// The resource name of a button's glyph of the kind `prefix` names.
inline std::string MPGlyphResource(const char* prefix, TMPBtnType button) {
  return std::string(prefix) + "_" + kMPGlyphNames[button];
}
