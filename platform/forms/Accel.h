// Menu accelerators: the letter after "&" in a caption ("&&" is a plain "&").
#pragma once

#include <string>

// The caption's accelerator, upper-cased (ASCII), or 0 when it has none.
char AccelOf(const std::string& caption);
// Whether `key` is the caption's accelerator, compared without regard to ASCII case.
bool IsAccel(unsigned key, const std::string& caption);
