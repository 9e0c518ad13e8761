#include "SampleForm.h"

#include "WinSkinForm.h"
#include "forms/Buttons.h"
#include "forms/CheckBoxes.h"
#include "forms/ComCtrls.h"
#include "forms/MPlayer.h"
#include "forms/Menus.h"
#include "forms/PickCtrls.h"
#include "forms/ScrollCtrls.h"
#include "forms/SpeedButtons.h"
#include "forms/StdCtrls.h"
#include "forms/TabControls.h"
#include "forms/Tabs.h"
#include "forms/ToolBar.h"

namespace {

// Puts c on parent at (x, y), w x h, with its caption when given; answers c.
template <class C>
C* Place(C* c, TWinControl* parent, int x, int y, int w, int h, const char* text = nullptr) {
  c->SetParent(parent);
  c->SetBounds(x, y, w, h);
  if (text) c->SetCaption(text);
  return c;
}

}  // namespace

TSampleForm::TSampleForm(int left, int top, int width, int height, bool everyKind)
    : TForm(nullptr) {
  SetCaption("Zorvel");
  SetBounds(left, top, width, height);
  // The form owns its controls and frees them.
  Place(new TLabel(this), this, 16, 18, 90, 18, "Output folder");
  Place(new TEdit(this), this, 110, 14, 150, 22, "C:\\Videos");
  auto* rate = Place(new TComboBox(this), this, 110, 46, 150, 22);
  rate->SetItems({"1200k", "800k", "400k"});
  rate->SetItemIndex(0);
  auto* progress = Place(new TProgressBar(this), this, 16, 82, 244, 18);
  progress->SetPosition(60);
  auto* open = Place(new TCheckBox(this), this, 16, 110, 244, 20, "Open the folder when done");
  open->SetChecked(true);
  auto* stereo = Place(new TRadioButton(this), this, 16, 134, 110, 20, "Stereo");
  stereo->SetChecked(true);
  Place(new TRadioButton(this), this, 150, 134, 110, 20, "Mono");
  auto* tabs = Place(new TTabControl(this), this, 16, 160, 244, 50);
  tabs->SetTabs({"Video", "Audio", "Size", "Aspect"});
  tabs->SetTabIndex(0);
  Place(new TButton(this), this, 16, 222, 110, 26, "Add files...");
  Place(new TButton(this), this, 150, 222, 110, 26, "Convert");
  if (everyKind) AddEveryOtherKind();
}

void TSampleForm::AddEveryOtherKind() {
  auto* menu = new TMainMenu(this);
  for (const char* title : {"File", "Help"}) {
    auto* item = new TMenuItem();
    item->SetCaption(title);
    for (const char* name : {"Open", "-", "Exit"}) {
      auto* sub = new TMenuItem();
      sub->SetCaption(name);
      item->Add(sub);
    }
    menu->Items()->Add(item);
  }
  SetMenu(menu);

  // A tool bar takes the top of its parent: of a panel of its own.
  auto* bar = Place(new TToolBar(this), Place(new TPanel(this), this, 280, 4, 260, 32), 0, 0, 100, 26);
  bar->AddButton("New");
  bar->AddButton("Save");
  auto* status = Place(new TStatusBar(this), this, 0, 0, 100, 20);
  status->Panels().Add()->SetText("Ready");
  status->Panels().Add()->SetText("3 files");
  status->UpdatePanels();

  Place(new TBitBtn(this), this, 16, 256, 110, 26, "Bit");
  Place(new TSpeedButton(this), this, 150, 256, 110, 26, "Speed");
  auto* radios = Place(new TRadioGroup(this), this, 16, 288, 244, 60, "Channels");
  radios->SetItems({"Left", "Right"});
  radios->SetItemIndex(1);
  Place(new TMediaPlayer(this), this, 16, 354, 244, 30);

  auto* group = Place(new TGroupBox(this), this, 280, 40, 260, 60, "Group");
  Place(new TLabel(this), group, 10, 24, 110, 20, "In a group");
  auto* memo = new TMemo(this);
  memo->ScrollBars = ssVertical;
  Place(memo, group, 130, 16, 120, 38, "one\r\ntwo\r\nthree\r\nfour");
  auto* list = Place(new TListView(this), this, 280, 106, 130, 70);
  list->SetColumns({{"Name", 70}, {"Size", 50}});
  list->SetItemCount(20);
  Place(new TScrollBar(this), this, 420, 106, 120, 17)->SetParams(0, 100, 10);
  Place(new TTrackBar(this), this, 420, 128, 120, 30)->SetPosition(3);
  Place(new TUpDown(this), this, 520, 160, 20, 24);
  Place(new TDateTimePicker(this), this, 280, 182, 150, 22);
  Place(new THeaderControl(this), this, 280, 210, 260, 20)
      ->SetSections({{"Name", 120}, {"Size", 80}});
  auto* pages = Place(new TPageControl(this), this, 280, 236, 260, 70);
  for (const char* caption : {"First", "Second"}) {
    auto* sheet = new TTabSheet(this);
    sheet->SetPageControl(pages);
    sheet->SetCaption(caption);
  }
  Place(new TTabSet(this), this, 280, 312, 260, 24)->SetTabs({"One", "Two", "Three"});
}

TWinSkinForm* SkinForm(TSampleForm& form, TSkinData& data) {
  const HWND w = form.Handle();
  RECT r;
  GetWindowRect(w, &r);
  auto* skinner = new TWinSkinForm(&form);
  skinner->FHandle = w;
  skinner->AttachForm(&data, &form);
  SendMessageA(w, WM_SKINSTART, 0, 1000);
  // Starting keeps the client size and grows the window around it: give it back its size.
  SetWindowPos(w, nullptr, 0, 0, r.right - r.left, r.bottom - r.top,
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  return skinner;
}

void PumpMessages() {
  MSG m;
  while (PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&m);
    DispatchMessageA(&m);
  }
}
