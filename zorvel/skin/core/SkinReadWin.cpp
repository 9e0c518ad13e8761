#include "SkinReadWin.h"

#include "forms/Forms.h"

bool LoadSkinArchive(TSkinReader& reader, TStream& packed) {
  if (reader.LoadFromStream(packed)) return true;
  AppMessageBox(SkinReadErrorText(reader.LastError()), Application ? Application->Title : "",
                MB_OK | MB_ICONWARNING);
  return false;
}
