// The Win32 side of the archive reader: a refused skin is told to the user once.
#pragma once

#include "SkinRead.h"

// Loads `packed` into `reader`; when the archive is refused, shows why in a message box
// and returns false (the caller applies nothing).
bool LoadSkinArchive(TSkinReader& reader, TStream& packed);
// Tells the user why a skin was refused.
void ShowSkinRefused(TSkinReadError error);
