// The README's picture of the shipped skins: a real form dressed in each skin in turn,
// shown on the screen and captured from it, active (top row) and inactive (bottom row).
#pragma once

#include <string>

class TSkinStore;

// Writes the sheet of the store's shipped skins to `path` as PNG; false on failure.
bool WriteSkinSheet(TSkinStore& store, const std::string& path);
