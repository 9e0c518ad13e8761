#include "SkinProps.h"

#include "forms/TypInfo.h"

#ifdef _WIN32
#include "WinSkinData.h"
#endif

namespace {

std::wstring Widen(const std::string& text) {
#ifdef _WIN32
  return SkinStrToWide(text);
#else
  // The host has no code pages: each byte is one character (its tests use ASCII).
  std::wstring wide;
  for (char c : text) wide += static_cast<wchar_t>(static_cast<unsigned char>(c));
  return wide;
#endif
}

}  // namespace

long long GetOrdPropByName(TObject* Instance, const std::string& Name) {
  const TPropInfo* p = GetPropInfo(Instance, Name);
  return p && p->Kind == tkInteger ? p->GetOrd(Instance) : -1;
}

std::string GetEnumPropByName(TObject* Instance, const std::string& Name) {
  const TPropInfo* p = GetPropInfo(Instance, Name);
  if (!p || p->Kind != tkEnumeration) return {};
  const long long v = p->GetOrd(Instance);
  return v >= 0 && std::size_t(v) < p->EnumNames.size() ? p->EnumNames[std::size_t(v)]
                                                        : std::string();
}

std::wstring GetWidePropByName(TObject* Instance, const std::string& Name) {
  const TPropInfo* p = GetPropInfo(Instance, Name);
  if (!p) return {};
  if (p->Kind == tkWString) return p->GetWStr(Instance);
  if (p->Kind == tkString) return Widen(p->GetStr(Instance));
  return {};
}

TObject* GetObjectPropByName(TObject* Instance, const std::string& Name) {
  const TPropInfo* p = GetPropInfo(Instance, Name);
  return p && p->Kind == tkClass ? p->GetObj(Instance) : nullptr;
}

void SetPropByName(TObject* Instance, const std::string& Name, const std::string& Value) {
  const TPropInfo* p = GetPropInfo(Instance, Name);
  if (!p) return;
  switch (p->Kind) {
    case tkInteger:
      if (p->SetOrd) p->SetOrd(Instance, StrToInt(Value));
      break;
    case tkEnumeration: {
      if (!p->SetOrd) break;
      const int v = GetEnumValue(*p, Value);
      if (v < 0) throw EConvertError("'" + Value + "' is not a value of property " + Name);
      p->SetOrd(Instance, v);
      break;
    }
    case tkString:
      if (p->SetStr) p->SetStr(Instance, Value);
      break;
    case tkWString:
      if (p->SetWStr) p->SetWStr(Instance, Widen(Value));
      break;
    default:
      break;
  }
}

bool HasPropByName(TObject* Instance, const std::string& Name) {
  return GetPropInfo(Instance, Name) != nullptr;
}
