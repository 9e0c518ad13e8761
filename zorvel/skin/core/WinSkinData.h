// The skin data component: holds a packed skin (from a store item, a file or its own
// form resource), reads it into colours and elements (WinSkinDataCore.h), carries the
// options that steer every skinner and switches skinning on and off through the skin
// manager. Also the engine's optional user32 bindings and its small text helpers.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "WinSkinDataCore.h"
#include "WinSkinDataKinds.h"
#include "WinSkinStore.h"
#include "forms/Classes.h"
#include "forms/Streams.h"

class TSkinData;
class TControl;
class TWinControl;

using TOnFormSkin = std::function<void(TObject* Sender, const std::string& aName, bool& DoSkin)>;
using TOnSkinControl = std::function<void(TComponent* Sender, TSkinData* SkinData, TControl* Form,
                                          TControl* Control, const std::string& ControlClass,
                                          TComponent*& SkinnedControl)>;
using TOnSkinForm = std::function<void(TObject* Sender, HWND ahwnd, const std::string& aName)>;

class TWinSkinForm;

// What a skin data component (and a form skinner) asks of the one global skin manager.
// The manager module implements it and installs its factory at start-up; without it a
// skin data component loads and keeps skins and nothing is skinned.
class ISkinManager {
 public:
  virtual ~ISkinManager() = default;
  virtual void AddSkinData(TSkinData* SkinData) = 0;
  virtual void RemoveSkinData(TSkinData* SkinData) = 0;
  virtual void InstallHook() = 0;
  virtual void ScheduleAction(int Action, int DelayMs) = 0;
  virtual void DropCaptionButtons() = 0;
  virtual bool SkinWindow(HWND Window) = 0;
  // A form skinner that goes takes itself off the manager's list.
  virtual void RemoveFormSkinner(TWinSkinForm* Skinner) = 0;
  // MDI children shown maximized (their skinned frames step aside) or not.
  virtual void SetMDIMaximized(bool Maximized) = 0;

  bool Active = false;
  int State = 0;  // 0 before the start, 1 once started
  TSkinData* PendingSkinData = nullptr;
  // What the form skinners share: the kind of popup about to open (0 any other, 1 of a
  // window's menu, 2 a system menu), the MDI children's state, the MDI client and form.
  int PopupKind = 0;
  bool MDIMaximized = false;
  HWND MDIClient = nullptr;
  TWinControl* MDIForm = nullptr;
};

// The one manager; null until the first skin data finishes loading.
extern ISkinManager* SkinManager;
// Makes the manager; set by the manager module's start-up, null without one.
extern ISkinManager* (*SkinManagerFactory)();
// Frees the manager (program end; tests).
void FreeSkinManager();

// Engine-wide values, set by InitSkinData.
extern bool IsWinNT;
// GetVersion's answer: the low byte the major version, the next the minor, the top bit
// set outside the NT family. Tests set it to try other systems.
extern DWORD SkinWinVersion;
inline bool SkinIsNTFamily() { return (SkinWinVersion & 0x80000000u) == 0; }
inline int SkinMajorVersion() { return int(SkinWinVersion & 0xFF); }
inline int SkinMinorVersion() { return int((SkinWinVersion >> 8) & 0xFF); }
// An NT-family system before version 5.
inline bool SkinNTBefore5() { return SkinIsNTFamily() && SkinMajorVersion() < 5; }
extern UINT SkinCodePage;
extern ATOM SkinControlAtom;

// The optional user32 functions, null when the system lacks them.
using TGetScrollBarInfoProc = BOOL(WINAPI*)(HWND, LONG, PSCROLLBARINFO);
using TTrackMouseEventProc = BOOL(WINAPI*)(LPTRACKMOUSEEVENT);
using TGetComboBoxInfoProc = BOOL(WINAPI*)(HWND, PCOMBOBOXINFO);
extern TGetScrollBarInfoProc SkinGetScrollBarInfoProc;
extern TTrackMouseEventProc SkinTrackMouseEventProc;
extern TGetComboBoxInfoProc SkinGetComboBoxInfoProc;

// Start-up and end of the skin data module: binds the user32 functions (first call),
// frees the library and the manager (last call).
void InitSkinData();
void DoneSkinData();

bool SkinGetScrollBarInfo(HWND Wnd, LONG ObjectId, SCROLLBARINFO& Info);
void SkinTrackMouseLeave(HWND Wnd);
// 8-bit text (SkinCodePage) to UTF-16.
std::wstring SkinStrToWide(const std::string& S);
// Count < 0: the zero-terminated text whole; else its first Count characters.
std::wstring WideStrFromBuffer(const wchar_t* P, int Count);
// Draws with the wide function on NT-family systems, the 8-bit one elsewhere.
int DrawSkinText(HDC DC, const std::wstring& Text, RECT& R, UINT Format);
// The framework control behind a window, or null.
TWinControl* FindVclControl(HWND Wnd);

// Whether the skin data component still exists (a menu painter may outlive it).
bool IsLiveSkinData(const TSkinData* SkinData);

// Registers TSkinStore and TSkinData for form descriptions. The archives travel as
// RCDATA resources that the description names: a store's Store lines are
// "ItemName=RESOURCE", a skin data's SkinStream is a resource name.
void RegisterSkinClasses();

// A program bitmap resource as a skin image (empty when missing or unreadable).
void LoadSkinResourceImage(const std::string& name, TSkinBitmap& image);

class TSkinData : public TComponent, public TSkinContent {
 public:
  explicit TSkinData(TComponent* AOwner);
  ~TSkinData() override;
  TSkinData(const TSkinData&) = delete;
  TSkinData& operator=(const TSkinData&) = delete;

  // Published properties.
  bool Active() const noexcept { return active_; }
  void SetActive(bool Value);
  int DisableTag = 99;
  TSkinControlTypes SkinControls = kDefaultSkinControls;
  TSkinOptions Options = kDefaultSkinOptions;
  const TStringList& Skin3rd() const noexcept { return skin3rd_; }
  TStringList& Skin3rd() noexcept { return skin3rd_; }
  void SetSkin3rd(const TStringList& lines);
  const std::string& SkinFile() const noexcept { return skinFile_; }
  void SetSkinFile(const std::string& Value);
  std::string GetSkinStore() const { return "(none)"; }
  TSkinFormType SkinFormtype = sfMainform;
  std::string Version() const { return "4.11.07.25"; }
  bool MenuUpdate = true;
  bool MenuMerge = false;
  TOnFormSkin OnFormSkin;
  TNotifyEvent OnSkinChanged;
  TOnSkinControl OnSkinControl;
  TOnSkinForm OnBeforeSkinForm;
  TOnSkinForm OnAfterSkinForm;

  // The packed archive as last given; the form property "SkinStream".
  TMemoryStream SkinStream;
  // True from creation and from the start of each load until a skin was read whole.
  bool NoSkinLoaded = true;
  TSkinBitmap AppIcon;  // magenta is transparent
  bool PaintNonClient = true;
  HIMAGELIST MenuImages = nullptr;
  HBRUSH SkinBrush = nullptr;
  // True while the component is read from a form resource: Loaded ends it.
  bool Reading = false;

  // "SkinStream": a 32-bit count, then the packed archive.
  void ReadSkinStream(TStream& Stream);
  void WriteSkinStream(TStream& Stream) const;
  void Loaded();
  void LoadSkinFromStore(TSkinStore* Store, int Index);
  // Reads SkinStream; a skin that fails or is refused leaves the skin in force.
  bool LoadSkinStream();
  void AfterLoad();
  void FilterWindow(HWND Wnd, const std::string& aName, bool& DoSkin);
  void DoSkinChanged();
  void BuildAppIcon();

 private:
  // Reads and checks Bytes beside the skin in force; only a good skin takes its place:
  // SkinStream, content and NoSkinLoaded.
  bool LoadSkinBytes(TMemoryStream& Bytes);
  bool ReadSkin(TMemoryStream& Bytes);
  bool active_ = false;
  TStringList skin3rd_;
  std::string skinFile_;
};
