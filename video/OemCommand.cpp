#include "OemCommand.h"

#include <windows.h>

#include "OutputNaming.h"

namespace video {

std::wstring ToOemCommand(const std::wstring& command, std::string& oem) {
  oem.clear();
  if (command.empty()) return CheckOemCommand(oem, false);
  const int wide = static_cast<int>(command.size());
  // No best fit: a look-alike character would name another file.
  BOOL lossy = FALSE;
  int size = WideCharToMultiByte(CP_OEMCP, WC_NO_BEST_FIT_CHARS, command.data(), wide, nullptr, 0,
                                 nullptr, &lossy);
  if (size <= 0) return CheckOemCommand(oem, true);
  oem.resize(static_cast<std::size_t>(size));
  lossy = FALSE;
  WideCharToMultiByte(CP_OEMCP, WC_NO_BEST_FIT_CHARS, command.data(), wide, oem.data(), size,
                      nullptr, &lossy);
  std::wstring error = CheckOemCommand(oem, lossy != FALSE);
  if (!error.empty()) oem.clear();
  return error;
}

}  // namespace video
