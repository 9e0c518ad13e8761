#include "SkinManage.h"

#include <algorithm>

#include "ManagerRules.h"
#include "SkinDrawWin.h"
#include "WinSkinForm.h"
#include "WinSkinPopMenu.h"
#include "forms/Controls.h"
#include "forms/ExtCtrls.h"
#include "forms/Forms.h"

HINSTANCE SkinModuleInstance = nullptr;

namespace {

// Windows of other modules that the manager skins all the same.
constexpr char kDialogClass[] = "#32770";
constexpr char kPopupMenuClass[] = "#32768";

int manageUsers = 0;

bool HasStyle(HWND w, int index, LONG bits) { return (GetWindowLongA(w, index) & bits) != 0; }

}  // namespace

void InitSkinManage() {
  if (manageUsers++ > 0) return;
  // The framework registers the same message for its controls; nothing here uses it.
  RegisterWindowMessageA(SkinControlAtomText().c_str());
  SkinModuleInstance = GetModuleHandleA(nullptr);
  SkinManagerFactory = [] { return static_cast<ISkinManager*>(new TSkinManage); };
}

void DoneSkinManage() {
  if (manageUsers == 0 || --manageUsers > 0) return;
  FreeSkinManager();
  SkinManagerFactory = nullptr;
}

TSkinManage* ActiveSkinManager() { return dynamic_cast<TSkinManage*>(SkinManager); }

// ---------------------------------------------------------------------------------------

TSkinManage::TSkinManage() : Timer(std::make_unique<TTimer>(nullptr)) {
  Timer->SetEnabled(false);
  Timer->SetInterval(100);
  Timer->OnTimer = [this](TObject*) { RunAction(); };
}

TSkinManage::~TSkinManage() {
  // No hook may reach a manager that is going, and skinners freed now must not touch the
  // lists.
  if (HookHandle) UnhookWindowsHookEx(HookHandle);
  HookHandle = nullptr;
  State = 4;
  Active = false;
  Timer.reset();
  while (!FormSkinners.empty()) {
    TWinSkinForm* skinner = FormSkinners.back();
    FormSkinners.pop_back();
    if (skinner->FState != 6) skinner->DetachOnDestroy();
    delete skinner;
  }
  PopupSkinners.clear();  // each gives its window the procedure back
  if (SkinManager == this) SkinManager = nullptr;
}

void TSkinManage::AddSkinData(TSkinData* SkinData) {
  SkinDatas.push_back(SkinData);
  if (!DefaultSkinData && SkinData->SkinFormtype == sfMainform) DefaultSkinData = SkinData;
}

void TSkinManage::RemoveSkinData(TSkinData* SkinData) {
  std::erase(SkinDatas, SkinData);
  if (DefaultSkinData == SkinData) DefaultSkinData = nullptr;
  // A pending action must never reach a freed component.
  if (PendingSkinData == SkinData) PendingSkinData = nullptr;
  // Nothing may paint from the component once it is gone: the windows and popup menus
  // that use it get their own look back first, each searched afresh (unskinning a
  // window runs its messages).
  Purge();
  const auto form = [&] {
    return std::find_if(FormSkinners.begin(), FormSkinners.end(),
                        [SkinData](const TWinSkinForm* s) { return s->FSkinData == SkinData; });
  };
  for (auto it = form(); it != FormSkinners.end(); it = form()) UnskinAndFree(*it);
  const auto popup = [&] {
    return std::find_if(PopupSkinners.begin(), PopupSkinners.end(),
                        [SkinData](const auto& p) { return p->SkinData == SkinData; });
  };
  for (auto it = popup(); it != PopupSkinners.end(); it = popup())
    RemovePopupSkinner((*it)->Window);
}

void TSkinManage::InstallHook() {
  if (HookHandle) return;  // a second main skin data shares the one hook
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
  SkinWinVersion = GetVersion();
#pragma GCC diagnostic pop
  HookHandle = SetWindowsHookExA(WH_CBT, SkinCBTProc, nullptr, GetCurrentThreadId());
}

LRESULT CALLBACK TSkinManage::SkinCBTProc(int Code, WPARAM WParam, LPARAM LParam) {
  TSkinManage* self = ActiveSkinManager();
  const HHOOK hook = self ? self->HookHandle : nullptr;
  if (Code >= 0 && self && self->State != 4) {
    const HWND window = reinterpret_cast<HWND>(WParam);
    SafeCall([&] {
      switch (Code) {
        case HCBT_CREATEWND: {
          const CREATESTRUCTA& cs = *reinterpret_cast<CBT_CREATEWNDA*>(LParam)->lpcs;
          // The class name from the window: the creation record may hold an atom.
          const std::string name = GetWndClassName(window);
          // A size grip made in a skinned window is skinned with the other controls.
          if (name == "ScrollBar" && (cs.style & SBS_SIZEGRIP))
            if (TWinSkinForm* parent = self->FindFormSkinner(cs.hwndParent)) parent->SkinWindowByClass(window);
          if (!(cs.style & WS_CHILD) && name == kPopupMenuClass) self->SkinPopupMenu(window);
          if (cs.dwExStyle & WS_EX_MDICHILD) self->SkinWindow(window);
          break;
        }
        case HCBT_DESTROYWND:
          self->RemovePopupSkinner(window);
          break;
        case HCBT_ACTIVATE:
          if (self->State == 0) self->State = 1;
          self->SkinWindow(window);
          break;
        default:
          break;
      }
    });
  }
  return CallNextHookEx(hook, Code, WParam, LParam);
}

// ---------------------------------------------------------------------------------------
// Forms

void TSkinManage::Purge() {
  if (State == 4) return;
  // Every skinner takes itself off the list when it goes, so the list holds live ones:
  // those whose window is gone are freed here.
  for (std::size_t i = FormSkinners.size(); i-- > 0;) {
    if (i >= FormSkinners.size()) continue;
    TWinSkinForm* skinner = FormSkinners[i];
    if (skinner->FState != 6) continue;
    FormSkinners.erase(FormSkinners.begin() + std::ptrdiff_t(i));
    delete skinner;
  }
}

TWinSkinForm* TSkinManage::FindFormSkinner(HWND Window) const {
  for (TWinSkinForm* s : FormSkinners)
    if (s->FHandle == Window) return s;
  return nullptr;
}

void TSkinManage::RemoveFormSkinner(TWinSkinForm* Skinner) {
  if (State == 4) return;
  // By identity: a window handle may already belong to a new window.
  std::erase(FormSkinners, Skinner);
}

TSkinData* TSkinManage::ChooseSkinData(HWND Window, const std::string& ClassName) const {
  std::vector<TSkinDataChoice> choices;
  for (TSkinData* d : SkinDatas) {
    auto* owner = dynamic_cast<TWinControl*>(d->Owner());
    // Only a window that exists: asking for one would make it.
    choices.push_back({d->SkinFormtype, owner && owner->HandleAllocated() && owner->Handle() == Window});
  }
  const int i = ChooseSkinDataIndex(choices, ClassName);
  return i < 0 ? nullptr : SkinDatas[std::size_t(i)];
}

bool TSkinManage::SkinWindow(HWND Window) {
  if (!Active) return false;
  Purge();
  if (SendMessageA(Window, WM_SKINQUERY, 0, 0) == 1) return false;
  if (FindFormSkinner(Window)) return false;

  TWinControl* control = nullptr;
  for (TCustomForm* form : ScreenForms())
    if (form->HandleAllocated() && form->Handle() == Window) {
      control = form;
      break;
    }
  if (!control) control = FindVclControl(Window);

  const bool child = HasStyle(Window, GWL_STYLE, WS_CHILD);
  const bool mdiChild = HasStyle(Window, GWL_EXSTYLE, WS_EX_MDICHILD);
  if (!SkinningAll && IsPlainChildWindow(child, mdiChild, GetWndClassName(GetParent(Window)))) return false;

  const std::string name = GetWndClassName(Window);
  const auto module = reinterpret_cast<HINSTANCE>(GetWindowLongPtrA(Window, GWLP_HINSTANCE));
  if (!control && module != SkinModuleInstance && name != kDialogClass) return false;

  RECT r{};
  GetWindowRect(Window, &r);
  if ((r.right - r.left) * (r.bottom - r.top) == 0 && !mdiChild) return false;
  // A fixed tag: whatever the skin data's DisableTag says.
  if (control && control->Tag == 99) return false;
  if (IsRefusedClassName(name)) return false;

  bool doSkin = true;
  if (DefaultSkinData) {
    if (IsRefusedPreview(name, true, DefaultSkinData->Options)) doSkin = false;
    DefaultSkinData->FilterWindow(Window, name, doSkin);
  }
  if (!doSkin) return false;
  TSkinData* data = ChooseSkinData(Window, name);
  if (!data || data->NoSkinLoaded) return false;

  auto* skinner = new TWinSkinForm(control);
  skinner->FHandle = Window;
  skinner->FManagerTag = nullptr;
  skinner->FEventName = name;
  if (control)
    skinner->AttachForm(data, control);
  else
    skinner->AttachPlainWindow(data);
  FormSkinners.push_back(skinner);
  PostMessageA(Window, WM_SKINSTART, 0, 1000);
  return true;
}

void TSkinManage::SkinForm(TWinControl* Form) {
  if (!Form->Visible() || !Form->HandleAllocated() || HasStyle(Form->Handle(), GWL_STYLE, WS_CHILD)) return;
  SkinWindow(Form->Handle());
}

void TSkinManage::DropCaptionButtons() {
  for (TWinSkinForm* s : FormSkinners)
    if (s->FSkinData == PendingSkinData) s->FreeCaptionButtons();
}

// ---------------------------------------------------------------------------------------
// Actions

void TSkinManage::ScheduleAction(int Action, int DelayMs) {
  PendingAction = Action;
  Timer->SetInterval(unsigned(DelayMs));
  if (State == 0) {
    if (Action == 1) Active = true;
    if (Action == 2) Active = false;
    return;
  }
  // Armed again from now: a second request before the first ran replaces it.
  Timer->SetEnabled(false);
  Timer->SetEnabled(true);
}

void TSkinManage::UnskinAndFree(TWinSkinForm* Skinner) {
  std::erase(FormSkinners, Skinner);
  Skinner->Unskin();
  TWinSkinForm::RedrawNow(Skinner->FHandle);
  delete Skinner;
}

void TSkinManage::RunAction() {
  Timer->SetEnabled(false);
  TSkinData* data = PendingSkinData;
  if (!data) return;
  const bool single = data->SkinFormtype == sfOnlyThisForm;
  auto uses = [data](const TWinSkinForm* s) { return s->FSkinData == data; };
  switch (PendingAction) {
    case 1:
      Active = true;
      SkinningAll = true;
      Purge();
      for (std::size_t i = ScreenForms().size(); i-- > 0;) {
        if (i >= ScreenForms().size()) continue;
        TCustomForm* form = ScreenForms()[i];
        if (single && form != data->Owner()) continue;
        SkinForm(form);
        if (single) break;
      }
      SkinningAll = false;
      break;
    case 2:
      Active = false;
      Purge();
      if (single) {
        auto it = std::find_if(FormSkinners.rbegin(), FormSkinners.rend(), uses);
        if (it != FormSkinners.rend()) UnskinAndFree(*it);
      } else {
        while (!FormSkinners.empty()) UnskinAndFree(FormSkinners.front());
      }
      break;
    case 3: {
      Purge();
      std::vector<TWinSkinForm*> chosen;
      for (TWinSkinForm* s : FormSkinners)
        if (uses(s)) {
          chosen.push_back(s);
          if (single) break;
        }
      for (TWinSkinForm* s : chosen) {
        s->FreeCaptionButtons();
        s->ComputeMetrics();
      }
      for (TWinSkinForm* s : chosen) s->Refresh();
      break;
    }
    default:
      break;
  }
  // Cleared before the event: a handler may ask for the next action.
  PendingSkinData = nullptr;
  data->DoSkinChanged();
}

void TSkinManage::SetMDIMaximized(bool Maximized) {
  if (Maximized == MDIMaximized) return;
  MDIMaximized = Maximized;
  if (DefaultSkinData && InSet(DefaultSkinData->Options, xoMDIChildBorder)) return;
  for (TWinSkinForm* s : FormSkinners) {
    if (s->FKind != kMDIChild) continue;
    if (Maximized) {
      s->DropRegion();
      s->SetCaptionStyle(true);
    } else if (s->FWindowState == kMinimized) {
      s->SetCaptionStyle(true);
    } else {
      s->FWindowState = kRestored;
      s->BuildRegion();
      s->SetCaptionStyle(false);
      if (!s->FHasRegion)
        SetWindowPos(s->FHandle, nullptr, 0, 0, 0, 0,
                     SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
    }
  }
}

// ---------------------------------------------------------------------------------------
// Popup menus

void TSkinManage::SkinPopupMenu(HWND Window) {
  if (!Active || SendMessageA(Window, WM_SKINQUERY, 0, 0) == 1 || HasPopupSkinner(Window)) return;
  TSkinData* data = ChooseSkinData(Window, kPopupMenuClass);
  if (!data || data->NoSkinLoaded || !IsPopupSkinned(PopupKind, data->SkinControls)) return;
  auto skinner = std::make_unique<TWinSkinPopMenu>();
  skinner->Attach(Window, data, nullptr);
  PopupSkinners.push_back(std::move(skinner));
}

bool TSkinManage::RemovePopupSkinner(HWND Window) {
  auto it = std::find_if(PopupSkinners.begin(), PopupSkinners.end(),
                         [Window](const auto& p) { return p->Window == Window; });
  if (it == PopupSkinners.end()) return false;
  std::unique_ptr<TWinSkinPopMenu> skinner = std::move(*it);
  PopupSkinners.erase(it);
  skinner->Detach();
  if (PopupSkinners.empty()) PopupKind = 0;
  return true;
}

bool TSkinManage::HasPopupSkinner(HWND Window) const {
  return std::any_of(PopupSkinners.begin(), PopupSkinners.end(),
                     [Window](const auto& p) { return p->Window == Window; });
}

void TSkinManage::BindPopupMenu(HMENU Menu) {
  // Bound by what each popup window says it shows, so that the popups of cascading
  // menus each keep their own menu; a window that cannot say gets the newest unbound.
  for (const auto& p : PopupSkinners)
    if (p->MenuHandle == Menu) return;
  for (const auto& p : PopupSkinners)
    if (!p->MenuHandle && p->ShownMenu() == Menu) {
      p->MenuHandle = Menu;
      return;
    }
  for (auto it = PopupSkinners.rbegin(); it != PopupSkinners.rend(); ++it)
    if (!(*it)->MenuHandle && !(*it)->ShownMenu()) {
      (*it)->MenuHandle = Menu;
      return;
    }
}

const TWinSkinPopMenu* TSkinManage::GetPopupSkinner(HMENU Menu) {
  BindPopupMenu(Menu);
  for (const auto& p : PopupSkinners)
    if (p->MenuHandle == Menu) return p.get();
  return nullptr;
}
