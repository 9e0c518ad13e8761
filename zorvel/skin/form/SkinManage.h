// The skin manager: the one coordinator of the skin engine. A thread-wide window hook
// shows it every window that is activated (it skins the program's forms and the
// system's dialog boxes), every popup menu that opens (it skins them too) and every
// window that goes; a one-shot timer runs the skin-wide actions (skin every form,
// unskin every form, refresh the forms of a skin data after it read another skin).
#pragma once

#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "WinSkinData.h"

class TTimer;
class TWinSkinForm;
class TWinSkinPopMenu;

// The program's module instance: windows of other modules are skinned only when they
// are standard dialog boxes.
extern HINSTANCE SkinModuleInstance;

// Start-up and end of the manager module: the window message named after the control
// atom, the module instance, and the factory through which the first skin data that
// loads creates the manager. The end frees the manager, which lets every window go.
void InitSkinManage();
void DoneSkinManage();

class TSkinManage : public ISkinManager {
 public:
  TSkinManage();
  // Unhooks first, then lets every skinned window and popup menu go.
  ~TSkinManage() override;

  void AddSkinData(TSkinData* SkinData) override;
  void RemoveSkinData(TSkinData* SkinData) override;
  void InstallHook() override;
  void ScheduleAction(int Action, int DelayMs) override;
  void DropCaptionButtons() override;
  bool SkinWindow(HWND Window) override;
  void RemoveFormSkinner(TWinSkinForm* Skinner) override;
  void SetMDIMaximized(bool Maximized) override;

  void RunAction();
  void SkinForm(TWinControl* Form);
  TWinSkinForm* FindFormSkinner(HWND Window) const;
  void SkinPopupMenu(HWND Window);
  bool RemovePopupSkinner(HWND Window);
  bool HasPopupSkinner(HWND Window) const;
  void BindPopupMenu(HMENU Menu);
  // The background composed for the popup that shows this menu, or null.
  const TWinSkinPopMenu* GetPopupSkinner(HMENU Menu);

  std::unique_ptr<TTimer> Timer;
  HHOOK HookHandle = nullptr;
  std::vector<TWinSkinForm*> FormSkinners;
  std::vector<std::unique_ptr<TWinSkinPopMenu>> PopupSkinners;
  std::vector<TSkinData*> SkinDatas;
  bool SkinningAll = false;
  int PendingAction = 0;
  TSkinData* DefaultSkinData = nullptr;

 private:
  static LRESULT CALLBACK SkinCBTProc(int Code, WPARAM WParam, LPARAM LParam);
  void Purge();
  TSkinData* ChooseSkinData(HWND Window, const std::string& ClassName) const;
  void UnskinAndFree(TWinSkinForm* Skinner);
};

// The running manager, or null (none, or another kind).
TSkinManage* ActiveSkinManager();
