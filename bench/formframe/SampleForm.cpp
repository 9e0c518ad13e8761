#include "SampleForm.h"

#include "WinSkinForm.h"
#include "forms/CheckBoxes.h"
#include "forms/ComCtrls.h"
#include "forms/StdCtrls.h"
#include "forms/TabControls.h"

TSampleForm::TSampleForm(int left, int top, int width, int height) : TForm(nullptr) {
  SetCaption("Zorvel");
  SetBounds(left, top, width, height);
  // The form owns its controls and frees them.
  auto place = [this](TWinControl* c, int x, int y, int w, int h, const char* text) {
    c->SetParent(this);
    c->SetBounds(x, y, w, h);
    if (text) c->SetCaption(text);
  };
  place(new TLabel(this), 16, 18, 90, 18, "Output folder");
  place(new TEdit(this), 110, 14, 150, 22, "C:\\Videos");
  auto* rate = new TComboBox(this);
  place(rate, 110, 46, 150, 22, nullptr);
  rate->SetItems({"1200k", "800k", "400k"});
  rate->SetItemIndex(0);
  auto* progress = new TProgressBar(this);
  place(progress, 16, 82, 244, 18, nullptr);
  progress->SetPosition(60);
  auto* open = new TCheckBox(this);
  place(open, 16, 110, 244, 20, "Open the folder when done");
  open->SetChecked(true);
  auto* stereo = new TRadioButton(this);
  place(stereo, 16, 134, 110, 20, "Stereo");
  stereo->SetChecked(true);
  place(new TRadioButton(this), 150, 134, 110, 20, "Mono");
  auto* tabs = new TTabControl(this);
  place(tabs, 16, 160, 244, 50, nullptr);
  tabs->SetTabs({"Video", "Audio", "Size", "Aspect"});
  tabs->SetTabIndex(0);
  place(new TButton(this), 16, 222, 110, 26, "Add files...");
  place(new TButton(this), 150, 222, 110, 26, "Convert");
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
