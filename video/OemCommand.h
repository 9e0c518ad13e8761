// The encoder command in the OEM code page, as the encoder process receives it.
#pragma once

#include <string>

namespace video {

// Converts `command` to the OEM code page into `oem`. Returns an empty text on success,
// else the message for the user: a character the code page cannot hold (the encoder
// would get another file name) or a result beyond kOemCommandCapacity.
std::wstring ToOemCommand(const std::wstring& command, std::string& oem);

}  // namespace video
