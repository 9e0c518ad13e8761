// A starting form skinner gives each control of its window the skinner of its kind: the
// controls of a framework form by class, a plain dialog's by window class; controls it
// must leave alone keep the system's look, and unskinning gives every window back.
#include <functional>

#include "ControlSkin.h"
#include "SkinBoxes.h"
#include "SkinButtons.h"
#include "SkinChecks.h"
#include "SkinEdits.h"
#include "SkinRanges.h"
#include "SkinScrollBars.h"
#include "forms/CheckBoxes.h"
#include "forms/ComCtrls.h"
#include "forms/ScrollCtrls.h"
#include "forms/StdCtrls.h"

namespace {

using ctlskin::ControlTest;

template <class S>
bool Is(TSkinControl* s) {
  return dynamic_cast<S*>(s) != nullptr;
}

struct Expected {
  const char* name;
  HWND window;
  std::function<bool(TSkinControl*)> kind;  // empty: left alone
};

class DispatchTest : public ControlTest {
 protected:
  void StartSkinning(HWND window, TWinControl* form) {
    form_->FHandle = window;
    if (form)
      form_->AttachForm(data_.get(), form);
    else
      form_->AttachPlainWindow(data_.get());
    SendMessageA(window, WM_SKINSTART, 0, 0);
  }

  void Check(const std::vector<Expected>& table) {
    for (const auto& e : table) {
      TSkinControl* skinner = form_->FindControlSkinner(e.window);
      if (e.kind) {
        EXPECT_TRUE(e.kind(skinner)) << e.name;
        // A box only recolours its control: it has no window procedure to answer with.
        if (!Is<TSkinBox>(skinner)) {
          EXPECT_EQ(SendMessageA(e.window, WM_SKINQUERY, 0, 0), 1) << e.name;
        }
      } else {
        EXPECT_EQ(skinner, nullptr) << e.name;
        EXPECT_NE(SendMessageA(e.window, WM_SKINQUERY, 0, 0), 1) << e.name;
      }
    }
  }
};

TEST_F(DispatchTest, FrameworkControlsByKindExceptThoseTaggedOff) {
  TForm& host = Host();
  auto& panel = Add<TPanel>(host, {4, 4, 140, 70});
  auto& button = Add<TButton>(panel, {6, 6, 90, 30}, "OK");
  auto& edit = Add<TEdit>(panel, {6, 36, 120, 58}, "text");
  auto& group = Add<TGroupBox>(host, {150, 4, 296, 70}, "group");
  auto& check = Add<TCheckBox>(group, {8, 20, 120, 40}, "check");
  auto& label = Add<TLabel>(group, {8, 44, 120, 60});
  auto& combo = Add<TComboBox>(host, {4, 76, 140, 100});
  auto& progress = Add<TProgressBar>(host, {150, 76, 296, 92});
  auto& list = Add<TListView>(host, {4, 104, 140, 196});
  auto& radios = Add<TRadioGroup>(host, {150, 100, 296, 196}, "off", [this](TRadioGroup& g) {
    g.Tag = data_->DisableTag;
    g.SetItems({"one", "two"});
  });
  ASSERT_EQ(radios.ControlCount(), 2u);
  auto* radio = dynamic_cast<TWinControl*>(radios.Controls(0));
  ASSERT_NE(radio, nullptr);
  struct TScrollHost : TPanel {
    using TPanel::TPanel;
  };
  data_->Skin3rd().Add("TScrollHost=embedscrollbar");  // its children's bars are skinned
  auto& scrollHost = Add<TScrollHost>(host, {200, 150, 290, 196});
  auto& memo = Add<TMemo>(scrollHost, {2, 2, 80, 40}, "", [](TMemo& m) { m.ScrollBars = ssVertical; });
  // A panel with the scroll style would get a box of its own: the host's kind gives it bars.
  auto& scrolling = Add<TPanel>(scrollHost, {2, 42, 80, 60});
  SetWindowLongPtrA(scrolling.Handle(), GWL_STYLE, GetWindowLongPtrA(scrolling.Handle(), GWL_STYLE) | WS_VSCROLL);
  // A skinner belongs to its control: each of them owns one scroll-bar skinner, no more.
  const auto oneScrollSkinner = [](TSkinControl* s) {
    if (!Is<TSkinScrollbar>(s)) return false;
    int n = 0;
    for (std::size_t i = 0; i < s->Owner()->ComponentCount(); ++i)
      n += Is<TSkinScrollbar>(dynamic_cast<TSkinControl*>(s->Owner()->Components(i)));
    return n == 1;
  };
  const auto procOf = [](HWND w) { return GetWindowLongPtrA(w, GWLP_WNDPROC); };
  const LONG_PTR buttonProc = procOf(button.Handle()), editProc = procOf(edit.Handle());

  StartSkinning(host.Handle(), &host);
  Check({{"panel", panel.Handle(), Is<TSkinBox>},
         {"button on the panel", button.Handle(), Is<TSkinButton>},
         {"edit on the panel", edit.Handle(), Is<TSkinEdit>},
         {"group box", group.Handle(), Is<TSkinGroupBox>},
         {"check box in the group", check.Handle(), Is<TSkinCheckBox>},
         {"combo box", combo.Handle(), Is<TSkinComBox>},
         {"progress bar", progress.Handle(), Is<TSkinProgress>},
         {"list view", list.Handle(), Is<TSkinListView>},
         {"radio group tagged off", radios.Handle(), {}},
         {"its radio button", radio->Handle(), {}},
         {"memo in the scroll-bar host", memo.Handle(), oneScrollSkinner},
         {"scrolling panel in the scroll-bar host", scrolling.Handle(), oneScrollSkinner}});
  EXPECT_EQ(Paint(label.Handle())->At(50, 8), ctlskin::kFace);  // a label shows its box's colour

  // Started again, only a control added since gets a skinner; the others keep theirs.
  TSkinControl* buttonSkinner = form_->FindControlSkinner(button.Handle());
  const std::size_t before = form_->SkinnerCount();
  auto& later = Add<TButton>(host, {150, 40, 230, 64}, "later");
  SendMessageA(host.Handle(), WM_SKINSTART, 0, 0);
  EXPECT_EQ(form_->SkinnerCount(), before + 1);
  EXPECT_EQ(form_->FindControlSkinner(button.Handle()), buttonSkinner);
  EXPECT_TRUE(Is<TSkinButton>(form_->FindControlSkinner(later.Handle())));
  EXPECT_TRUE(oneScrollSkinner(form_->FindControlSkinner(memo.Handle())));

  // Unskinned, every control is the system's again.
  form_->DetachAllSkinners();
  EXPECT_EQ(form_->SkinnerCount(), 0u);
  for (HWND w : {button.Handle(), edit.Handle(), group.Handle(), check.Handle(),
                 combo.Handle(), list.Handle(), later.Handle()})
    EXPECT_NE(SendMessageA(w, WM_SKINQUERY, 0, 0), 1);
  EXPECT_EQ(procOf(button.Handle()), buttonProc);
  EXPECT_EQ(procOf(edit.Handle()), editProc);
}

TEST_F(DispatchTest, SwitchesAndTheHostsListDecide) {
  // No scroll-bar skinning: a list view keeps the system's look altogether. The host's
  // list names the combo box's class "nil": left alone, though its kind has a row.
  Exclude(data_->SkinControls, xcScrollbar);
  TStringList lines;
  lines.Add("TComboBox=nil");
  data_->SetSkin3rd(lines);
  TForm& host = Host();
  auto& list = Add<TListView>(host, {4, 4, 140, 100});
  auto& combo = Add<TComboBox>(host, {150, 4, 290, 28});
  auto& button = Add<TButton>(host, {150, 40, 290, 64}, "OK");
  StartSkinning(host.Handle(), &host);
  Check({{"list view without scroll skinning", list.Handle(), {}},
         {"combo box named nil", combo.Handle(), {}},
         {"button", button.Handle(), Is<TSkinButton>}});
}

TEST_F(DispatchTest, PlainDialogByWindowClassAndStyle) {
  const HWND box = Plain("BUTTON", "group", BS_GROUPBOX, {4, 4, 150, 60});
  const HWND check = Plain("BUTTON", "check", BS_AUTOCHECKBOX, {160, 4, 300, 24});
  const HWND radio = Plain("BUTTON", "radio", BS_AUTORADIOBUTTON, {160, 28, 300, 48});
  const HWND push = Plain("BUTTON", "push", BS_PUSHBUTTON, {160, 52, 300, 76});
  const HWND combo = Plain("COMBOBOX", "", CBS_DROPDOWNLIST, {4, 80, 150, 200});
  const HWND edit = Plain("EDIT", "text", WS_BORDER, {160, 80, 300, 102});
  const HWND label = Plain("STATIC", "label", SS_LEFT, {4, 120, 150, 140});
  StartSkinning(PlainHost(), nullptr);
  Check({{"group box", box, {}},  // a group box of a plain window keeps the system's
         {"check box", check, Is<TSkinCheckBox>},
         {"radio button", radio, Is<TSkinRadioButton>},
         {"push button", push, Is<TSkinButton>},
         {"drop-down list", combo, Is<TSkinComBox>},
         {"edit", edit, Is<TSkinEdit>},
         {"label", label, {}}});
}

}  // namespace
