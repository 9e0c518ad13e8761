// The control dispatch: when the form skinner starts, every child control of its window
// gets the control skinner of its kind. DispatchRules decides from facts gathered here;
// this file creates the skinners (owned by their controls) and attaches them.
#include <algorithm>
#include <string>
#include <vector>

#include "DispatchRules.h"
#include "SkinRead.h"
#include "SkinBoxes.h"
#include "SkinButtons.h"
#include "SkinChecks.h"
#include "SkinEdits.h"
#include "SkinForeign.h"
#include "SkinHeader.h"
#include "SkinMediaPlayer.h"
#include "SkinProps.h"
#include "SkinRanges.h"
#include "SkinScrollBars.h"
#include "SkinSheets.h"
#include "SkinSpeedButton.h"
#include "SkinTabs.h"
#include "WinSkinData.h"
#include "WinSkinForm.h"
#include "WinSkinMenuPaint.h"
#include "forms/Buttons.h"
#include "forms/CheckBoxes.h"
#include "forms/ComCtrls.h"
#include "forms/Forms.h"
#include "forms/PickCtrls.h"
#include "forms/ScrollCtrls.h"
#include "forms/SpeedButtons.h"
#include "forms/StdCtrls.h"
#include "forms/TabControls.h"
#include "forms/ToolBar.h"

namespace {

template <class T>
bool Is(TControl* Control) {
  return dynamic_cast<T*>(Control) != nullptr;
}

unsigned KindsOf(TControl* c) {
  const std::pair<bool, TControlKind> kinds[] = {
      {Is<TGroupBox>(c), ckGroupBox},          {Is<TProgressBar>(c), ckProgress},
      {Is<TComboBox>(c), ckComboBox},          {Is<TCustomPanel>(c), ckPanel},
      {Is<TListView>(c), ckListView},          {Is<TButton>(c), ckButton},
      {Is<TEdit>(c), ckEdit},                  {Is<TCustomForm>(c), ckForm},
      {Is<TCustomTabControl>(c), ckTabControl}, {Is<TTabSheet>(c), ckTabSheet},
      {Is<THeaderControl>(c), ckHeader},       {Is<TCheckBox>(c), ckCheckBox},
      {Is<TTrackBar>(c), ckTrackBar},          {Is<TRadioGroup>(c), ckRadioGroup},
      {Is<TRadioButton>(c), ckRadioButton},    {Is<TStatusBar>(c), ckStatusBar},
      {Is<TScrollBar>(c), ckScrollBar},        {Is<TDateTimePicker>(c), ckDateTime},
      {Is<TBitBtn>(c), ckBitBtn},              {Is<TSpeedButton>(c), ckSpeedButton},
      {Is<TMemo>(c), ckMemo},                  {Is<TToolBar>(c), ckToolBar},
  };
  unsigned result = 0;
  for (const auto& [is, kind] : kinds)
    if (is) result |= kind;
  return result;
}

TControlFacts FactsOf(TControl* Control, const std::string& UpperClassName, const TSkinData& Data) {
  TControlFacts facts;
  facts.ClassName = UpperClassName;
  facts.Kinds = KindsOf(Control);
  facts.Windowed = Is<TWinControl>(Control);
  facts.HasScrollBars = TWinSkinForm::HasScrollBars(Control);
  facts.SkinHasTabs = Data.Tabs != nullptr;
  if (auto* tabs = dynamic_cast<TCustomTabControl*>(Control)) {
    facts.TabStyleTabs = tabs->Style == tsTabs;
    facts.TabHoldsControls = Is<TTabControl>(Control);
  }
  if (auto* picker = dynamic_cast<TDateTimePicker*>(Control)) facts.EditLike = picker->DateMode == dmUpDown;
  facts.NumButtons = int(GetOrdPropByName(Control, "NumButtons"));
  return facts;
}

// A property write that a control of another library may refuse (a property of another
// kind than expected) is skipped like a missing one.
void TrySetProp(TControl* Control, const std::string& Name, const std::string& Value) {
  try {
    SetPropByName(Control, Name, Value);
  } catch (const std::exception&) {
  }
}

bool ChildStyleHasScrollBars(TControl* Child) {
  return Is<TWinControl>(Child) && TWinSkinForm::HasScrollBars(Child);
}

}  // namespace

// ---------------------------------------------------------------------------------------
// Creating and attaching

template <class T>
T* TWinSkinForm::AttachNew(TControl* Control, bool UseColour, void (*Prepare)(T&)) {
  auto* skinner = new T(Control);
  if (Prepare) Prepare(*skinner);
  skinner->AttachControl(this, FSkinData, FControlCanvas.get(), UseColour);
  return skinner;
}

template <class T>
T* TWinSkinForm::AttachNewWindow(HWND Window) {
  auto* skinner = new T(this);
  skinner->AttachWindow(Window, FSkinData, FControlCanvas.get(), this);
  return skinner;
}

void TWinSkinForm::AttachScrollSkinner(TControl* Control, int Mode) {
  auto* windowed = dynamic_cast<TWinControl*>(Control);
  if (!windowed) return;
  auto* skinner = Is<TListView>(Control) ? new TSkinListView(Control) : new TSkinScrollbar(Control);
  skinner->FMode = Mode;
  skinner->AttachScrollControl(windowed, FSkinData, FControlCanvas.get(), this);
}

void TWinSkinForm::AttachScrollBarControl(TControl* Control) {
  auto* windowed = dynamic_cast<TWinControl*>(Control);
  if (!windowed) return;
  (new TSkinScControl(Control))->AttachScroll(windowed, FSkinData, FControlCanvas.get(), this);
}

void TWinSkinForm::AttachSpeedButton(TControl* Control) {
  (new TSkinSpeedButton(Control))->AttachGraphicControl(this, FSkinData, FControlCanvas.get());
}

// ---------------------------------------------------------------------------------------
// The walks

void TWinSkinForm::SkinFormControls(TWinControl* Form) {
  FreeDestroyedSkinners();
  SkinComponents(Form);
  std::vector<TWinControl*> controls;
  Form->GetTabOrderList(controls);
  for (TWinControl* control : controls)
    if (!IsControlSkipped(control)) SkinControl(control, Form);
}

void TWinSkinForm::SkinComponents(TComponent* Owner) {
  // By index: skinning may add components to the owner.
  for (std::size_t i = 0; i < Owner->ComponentCount(); ++i)
    if (auto* control = dynamic_cast<TControl*>(Owner->Components(i)))
      SkinControl(control, dynamic_cast<TControl*>(Owner));
  if (InSet(FSkinData->SkinControls, xcPopupMenu)) SetPopupMenusOwnerDraw(Owner, true);
}

void TWinSkinForm::SkinChildren(TControl* Parent) {
  auto* parent = dynamic_cast<TWinControl*>(Parent);
  if (!parent) return;
  for (std::size_t i = 0; i < parent->ControlCount(); ++i) SkinControl(parent->Controls(i), parent);
}

bool TWinSkinForm::IsControlSkipped(TWinControl* Control) {
  return !Control->HandleAllocated() || Control->Tag == FSkinData->DisableTag ||
         SendMessageA(Control->Handle(), WM_SKINQUERY, 0, 0) == 1 || FindControlSkinner(Control->Handle());
}

bool TWinSkinForm::IsControlSkinned(TControl* Control) {
  if (!Control) return false;
  if (Control->Perform(WM_SKINQUERY, 0, 0) == 1) return true;
  return FSkinners && std::any_of(FSkinners->begin(), FSkinners->end(), [Control](TSkinControl* s) {
           return s->Owner() == Control || s->FControl == Control || s->FGraphicControl == Control;
         });
}

void TWinSkinForm::MarkGroupChildren(TControl* Control) {
  auto* group = dynamic_cast<TWinControl*>(Control);
  if (!group || group->ControlCount() == 0) return;
  const std::string name = SkinLowerCase(Control->ClassName());
  if (name.find("radiogroup") == std::string::npos && name.find("checkgroup") == std::string::npos) return;
  for (std::size_t i = 0; i < group->ControlCount(); ++i) group->Controls(i)->Tag = FSkinData->DisableTag;
}

// ---------------------------------------------------------------------------------------
// One control

void TWinSkinForm::SkinControl(TControl* Control, TControl* Parent) {
  if (!Control) return;
  if (Control->Tag == FSkinData->DisableTag) {
    MarkGroupChildren(Control);
    return;
  }
  if (!Control->Parent() || IsControlSkinned(Control)) return;
  const std::string upper = SkinUpperCase(Control->ClassName());
  auto* windowed = dynamic_cast<TWinControl*>(Control);
  if (windowed && !windowed->HandleAllocated()) {
    try {
      windowed->HandleNeeded();
    } catch (const std::exception&) {
      return;  // a control that cannot have its window stays as it is
    }
  }
  if (FSkinData->OnSkinControl) {
    TComponent* supplied = nullptr;
    FSkinData->OnSkinControl(this, FSkinData, Parent, Control, upper, supplied);
    if (auto* skinner = dynamic_cast<TSkinControl*>(supplied)) {
      if (RegisterSkinControl(skinner)) return;
      skinner->AttachControl(this, FSkinData, FControlCanvas.get(), skinner->FUseColour);
      if (Is<TCustomPanel>(Control)) SkinChildren(Control);
      return;
    }
  }
  if (SkinByThirdParty(upper, Control)) return;
  if (upper == "TDBCOMBOBOXEH" || upper == "TFRDESIGNERPAGE" || upper == "TFRPBOX") return;

  const TDispatch d = ChooseBuiltInSkinner(FactsOf(Control, upper, *FSkinData), FSkinData->SkinControls);
  using A = TDispatchAction;
  switch (d.Action) {
    case A::None:
      break;
    case A::Children:
      SkinChildren(Control);
      break;
    case A::Tab31:
      AttachNew<TSkinTab31>(Control);
      break;
    case A::Tab:
      AttachNew<TSkinTab>(Control);
      break;
    case A::TabOverControls:
      // Set after attaching, which settles the mode from the control's background.
      AttachNew<TSkinTab>(Control)->FMode = 2;
      break;
    case A::TabBtn:
      AttachNew<TSkinTabBtn>(Control);
      break;
    case A::TabSheet:
      AttachNew<TSkinTabSheet>(Control);
      break;
    case A::Header:
      AttachNew<TSkinHeader>(Control);
      break;
    case A::CheckBox:
      AttachNew<TSkinCheckBox>(Control);
      break;
    case A::RadioButton:
      AttachNew<TSkinRadioButton>(Control);
      break;
    case A::ToolBar:
      SkinToolBar(dynamic_cast<TToolBar*>(Control));
      break;
    case A::TrackBar:
      AttachNew<TSkinTrackBar>(Control);
      break;
    case A::UpDown:
      AttachNew<TSkinUpDown>(Control);
      break;
    case A::MediaPlayer:
      AttachNew<TSkinMP>(Control);
      break;
    case A::BoxThenChildren:
      AttachNew<TSkinBox>(Control, d.UseColour);
      if (windowed)
        for (std::size_t i = 0; i < windowed->ControlCount(); ++i) SkinControl(windowed->Controls(i), nullptr);
      break;
    case A::ObjImage:
      AttachObjImage(Control, d.ImageKind);
      break;
    case A::GroupBoxAfterChildren:
      SkinChildren(Control);
      AttachNew<TSkinGroupBox>(Control, d.UseColour);
      break;
    case A::RadioGroup:
      SkinGroupChildren(Control, [this](TControl* child) { AttachNew<TSkinRadioButton>(child); });
      AttachNew<TSkinGroupBox>(Control, d.UseColour);
      break;
    case A::Progress:
      AttachNew<TSkinProgress>(Control);
      break;
    case A::ComBox:
      AttachNew<TSkinComBox>(Control);
      break;
    case A::Scrollbar:
    case A::ListView:
      AttachScrollSkinner(Control, 0);
      break;
    case A::BoxAfterChildren:
      SkinChildren(Control);
      AttachNew<TSkinBox>(Control, d.UseColour);
      break;
    case A::StatusBar:
      AttachNew<TSkinStatusBar>(Control);
      break;
    case A::ScControl:
      AttachScrollBarControl(Control);
      break;
    case A::Button:
      AttachNew<TSkinButton>(Control);
      break;
    case A::BitButton:
      AttachNew<TSkinBitButton>(Control);
      break;
    case A::SpeedButton:
      AttachSpeedButton(Control);
      break;
    case A::Edit:
      AttachNew<TSkinEdit>(Control);
      break;
    case A::EditOfWindow:
      if (windowed) (new TSkinEdit(Control))->AttachWindow(windowed->Handle(), FSkinData, FControlCanvas.get(), this);
      break;
    case A::DateTime:
      AttachNew<TSkinDateTime>(Control);
      break;
    case A::FormBox:
      AttachNew<TSkinBox>(Control, d.UseColour);
      SkinComponents(Control);
      break;
  }
}

void TWinSkinForm::AttachObjImage(TControl* Control, int ImageKind) {
  auto* skinner = new TSkinObjImage(Control);
  skinner->ImageKind = ImageKind;
  skinner->AttachControl(this, FSkinData, FControlCanvas.get(), true);
}

void TWinSkinForm::SkinGroupChildren(TControl* Group, const std::function<void(TControl*)>& Attach) {
  auto* group = dynamic_cast<TWinControl*>(Group);
  if (!group) return;
  for (std::size_t i = 0; i < group->ControlCount(); ++i) {
    TControl* child = group->Controls(i);
    // A child that has its skinner keeps it: two would both subclass the window.
    if (!IsControlSkinned(child)) Attach(child);
  }
}

void TWinSkinForm::SkinToolBar(TToolBar* Bar) {
  if (!Bar) return;
  Bar->SetFlat(true);
  // The skin draws the bar while the bar is skinned; once unskinned it draws itself.
  TSkinData* data = FSkinData;
  auto skinned = [data](TToolBar* bar) {
    return IsLiveSkinData(data) && bar->Perform(WM_SKINQUERY, 0, 0) == 1;
  };
  if (!Bar->OnCustomDraw)
    Bar->OnCustomDraw = [data, skinned](TToolBar* bar, HDC dc, const RECT& r, bool& defaultDraw) {
      if (skinned(bar)) PaintSkinToolBar(*data, dc, r, defaultDraw);
    };
  if (!Bar->OnCustomDrawButton)
    Bar->OnCustomDrawButton = [data, skinned](TToolBar* bar, HDC dc, int button, const RECT& r, unsigned state,
                                              bool& defaultDraw) {
      if (skinned(bar))
        PaintSkinToolButton(*data, dc, r, state, TextToWide(bar->ButtonCaption(button)), defaultDraw);
    };
  AttachNew<TSkinBox>(Bar, true);
}

// ---------------------------------------------------------------------------------------
// The host's list of other libraries' classes

bool TWinSkinForm::SkinByThirdParty(const std::string& UpperClassName, TControl* Control) {
  const std::string kind = ThirdPartyKind(FSkinData->Skin3rd().Items(), UpperClassName);
  if (kind.empty()) return false;

  const TSkinControlTypes gates = FSkinData->SkinControls;
  const bool dropDown = GetEnumPropByName(Control, "Kind") == "cxbkDropDownButton";
  using A = TThirdPartyAction;
  switch (ChooseThirdPartySkinner(kind, UpperClassName, dropDown, FSkinData->Tabs != nullptr, gates)) {
    case A::None:
      break;
    case A::ComBox:
      AttachNew<TSkinComBox>(Control);
      break;
    case A::BorderedEdit:
      SkinBorderedEdit(Control);
      break;
    case A::RadioButton:
      AttachNew<TSkinRadioButton>(Control);
      break;
    case A::TransparentPanel:
      TrySetProp(Control, "Transparent", "True");
      AttachNew<TSkinBox>(Control, true);
      break;
    case A::TransparentTrackBar:
      TrySetProp(Control, "Transparent", "True");
      AttachNew<TSkinTrackBar>(Control);
      break;
    case A::Button:
      AttachNew<TSkinButton>(Control);
      break;
    case A::DateTime:
      AttachNew<TSkinDateTime>(Control);
      break;
    case A::MediaPlayer:
      AttachNew<TSkinMP>(Control);
      break;
    case A::CxDropDownButton:
    case A::MenuButton:
      AttachNew<TSkinMenuButton>(Control);
      break;
    case A::BitButton:
      AttachNew<TSkinBitButton>(Control);
      break;
    case A::PngBitButton:
      AttachNew<TSkinBitButton>(Control, false, [](TSkinBitButton& b) { b.FGlyphProperty = "PngImage"; });
      break;
    case A::SpeedButton:
      AttachSpeedButton(Control);
      break;
    case A::Tab:
      AttachNew<TSkinTab>(Control);
      break;
    case A::Progress:
      AttachNew<TSkinProgress>(Control);
      break;
    case A::ScrollbarAndChildren:
      AttachScrollSkinner(Control, 0);
      SkinChildren(Control);
      break;
    case A::SingleScrollbar:
      AttachScrollSkinner(Control, 1);  // never paints the control's border
      break;
    case A::EmbedScrollbar:
      SkinGroupChildren(Control, [this](TControl* child) {
        if (Is<TScrollBar>(child))
          AttachScrollBarControl(child);
        else if (ChildStyleHasScrollBars(child))
          AttachScrollSkinner(child, 0);
      });
      break;
    case A::Children:
      SkinChildren(Control);
      break;
    case A::GroupBox:
      AttachNew<TSkinGroupBox>(Control, true);
      break;
    case A::AdvPage:
      AttachNew<TSkinAdvPage>(Control, true, [](TSkinAdvPage& p) { p.PageMode = 4; });
      break;
    case A::RadioGroup:
    case A::CheckGroup: {
      const bool radio = kind == "radiogroup";
      const bool foreign = UpperClassName.find("TRZ") != std::string::npos;
      if (InSet(gates, xcRadioButton))
        SkinGroupChildren(Control, [&](TControl* child) {
          if (foreign)
            AttachObjImage(child, radio ? 2 : 1);
          else if (radio)
            AttachNew<TSkinRadioButton>(child);
          else
            AttachNew<TSkinCheckBox>(child);
        });
      if (InSet(gates, xcGroupBox)) AttachNew<TSkinGroupBox>(Control, true);
      break;
    }
    case A::CheckBox:
      AttachNew<TSkinCheckBox>(Control);
      break;
  }
  return true;
}

void TWinSkinForm::SkinBorderedEdit(TControl* Control) {
  auto* edit = dynamic_cast<TWinControl*>(Control);
  if (!edit) return;
  RECT window, client;
  GetWindowRect(edit->Handle(), &window);
  GetClientRect(edit->Handle(), &client);
  if (window.right - window.left != client.right || window.bottom - window.top != client.bottom)
    AttachNew<TSkinEdit>(Control);
}

// ---------------------------------------------------------------------------------------
// Plain windows, by class

void TWinSkinForm::SkinChildWindows(HWND Window) {
  for (HWND child = GetTopWindow(Window); child; child = GetWindow(child, GW_HWNDNEXT))
    if (GetWindowLongPtrA(child, GWL_STYLE) & WS_CHILD) SkinWindowByClass(child);
}

TSkinControl* TWinSkinForm::FindControlSkinner(HWND Window) const {
  if (!FSkinners) return nullptr;
  auto it = std::find_if(FSkinners->begin(), FSkinners->end(), [Window](TSkinControl* s) { return s->FHandle == Window; });
  return it == FSkinners->end() ? nullptr : *it;
}

void TWinSkinForm::SkinWindowByClass(HWND Window) {
  if (!Window || FindControlSkinner(Window)) return;
  const auto style = static_cast<unsigned>(GetWindowLongPtrA(Window, GWL_STYLE));
  auto giveFaceColour = [this](HWND w) {
    if (TWinControl* control = FindVclControl(w)) control->SetColor(static_cast<TColor>(FSkinData->ButtonFaceColour));
  };
  using A = TWindowAction;
  switch (ChooseWindowSkinner(GetWndClassName(Window), style)) {
    case A::None:
      break;
    case A::CheckBox:
      AttachNewWindow<TSkinCheckBox>(Window);
      break;
    case A::RadioButton:
      AttachNewWindow<TSkinRadioButton>(Window);
      break;
    case A::Button:
      AttachNewWindow<TSkinButton>(Window);
      break;
    case A::ComBox:
      AttachNewWindow<TSkinComBox>(Window);
      break;
    case A::FirstChildComBox:
      if (HWND combo = GetTopWindow(Window)) AttachNewWindow<TSkinComBox>(combo);
      break;
    case A::Sizer:
      AttachNewWindow<TSkinSizer>(Window);
      break;
    case A::Dialog:
      SkinChildWindows(Window);
      AttachNewWindow<TSkinBoxH>(Window);
      break;
    case A::Panel:
      SkinChildWindows(Window);
      giveFaceColour(Window);
      break;
    case A::SilentPanel:
      giveFaceColour(Window);
      break;
    case A::Progress:
      AttachNewWindow<TSkinProgress>(Window);
      break;
    case A::Tab:
      AttachNewWindow<TSkinTab>(Window);
      break;
    case A::Edit:
      AttachNewWindow<TSkinEdit>(Window);
      break;
  }
}
