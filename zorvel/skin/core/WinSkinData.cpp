#include "WinSkinData.h"

#include <cstring>
#include <fstream>
#include <iterator>
#include <set>

#include "SkinDrawWin.h"
#include "ImgUtil.h"
#include "SkinReadWin.h"
#include "forms/TypInfo.h"

ISkinManager* SkinManager = nullptr;
ISkinManager* (*SkinManagerFactory)() = nullptr;
bool IsWinNT = true;
DWORD SkinWinVersion = 0;
UINT SkinCodePage = 0;
ATOM SkinControlAtom = 0;
TGetScrollBarInfoProc SkinGetScrollBarInfoProc = nullptr;
TTrackMouseEventProc SkinTrackMouseEventProc = nullptr;
TGetComboBoxInfoProc SkinGetComboBoxInfoProc = nullptr;

namespace {

int initCount = 0;
HMODULE user32 = nullptr;

// Classes of other component libraries and the skinner kind each maps to.
const char* const kDefaultSkin3rd[] = {
    "TCategoryButtons=scrollbar", "TPngBitBtn=pngbitbtn", "TVirtualStringTree=scrollbar",
    "TVirtualDrawTree=scrollbar", "TTBXDockablePanel=Panel", "TAdvPanelGroup=scrollbar",
    "TComboboxex=combobox", "TRxSpeedButton=speedbutton", "THTMLViewer=scrollbar", "TDBCtrlGrid=scrollbar",
    "TfrSpeedButton=speedbutton", "TfrTBButton=speedbutton", "TControlBar=Panel", "TTBDock=Panel",
    "TTBToolbar=Panel", "TImageEnMView=scrollbar", "TImageEnView=scrollbar", "TAdvMemo=scrollbar",
    "TDBAdvMemo=scrollbar", "TcxDBLookupComboBox=combobox", "TcxDBComboBox=combobox",
    "TcxDBDateEdit=combobox", "TcxDBImageComboBox=combobox", "TcxDBCalcEdit=combobox",
    "TcxDBBlobEdit=combobox", "TcxDBPopupEdit=combobox", "TcxDBFontNameComboBox=combobox",
    "TcxDBShellComboBox=combobox", "TRxLookupEdit=combobox", "TRxDBLookupCombo=combobox", "TRzGroup=panel",
    "TRzButton=button", "TRzBitbtn=bitbtn", "TRzMenuButton=menubtn", "TRzCheckGroup=CheckGroup",
    "TRzRadioGroup=Radiogroup", "TRzButtonEdit=Edit", "TRzDBRadioGroup=Radiogroup",
    "TRzDBRadioButton=Radiobutton", "TRzDateTimeEdit=combobox", "TRzColorEdit=combobox",
    "TRzDateTimePicker=combobox", "TRzDBDateTimeEdit=combobox", "TRzDbColorEdit=combobox",
    "TRzDBDateTimePicker=combobox", "TLMDButton=bitbtn", "TLMDGroupBox=Groupbox", "TDBCheckboxEh=Checkbox",
    "TDBCheckboxEh=Checkbox", "TLMDCHECKBOX=Checkbox", "TLMDDBCHECKBOX=Checkbox",
    "TLMDRadiobutton=Radiobutton", "TLMDCalculator=panel", "TLMDGROUPBOX=Panel", "TLMDSIMPLEPANEL=Panel",
    "TLMDDBCalendar=Panel", "TLMDButtonPanel=Panel", "TLMDLMDCalculator=Panel", "TLMDHeaderPanel=Panel",
    "TLMDTechnicalLine=Panel", "TLMDLMDClock=Panel", "TLMDTrackbar=panel", "TLMDListCombobox=combobox",
    "TLMDCheckListCombobox=combobox", "TLMDHeaderListCombobox=combobox", "TLMDImageCombobox=combobox",
    "TLMDColorCombobox=combobox", "TLMDFontCombobox=combobox", "TLMDFontSizeCombobox=combobox",
    "TLMDFontSizeCombobox=combobox", "TLMDPrinterCombobox=combobox", "TLMDDriveCombobox=combobox",
    "TLMDCalculatorComboBox=combobox", "TLMDTrackBarComboBox=combobox", "TLMDCalendarComboBox=combobox",
    "TLMDTreeComboBox=combobox", "TLMDRADIOGROUP=radiogroup", "TLMDCheckGroup=CheckGroup",
    "TLMDDBRADIOGROUP=radiogroup", "TLMDDBCheckGroup=CheckGroup", "TLMDCalculatorEdit=edit",
    "TLMDEDIT=Edit", "TLMDMASKEDIT=Edit", "TLMDBROWSEEDIT=Edit", "TLMDEXTSPINEDIT=Edit",
    "TLMDCALENDAREDIT=Edit", "TLMDFILEOPENEDIT=Edit", "TLMDFILESAVEEDIT=Edit", "TLMDCOLOREDIT=Edit",
    "TLMDDBEDIT=Edit", "TLMDDBMASKEDIT=Edit", "TLMDDBEXTSPINEDIT=Edit", "TLMDDBSPINEDIT=Edit",
    "TLMDDBEDITDBLookup=Edit", "TLMDEDITDBLookup=Edit", "TDBLookupCombobox=Combobox",
    "TWWDBCombobox=Combobox", "TWWDBLookupCombo=Combobox", "TWWDBCombobox=Combobox", "TWWKeyCombo=Combobox",
    "TWWTempKeyCombo=combobox", "TWWDBDateTimePicker=Combobox", "TWWRADIOGROUP=radiogroup",
    "TWWDBEDIT=Edit", "TcxButton=bitbtn", "TcxDBRadioGroup=radiogroup", "TcxRadioGroup=radiogroup",
    "TcxGroupbox=groupbox", "TOVCPICTUREFIELD=Edit", "TOVCDBPICTUREFIELD=Edit", "TOVCSLIDEREDIT=Edit",
    "TOVCDBSLIDEREDIT=Edit", "TOVCSIMPLEFIELD=Edit", "TOVCDBSIMPLEFIELD=Edit", "TO32DBFLEXEDIT=Edit",
    "TOVCNUMERICFIELD=Edit", "TOVCDBNUMERICFIELD=Edit",
};

template <class T>
T Bind(const char* name) {
  return reinterpret_cast<T>(reinterpret_cast<void*>(GetProcAddress(user32, name)));
}

}  // namespace

// ---------------------------------------------------------------------------------------
// Module start-up

void InitSkinData() {
  if (initCount++ > 0) return;
  OSVERSIONINFOA version{};
  version.dwOSVersionInfoSize = sizeof(version);
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
  if (GetVersionExA(&version)) IsWinNT = version.dwPlatformId == VER_PLATFORM_WIN32_NT;
  SkinWinVersion = GetVersion();
#pragma GCC diagnostic pop
  SkinCodePage = 0;
  SkinControlAtom = GlobalAddAtomA(SkinControlAtomText().c_str());
  user32 = LoadLibraryA("user32.dll");
  if (user32 != nullptr) {
    SkinGetScrollBarInfoProc = Bind<TGetScrollBarInfoProc>("GetScrollBarInfo");
    SkinTrackMouseEventProc = Bind<TTrackMouseEventProc>("TrackMouseEvent");
    SkinGetComboBoxInfoProc = Bind<TGetComboBoxInfoProc>("GetComboBoxInfo");
  }
}

void DoneSkinData() {
  if (initCount == 0 || --initCount > 0) return;
  FreeSkinManager();
  SkinGetScrollBarInfoProc = nullptr;
  SkinTrackMouseEventProc = nullptr;
  SkinGetComboBoxInfoProc = nullptr;
  if (user32 != nullptr) FreeLibrary(user32);
  user32 = nullptr;
  if (SkinControlAtom != 0) GlobalDeleteAtom(SkinControlAtom);
  SkinControlAtom = 0;
}

void FreeSkinManager() {
  delete SkinManager;
  SkinManager = nullptr;
}

// ---------------------------------------------------------------------------------------
// Helpers for the skinners

bool SkinGetScrollBarInfo(HWND Wnd, LONG ObjectId, SCROLLBARINFO& Info) {
  if (SkinGetScrollBarInfoProc == nullptr) return false;
  return SkinGetScrollBarInfoProc(Wnd, ObjectId, &Info) != 0;
}

void SkinTrackMouseLeave(HWND Wnd) {
  if (SkinTrackMouseEventProc == nullptr) return;
  TRACKMOUSEEVENT track{};
  track.cbSize = sizeof(track);  // the record's own size, also in 64-bit builds
  track.dwFlags = TME_LEAVE;
  track.hwndTrack = Wnd;
  SkinTrackMouseEventProc(&track);
}

std::wstring SkinStrToWide(const std::string& S) {
  if (S.empty()) return {};
  const int n = MultiByteToWideChar(SkinCodePage, 0, S.data(), static_cast<int>(S.size()), nullptr, 0);
  if (n <= 0) return {};
  std::wstring out(static_cast<std::size_t>(n), L'\0');
  MultiByteToWideChar(SkinCodePage, 0, S.data(), static_cast<int>(S.size()), out.data(), n);
  return out;
}

std::wstring WideStrFromBuffer(const wchar_t* P, int Count) {
  if (P == nullptr) return {};
  if (Count < 0) return std::wstring(P);
  return std::wstring(P, static_cast<std::size_t>(Count));
}

int DrawSkinText(HDC DC, const std::wstring& Text, RECT& R, UINT Format) {
  // The text is ours and const: the system must not write into it.
  Format &= ~static_cast<UINT>(DT_MODIFYSTRING);
  if (IsWinNT) return DrawTextW(DC, Text.c_str(), static_cast<int>(Text.size()), &R, Format);
  std::string narrow;
  if (!Text.empty()) {
    const int n = WideCharToMultiByte(CP_ACP, 0, Text.data(), static_cast<int>(Text.size()), nullptr, 0, nullptr,
                                      nullptr);
    if (n > 0) {
      narrow.resize(static_cast<std::size_t>(n));
      WideCharToMultiByte(CP_ACP, 0, Text.data(), static_cast<int>(Text.size()), narrow.data(), n, nullptr,
                          nullptr);
    }
  }
  return DrawTextA(DC, narrow.c_str(), -1, &R, Format);
}

TWinControl* FindVclControl(HWND Wnd) {
  if (Wnd == nullptr || SkinControlAtom == 0) return nullptr;
  return static_cast<TWinControl*>(GetPropA(Wnd, MAKEINTATOM(SkinControlAtom)));
}

void LoadSkinResourceImage(const std::string& name, TSkinBitmap& image) {
  image.Clear();
  HMODULE module = GetModuleHandleA(nullptr);
  HRSRC resource = FindResourceA(module, name.c_str(), MAKEINTRESOURCEA(2));  // RT_BITMAP
  if (resource == nullptr) return;
  HGLOBAL handle = LoadResource(module, resource);
  const void* data = handle != nullptr ? LockResource(handle) : nullptr;
  if (data == nullptr) return;
  image.LoadFromBmp(static_cast<const std::uint8_t*>(data), SizeofResource(module, resource), true);
}

// ---------------------------------------------------------------------------------------
// Form descriptions

namespace {

void LoadResourceData(const std::string& resource, TMemoryStream& into) {
  HMODULE module = GetModuleHandleA(nullptr);
  HRSRC found = FindResourceA(module, resource.c_str(), MAKEINTRESOURCEA(10));  // RT_RCDATA
  HGLOBAL handle = found != nullptr ? LoadResource(module, found) : nullptr;
  const void* data = handle != nullptr ? LockResource(handle) : nullptr;
  if (data == nullptr) throw EReadError("Resource " + resource + " not found");
  into.Clear();
  into.Write(data, SizeofResource(module, found));
  into.SetPosition(0);
}

}  // namespace

void RegisterSkinClasses() {
  if (FindComponentClass("TSkinData") != nullptr) return;
  TClassInfo& store =
      RegisterComponentClass("TSkinStore", "TComponent", [](TComponent* owner) { return new TSkinStore(owner); });
  store.Property("Store", [](TComponent* c, const TPropValue& v, TReadContext& context) {
    auto* target = static_cast<TSkinStore*>(c);
    for (const std::string& line : ReadStrings(v, context)) {
      const std::size_t eq = line.find('=');
      if (eq == std::string::npos) throw EReadError("Store item " + line + " names no resource");
      TSkinCollectionItem* item = target->Store()->Add();
      item->SetName(line.substr(0, eq));
      TMemoryStream bytes;
      LoadResourceData(line.substr(eq + 1), bytes);
      item->ReadData(bytes);
    }
  });
  TClassInfo& data = RegisterComponentClass("TSkinData", "TComponent", [](TComponent* owner) {
    auto* created = new TSkinData(owner);
    created->Reading = true;  // until Loaded
    return created;
  });
  data.Property("Active", [](TComponent* c, const TPropValue& v, TReadContext&) {
    static_cast<TSkinData*>(c)->SetActive(ReadBool(v));
  });
  data.Property("DisableTag", [](TComponent* c, const TPropValue& v, TReadContext&) {
    static_cast<TSkinData*>(c)->DisableTag = static_cast<int>(ReadInteger(v));
  });
  data.Property("SkinFormtype", [](TComponent* c, const TPropValue& v, TReadContext&) {
    const std::string kind = ReadIdent(v);
    static const std::pair<const char*, TSkinFormType> kinds[] = {
        {"sfMainform", sfMainform}, {"sfOnlyThisForm", sfOnlyThisForm}, {"sfDialog", sfDialog}, {"sfDLL", sfDLL}};
    for (const auto& [name, value] : kinds)
      if (kind == name) {
        static_cast<TSkinData*>(c)->SkinFormtype = value;
        return;
      }
    throw EReadError("unknown skin form type " + kind);
  });
  data.Property("MenuUpdate", [](TComponent* c, const TPropValue& v, TReadContext&) {
    static_cast<TSkinData*>(c)->MenuUpdate = ReadBool(v);
  });
  data.Property("MenuMerge", [](TComponent* c, const TPropValue& v, TReadContext&) {
    static_cast<TSkinData*>(c)->MenuMerge = ReadBool(v);
  });
  data.Property("SkinStream", [](TComponent* c, const TPropValue& v, TReadContext& context) {
    const std::string resource = ReadString(v, context);
    if (resource.empty()) return;  // an empty stream keeps nothing
    auto* target = static_cast<TSkinData*>(c);
    LoadResourceData(resource, target->SkinStream);
    target->LoadSkinStream();
  });
}

// ---------------------------------------------------------------------------------------
// TSkinData

namespace {
std::set<const TSkinData*>& LiveSkinData() {
  static std::set<const TSkinData*> live;
  return live;
}
}  // namespace

bool IsLiveSkinData(const TSkinData* SkinData) { return LiveSkinData().count(SkinData) != 0; }

TSkinData::TSkinData(TComponent* AOwner) : TComponent(AOwner) {
  LiveSkinData().insert(this);
  for (const char* line : kDefaultSkin3rd) skin3rd_.Add(line);
  MenuImages = ImageList_Create(16, 16, ILC_COLOR24 | ILC_MASK, 4, 4);
  HBITMAP glyphs = static_cast<HBITMAP>(
      LoadImageA(GetModuleHandleA(nullptr), "LUMAVEXMENU", IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
  if (MenuImages != nullptr && glyphs != nullptr) ImageList_AddMasked(MenuImages, glyphs, RGB(255, 255, 255));
  if (glyphs != nullptr) DeleteObject(glyphs);
}

TSkinData::~TSkinData() {
  // The windows that use the component are unskinned while it is still whole.
  if (SkinManager != nullptr) SkinManager->RemoveSkinData(this);
  LiveSkinData().erase(this);
  if (MenuImages != nullptr) ImageList_Destroy(MenuImages);
  if (SkinBrush != nullptr) DeleteObject(SkinBrush);
}

void TSkinData::SetSkin3rd(const TStringList& lines) {
  skin3rd_.Clear();
  for (const std::string& line : lines.Items()) skin3rd_.Add(line);
}

void TSkinData::SetActive(bool Value) {
  if (Value == active_) return;
  active_ = Value;
  // While the form resource is read, Loaded acts on the value. Without a manager (a
  // component made in code that never loaded a skin) the value is only stored.
  if (Reading || SkinManager == nullptr) return;
  switch (SkinFormtype) {
    case sfMainform:
      if (Value) {
        if (NoSkinLoaded) return;
        SkinManager->PendingSkinData = this;
        SkinManager->ScheduleAction(1, 250);
        SkinManager->State = 1;
      } else {
        SkinManager->PendingSkinData = this;
        SkinManager->ScheduleAction(2, 250);
      }
      break;
    case sfOnlyThisForm:
      SkinManager->PendingSkinData = this;
      if (Value && NoSkinLoaded) return;
      SkinManager->ScheduleAction(Value ? 1 : 2, 250);
      break;
    case sfDialog:
    case sfDLL:
      break;
  }
}

void TSkinData::Loaded() {
  Reading = false;
  if (SkinGetScrollBarInfoProc == nullptr) Exclude(SkinControls, xcScrollbar);
  if (SkinManager == nullptr && SkinManagerFactory != nullptr) SkinManager = SkinManagerFactory();
  // Without a manager the component still keeps its skin; nothing is skinned.
  ISkinManager* manager = SkinManager;
  if (manager != nullptr) manager->AddSkinData(this);
  if (SkinFormtype == sfMainform) {
    if (manager != nullptr) manager->InstallHook();
    if (active_) {
      if (NoSkinLoaded)
        active_ = false;
      else if (manager != nullptr)
        manager->ScheduleAction(1, 250);
    }
    if (InSet(SkinControls, xcMainMenu))
      Exclude(SkinControls, xcMenuItem);
    else
      Exclude(SkinControls, xcSystemMenu);
    BuildAppIcon();
  } else if (manager != nullptr) {
    manager->Active = true;
    manager->State = manager->State + 1;
    if (HWND form = SkinControlWindow(Owner()); form != nullptr && active_) manager->SkinWindow(form);
  }
}

void TSkinData::ReadSkinStream(TStream& Stream) {
  std::int32_t n = 0;
  if (Stream.Read(&n, sizeof(n)) != sizeof(n) || n <= 0) return;
  // A count beyond the bytes there keeps the stream as it was, like a count of 0.
  if (static_cast<std::size_t>(n) > Stream.Remaining()) return;
  TMemoryStream bytes;
  bytes.CopyFrom(Stream, static_cast<std::size_t>(n));
  LoadSkinBytes(bytes);
}

void TSkinData::WriteSkinStream(TStream& Stream) const {
  const std::int32_t n = static_cast<std::int32_t>(SkinStream.Size());
  Stream.Write(&n, sizeof(n));
  if (n > 0) Stream.Write(SkinStream.Memory(), SkinStream.Size());
}

void TSkinData::LoadSkinFromStore(TSkinStore* Store, int Index) {
  if (Store == nullptr || Index >= static_cast<int>(Store->Store()->Count())) return;
  TSkinCollectionItem* item = Store->Store()->Item(Index);  // a negative index raises
  TMemoryStream bytes;
  item->DataStream.SetPosition(0);
  bytes.CopyWhole(item->DataStream);
  if (LoadSkinBytes(bytes)) AfterLoad();
}

void TSkinData::SetSkinFile(const std::string& Value) {
  skinFile_ = Value;
  std::ifstream in(Value, std::ios::binary);
  if (Value.empty() || !in) {
    NoSkinLoaded = true;  // a name that reads nothing leaves no skin
    return;
  }
  const std::string file((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  TMemoryStream bytes;
  bytes.Write(file.data(), file.size());
  if (LoadSkinBytes(bytes)) AfterLoad();
}

bool TSkinData::LoadSkinBytes(TMemoryStream& Bytes) {
  const bool good = ReadSkin(Bytes);
  // A refused skin leaves the one in force, its archive included; with none in force the
  // stream keeps what was last given.
  if (good || NoSkinLoaded) SkinStream.Swap(Bytes);
  SkinStream.SetPosition(0);
  return good;
}

bool TSkinData::LoadSkinStream() { return ReadSkin(SkinStream); }

bool TSkinData::ReadSkin(TMemoryStream& Bytes) {
  TSkinReader reader;
  Bytes.SetPosition(0);
  if (!LoadSkinArchive(reader, Bytes)) return false;
  TMemoryStream member;
  std::string name;
  reader.FindEntry(".ini", member, name);
  member.SetPosition(0);
  TQuickIni ini;
  ini.LoadFromStream(&member);

  // The new skin is read whole beside the old one and only then takes its place, so a
  // load that fails or is refused leaves the previous skin in force as it was.
  TSkinContent next;
  next.ScrollBarWidth = GetSystemMetrics(SM_CXHSCROLL);
  next.LoadResourceImage = LoadSkinResourceImage;
  if (ComboxArrow) next.ComboxArrow = std::make_unique<TDataSkinObject>(*ComboxArrow);
  next.ReadSkinIni(reader, ini);
  // A skin that would leave its windows no room on the screen is refused as damaged, as
  // an archive that does not hold together is.
  if (!SkinFitsScreen(next, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN))) {
    ShowSkinRefused(TSkinReadError::Damaged);
    return false;
  }
  AdoptContent(std::move(next));

  if (SkinBrush != nullptr) DeleteObject(SkinBrush);
  SkinBrush = CreateSolidBrush(skin::ColorToRGB(static_cast<skin::TColor>(ButtonFaceColour)));
  NoSkinLoaded = false;
  return true;
}

void TSkinData::AfterLoad() {
  if (Reading) return;
  if (SkinManager == nullptr) Loaded();
  if (SkinManager == nullptr) return;
  SkinManager->PendingSkinData = this;
  SkinManager->DropCaptionButtons();
  if (SkinManager->State == 1) SkinManager->ScheduleAction(3, 250);
}

void TSkinData::FilterWindow(HWND, const std::string& aName, bool& DoSkin) {
  if (OnFormSkin) {
    OnFormSkin(this, aName, DoSkin);
    return;
  }
  if (aName == "SysMonthCal32")
    DoSkin = false;
  else if (InSet(SkinControls, xcFastReport) && aName.rfind("Tfr", 0) == 0)
    DoSkin = false;
}

void TSkinData::DoSkinChanged() {
  if (OnSkinChanged) OnSkinChanged(this);
}

void TSkinData::BuildAppIcon() {
  HWND window = SkinControlWindow(Owner());
  if (window == nullptr) return;
  HICON icon = reinterpret_cast<HICON>(SendMessageA(window, WM_GETICON, ICON_SMALL, 0));
  if (icon == nullptr) icon = reinterpret_cast<HICON>(SendMessageA(window, WM_GETICON, ICON_BIG, 0));
  if (icon == nullptr) return;
  const int cx = GetSystemMetrics(SM_CXSMICON), cy = GetSystemMetrics(SM_CYSMICON);
  TSkinBitmap picture(cx, cy, kSkinKeyColour);
  TSkinImageDC canvas(picture);
  if (!canvas.Valid()) return;
  HICON copy = static_cast<HICON>(CopyImage(icon, IMAGE_ICON, cx, cy, LR_COPYFROMRESOURCE));
  if (copy == nullptr) return;
  DrawIconEx(canvas.DC(), 0, 0, copy, cx, cy, 0, nullptr, DI_NORMAL);
  DestroyIcon(copy);
  canvas.ReadBack(picture);
  AppIcon = std::move(picture);
}
