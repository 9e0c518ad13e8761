#include "SkinReadWin.h"

#include "forms/Forms.h"

bool LoadSkinArchive(TSkinReader& reader, TStream& packed) {
  if (reader.LoadFromStream(packed)) return true;
  ShowSkinRefused(reader.LastError());
  return false;
}

void ShowSkinRefused(TSkinReadError error) {
  AppMessageBox(SkinReadErrorText(error), Application ? Application->Title : "",
                MB_OK | MB_ICONWARNING);
}
