// Forms read from their description, and the controls' behaviour as a user sees it.
#include <windows.h>

#include <commctrl.h>
#include <gtest/gtest.h>

#include <algorithm>

#include "TestKit.h"
#include "testkit/MemoryDC.h"
#include "forms/ComCtrls.h"
#include "forms/Dialogs.h"
#include "forms/ExtCtrls.h"
#include "forms/Forms.h"
#include "forms/OleCtrls.h"
#include "forms/StdCtrls.h"

namespace {

struct TestForm : TForm {
  TPanel* Panel = nullptr;
  TButton* Ok = nullptr;
  TListView* List = nullptr;
  int clicks = 0;
  std::vector<std::string> rows;

  explicit TestForm(const std::string& description, bool bind = true) : TForm(nullptr) {
    RegisterFormsClasses();
    RegisterComponentClass("TTestForm", "TForm");
    RegisterMethod("OkClick", TNotifyEvent([this](TObject*) { ++clicks; }));
    RegisterMethod("ListData", TLVOwnerDataEvent([this](TObject*, TListItem* item) {
                     item->Caption = rows.at(std::size_t(item->Index));
                     item->SubItems.Add("#" + std::to_string(item->Index));
                   }));
    if (bind) {
      RegisterField("Panel", Panel);
      RegisterField("Ok", Ok);
    }
    ReadForm(description);
  }
};

const char kForm[] = R"(
Form: TTestForm {
  Caption = "试验"  ClientWidth = 300  ClientHeight = 200  BorderStyle = bsSingle
  Font.Name = "宋体"  Font.Height = -12  Font.Charset = GB2312_CHARSET
  Panel: TPanel {
    Align = alClient  BevelOuter = bvNone  Color = clSilver
    Top1: TPanel { Align = alTop  Height = 20 }
    Bottom1: TPanel { Align = alBottom  Height = 30
      Ok: TButton { Left = 5  Top = 2  Width = 60  Height = 25  Caption = "好"  OnClick = OkClick }
    }
    Right1: TGroupBox { Align = alRight  Width = 50  Caption = "组"
      Inner: TButton { Left = 4  Top = 20  Width = 40  Height = 20 }
      Off: TButton { Left = 4  Top = 44  Width = 40  Height = 20  Enabled = false }
    }
    Label1: TLabel { Left = 10  Top = 40  Width = 100  Height = 15  Caption = "" }
  }
}
)";

RECT ChildRect(HWND parent, HWND child) {
  RECT r;
  GetWindowRect(child, &r);
  MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&r), 2);
  return r;
}

TEST(Forms, DescriptionBecomesControls) {
  TestForm form(kForm);
  HWND h = form.Handle();
  wchar_t caption[32] = {};
  GetWindowTextW(h, caption, 32);
  EXPECT_EQ(WideToText(caption), "\xca\xd4\xd1\xe9");  // the UTF-8 text in code page 936
  RECT client;
  GetClientRect(h, &client);
  EXPECT_EQ(client.right, 300);
  EXPECT_EQ(client.bottom, 200);
  ASSERT_TRUE(form.Panel && form.Ok);
  EXPECT_EQ(form.ComponentCount(), 8u);  // every component owned by the form
  SendMessageW(form.Ok->Handle(), BM_CLICK, 0, 0);
  EXPECT_EQ(form.clicks, 1);

  // Aligned children share the panel: top strip, bottom strip, right column, the rest.
  HWND panel = form.Panel->Handle();
  const struct {
    const char* name;
    RECT r;
  } placed[] = {
      {"Top1", {0, 0, 300, 20}}, {"Bottom1", {0, 170, 300, 200}}, {"Right1", {250, 20, 300, 170}}};
  for (const auto& p : placed) {
    auto* c = dynamic_cast<TWinControl*>(form.FindComponent(p.name));
    ASSERT_TRUE(c) << p.name;
    const RECT r = ChildRect(panel, c->Handle());
    EXPECT_EQ(r.left, p.r.left) << p.name;
    EXPECT_EQ(r.top, p.r.top) << p.name;
    EXPECT_EQ(r.right, p.r.right) << p.name;
    EXPECT_EQ(r.bottom, p.r.bottom) << p.name;
  }
  // Resizing the container aligns again.
  form.Panel->SetAlign(alNone);
  form.Panel->SetBounds(0, 0, 200, 100);
  const RECT r =
      ChildRect(panel, dynamic_cast<TWinControl*>(form.FindComponent("Bottom1"))->Handle());
  EXPECT_EQ(r.top, 70);
  EXPECT_EQ(r.right, 200);
  EXPECT_EQ(FindControl(form.Ok->Handle()), form.Ok);
  EXPECT_EQ(GetPropA(form.Ok->Handle(), ControlAtomName().c_str()), static_cast<void*>(form.Ok));
}

TEST(Forms, BadDescriptionsFailWithAMessage) {
  const struct {
    std::string text;
    bool bind;
    const char* message;
  } cases[] = {
      {"Form: TTestForm { Panel: TPanel {} }", true, "has no component Ok"},
      {"Form: TTestForm { Panel: TButton {} Ok: TButton {} }", true,
       "component Panel has the wrong class"},
      {"Form: TTestForm { Ok: TButton { OnClick = Missing } }", false, "no handler named Missing"},
      {"Form: TTestForm { Ok: TButton { Align = alMiddle } }", false, "unknown alignment alMiddle"},
      {"Form: TTestForm { Color = clPurple }", false, "unknown colour clPurple"},
  };
  for (const auto& c : cases) {
    try {
      TestForm form(c.text, c.bind);
      ADD_FAILURE() << c.text;
    } catch (const Exception& e) {
      EXPECT_NE(e.Message().find(c.message), std::string::npos) << e.Message();
    }
  }
}

TEST(Forms, DisabledContainerDisablesItsChildren) {
  TestForm form(kForm);
  auto* group = dynamic_cast<TWinControl*>(form.FindComponent("Right1"));
  auto* inner = dynamic_cast<TWinControl*>(form.FindComponent("Inner"));
  auto* off = dynamic_cast<TWinControl*>(form.FindComponent("Off"));
  EXPECT_TRUE(IsWindowEnabled(inner->Handle()));
  EXPECT_FALSE(IsWindowEnabled(off->Handle()));
  group->SetEnabled(false);
  EXPECT_FALSE(IsWindowEnabled(group->Handle()));
  EXPECT_FALSE(IsWindowEnabled(inner->Handle()));
  EXPECT_TRUE(inner->Enabled());  // its own setting is kept
  group->SetEnabled(true);
  EXPECT_TRUE(IsWindowEnabled(inner->Handle()));
  EXPECT_FALSE(IsWindowEnabled(off->Handle()));  // still off by its own setting
  form.Panel->SetEnabled(false);
  EXPECT_FALSE(IsWindowEnabled(form.Ok->Handle()));
  EXPECT_FALSE(IsWindowEnabled(inner->Handle()));
}

TEST(Forms, ReplacedWindowProcSeesMessagesFirst) {
  TestForm form(kForm);
  std::vector<UINT> seen;
  TWndMethod old = form.Ok->WindowProc;
  form.Ok->WindowProc = [&](TMessage& m) {
    seen.push_back(m.Msg);
    if (m.Msg == WM_USER + 7) {
      m.Result = 42;
      return;
    }
    old(m);
  };
  EXPECT_EQ(SendMessageW(form.Ok->Handle(), WM_USER + 7, 0, 0), 42);
  SendMessageW(form.Ok->Handle(), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"x"));
  EXPECT_EQ(form.Ok->Caption(), "x");  // the old procedure still ran
  ASSERT_GE(seen.size(), 2u);
  EXPECT_EQ(seen[0], UINT(WM_USER + 7));
  EXPECT_EQ(seen[1], UINT(WM_SETTEXT));
}

TEST(Forms, WindowlessControlsArePaintedAndGetTheMouseOverThem) {
  struct Spot : TGraphicControl {
    using TGraphicControl::TGraphicControl;
    std::vector<UINT> seen;
    void WndProc(TMessage& m) override {
      seen.push_back(m.Msg);
      TGraphicControl::WndProc(m);
    }
    void Paint() override {
      Canvas()->Brush.Color = 0x00C000C0;
      Canvas()->FillRect({0, 0, Width(), Height()});
    }
  };
  TestForm form(kForm);
  auto* spot = new Spot(&form);
  spot->SetBounds(20, 20, 30, 30);
  spot->SetParent(form.Panel);
  int clicks = 0;
  spot->OnClick = [&](TObject*) { ++clicks; };
  HWND panel = form.Panel->Handle();
  testkit::MemoryDC dc(300, 200, 0);
  SendMessageW(panel, WM_PAINT, reinterpret_cast<WPARAM>(dc.dc()), 0);  // into the DC handed over
  EXPECT_EQ(dc.At(35, 35), 0x00C000C0u);
  EXPECT_NE(dc.At(60, 35), 0x00C000C0u);  // only where it lies
  spot->seen.clear();
  auto at = [](int x, int y) { return MAKELPARAM(x, y); };
  SendMessageW(panel, WM_MOUSEMOVE, 0, at(25, 25));
  SendMessageW(panel, WM_LBUTTONDOWN, MK_LBUTTON, at(25, 25));
  EXPECT_EQ(GetCapture(), panel);  // until the button is up, wherever the mouse goes
  SendMessageW(panel, WM_LBUTTONUP, 0, at(26, 26));
  SendMessageW(panel, WM_LBUTTONDOWN, MK_LBUTTON, at(25, 25));
  SendMessageW(panel, WM_LBUTTONUP, 0, at(100, 100));  // released off it: no click
  EXPECT_NE(GetCapture(), panel);
  SendMessageW(panel, WM_MOUSELEAVE, 0, 0);
  EXPECT_EQ(clicks, 1);
  const std::vector<UINT> expected = {CM_MOUSEENTER,  WM_MOUSEMOVE, WM_LBUTTONDOWN, WM_LBUTTONUP,
                                      WM_LBUTTONDOWN, WM_LBUTTONUP, CM_MOUSELEAVE};
  EXPECT_EQ(spot->seen, expected);
}

// The mouse moves handed to the tooltip: without them it never learns where the pointer rests.
std::vector<MSG> relayedMoves;
WNDPROC tipProc = nullptr;
LRESULT CALLBACK SeeRelays(HWND h, UINT msg, WPARAM w, LPARAM l) {
  if (msg == TTM_RELAYEVENT && l && reinterpret_cast<MSG*>(l)->message == WM_MOUSEMOVE)
    relayedMoves.push_back(*reinterpret_cast<MSG*>(l));
  return CallWindowProcW(tipProc, h, msg, w, l);
}

TEST(Forms, HintsFollowTheirControls) {
  enum Change { kNone, kHide, kMove, kDelete };
  const struct {
    const char* name;
    bool windowed;
    Change change;
    const wchar_t* atPlace;  // where the control is (was, when deleted)
    const wchar_t* atOldPlace;
  } cases[] = {
      {"windowless", false, kNone, L"tip", L"tip"},  {"windowed", true, kNone, L"tip", L"tip"},
      {"windowless hidden", false, kHide, L"", L""}, {"windowless moved", false, kMove, L"tip", L""},
      {"windowless deleted", false, kDelete, L"", L""}, {"windowed deleted", true, kDelete, L"", L""},
  };
  for (const auto& c : cases) {
    TestForm form(kForm);
    TControl* control = c.windowed ? static_cast<TControl*>(new TButton(&form)) : new TGraphicControl(&form);
    control->SetBounds(20, 20, 30, 30);
    control->SetParent(form.Panel);
    control->SetHint("tip");
    control->SetShowHint(true);
    HWND tip = FindWindowExW(nullptr, nullptr, TOOLTIPS_CLASSW, nullptr);
    ASSERT_TRUE(tip);
    if (GetWindowLongPtrW(tip, GWLP_WNDPROC) != reinterpret_cast<LONG_PTR>(SeeRelays))
      tipProc = reinterpret_cast<WNDPROC>(
          SetWindowLongPtrW(tip, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(SeeRelays)));
    // A windowless control's hint is a place on its parent, a windowed one's its window.
    HWND window = c.windowed ? dynamic_cast<TWinControl*>(control)->Handle() : form.Panel->Handle();
    const POINT old = c.windowed ? POINT{5, 5} : POINT{25, 25};
    POINT at = old;
    if (c.change == kHide) control->SetVisible(false);
    if (c.change == kMove) {
      control->SetBounds(120, 60, 30, 30);
      at = {125, 65};
    }
    if (c.change == kDelete) delete control;
    EXPECT_EQ(testkit::HintAt(window, at), c.atPlace) << c.name;
    EXPECT_EQ(testkit::HintAt(window, old), c.atOldPlace) << c.name;
    if (c.change == kDelete) continue;
    relayedMoves.clear();
    SendMessageW(window, WM_MOUSEMOVE, 0, MAKELPARAM(at.x, at.y));
    EXPECT_TRUE(std::any_of(relayedMoves.begin(), relayedMoves.end(), [&](const MSG& m) {
      return m.hwnd == window && m.lParam == MAKELPARAM(at.x, at.y);
    })) << c.name;
  }
  if (tipProc)
    SetWindowLongPtrW(FindWindowExW(nullptr, nullptr, TOOLTIPS_CLASSW, nullptr), GWLP_WNDPROC,
                      reinterpret_cast<LONG_PTR>(tipProc));
}

TEST(Forms, LabelsShowTheirContainersColour) {
  TestForm form(kForm);
  auto* label = dynamic_cast<TWinControl*>(form.FindComponent("Label1"));
  HWND panel = form.Panel->Handle();
  HDC screen = GetDC(nullptr);
  HDC dc = CreateCompatibleDC(screen);
  HBITMAP bmp = CreateCompatibleBitmap(screen, 300, 200);
  HGDIOBJ old = SelectObject(dc, bmp);
  SendMessageW(panel, WM_PRINT, reinterpret_cast<WPARAM>(dc),
               PRF_CLIENT | PRF_CHILDREN | PRF_ERASEBKGND);
  const RECT r = ChildRect(panel, label->Handle());
  EXPECT_EQ(GetPixel(dc, r.left + 50, r.top + 7), RGB(0xC0, 0xC0, 0xC0));
  SelectObject(dc, old);
  DeleteObject(bmp);
  DeleteDC(dc);
  ReleaseDC(nullptr, screen);
}

TEST(Forms, OwnerDataListAsksForEachRow) {
  TestForm form(R"(Form: TTestForm { Width = 300  Height = 200
    List: TListView { Align = alClient  Columns = ["Name", 0, "No", 40]  RowSelect = true  OnData = ListData }
  })",
                false);
  auto* list = dynamic_cast<TListView*>(form.FindComponent("List"));
  form.rows = {"a", "b", "c"};
  list->SetItemCount(3);
  HWND lv = list->Handle();
  EXPECT_EQ(SendMessageW(lv, LVM_GETITEMCOUNT, 0, 0), 3);
  wchar_t buf[32] = {};
  LVITEMW item{};
  item.iSubItem = 1;
  item.pszText = buf;
  item.cchTextMax = 32;
  SendMessageW(lv, LVM_GETITEMTEXTW, 2, reinterpret_cast<LPARAM>(&item));
  EXPECT_EQ(std::wstring(buf), L"#2");
  EXPECT_EQ(list->ItemIndex(), -1);
  list->SetItemIndex(1);
  EXPECT_EQ(list->ItemIndex(), 1);
  RECT client;
  GetClientRect(lv, &client);
  EXPECT_EQ(SendMessageW(lv, LVM_GETCOLUMNWIDTH, 0, 0) + 40, client.right);

  // A divider dragged past the list's edge gives its column that width, though the bar
  // that comes with it makes the list lower; a change of the list's width keeps it too.
  HWND header = reinterpret_cast<HWND>(SendMessageW(lv, LVM_GETHEADER, 0, 0));
  const int wide = int(client.right) + 60;
  for (UINT msg : {WM_LBUTTONDOWN, WM_MOUSEMOVE, WM_LBUTTONUP})
    SendMessageW(header, msg, msg == WM_LBUTTONUP ? 0 : MK_LBUTTON,
                 MAKELPARAM(msg == WM_LBUTTONDOWN ? client.right - 40 : wide, 5));
  EXPECT_EQ(SendMessageW(lv, LVM_GETCOLUMNWIDTH, 0, 0), wide);
  EXPECT_TRUE(GetWindowLongW(lv, GWL_STYLE) & WS_HSCROLL);
  form.SetClientSize(form.ClientWidth() - 30, form.ClientHeight());
  EXPECT_EQ(SendMessageW(lv, LVM_GETCOLUMNWIDTH, 0, 0), wide);
  EXPECT_EQ(SendMessageW(lv, LVM_GETCOLUMNWIDTH, 1, 0), 40);
}

TEST(Forms, ComboAndProgressKeepTheirValues) {
  TestForm form(R"(Form: TTestForm {
    C: TComboBox { Items = ["x", "y"]  ItemIndex = 1 }
    P: TProgressBar { Max = 10  Position = 4 }
  })",
                false);
  auto* combo = dynamic_cast<TComboBox*>(form.FindComponent("C"));
  auto* bar = dynamic_cast<TProgressBar*>(form.FindComponent("P"));
  EXPECT_EQ(combo->Text(), "y");
  SendMessageW(combo->Handle(), CB_SETCURSEL, 0, 0);  // as the user's choice leaves it
  EXPECT_EQ(combo->ItemIndex(), 0);
  EXPECT_EQ(combo->Text(), "x");
  combo->SetItemIndex(5);
  EXPECT_EQ(combo->Text(), "");
  EXPECT_EQ(bar->Position(), 4);
  bar->SetPosition(15);
  EXPECT_EQ(bar->Position(), 10);
  bar->SetMax(0);
  EXPECT_EQ(bar->Position(), 0);
}

// Active again, a form gives the focus back to the control that had it, else to the first in
// the tab order (Ok), which Space then presses.
TEST(Forms, TheFocusComesBackWhenTheFormIsActiveAgain) {
  TestForm form(kForm);
  auto* inner = dynamic_cast<TWinControl*>(form.FindComponent("Inner"));
  auto box = [&] {  // closed with Enter, as a user would
    SetTimer(nullptr, 0, 300, [](HWND, UINT, UINT_PTR id, DWORD) {
      KillTimer(nullptr, id);
      keybd_event(VK_RETURN, 0, 0, 0), keybd_event(VK_RETURN, 0, KEYEVENTF_KEYUP, 0);
    });
    MessageBoxA(form.Handle(), "box", "", MB_OK);
  };
  HWND other = CreateWindowExA(0, "STATIC", "", WS_POPUP | WS_VISIBLE, 0, 0, 9, 9, 0, 0, 0, 0);
  const struct {
    std::function<void()> meanwhile;
    TWinControl* then;
  } cases[] = {{[&] { form.Show(); }, form.Ok},  // none had it yet
               {[&] { SetFocus(inner->Handle()), box(); }, inner},
               {[&] { SetForegroundWindow(other), SetForegroundWindow(form.Handle()); }, inner},
               {[&] { form.Panel->SetEnabled(false), form.Panel->SetEnabled(true); }, inner},  // batch
               {[&] { inner->SetEnabled(false), box(); }, form.Ok}};
  for (const auto& c : cases) {
    c.meanwhile();
    EXPECT_EQ(FindControl(GetFocus()), c.then) << &c - cases;
  }
  keybd_event(VK_SPACE, 0, 0, 0), keybd_event(VK_SPACE, 0, KEYEVENTF_KEYUP, 0);
  EXPECT_TRUE(testkit::PumpUntil([&] { return form.clicks == 1; }, 1000));
  DestroyWindow(other);
}

TEST(Forms, CloseAsksFirst) {
  TestForm form(kForm);
  bool allow = false;
  int closed = 0;
  form.OnCloseQuery = [&](TObject*, bool& can) { can = allow; };
  form.OnClose = [&](TObject*, TCloseAction&) { ++closed; };
  SendMessageW(form.Handle(), WM_CLOSE, 0, 0);
  EXPECT_EQ(closed, 0);
  allow = true;
  form.Close();
  EXPECT_EQ(closed, 1);
  EXPECT_TRUE(IsWindow(form.Handle()));
}

BOOL CALLBACK CountShown(HWND h, LPARAM p) {
  DWORD pid = 0;
  GetWindowThreadProcessId(h, &pid);
  if (pid == GetCurrentProcessId() && IsWindowVisible(h)) ++*reinterpret_cast<int*>(p);
  return TRUE;
}

TEST(Forms, BrowserIsCreatedSoftlyAndNothingPopsUp) {
  int before = 0;
  EnumWindows(CountShown, reinterpret_cast<LPARAM>(&before));
  {
    TestForm form(R"(Form: TTestForm { Web: TWebBrowser { Width = 200  Height = 100 } })", false);
    auto* web = dynamic_cast<TWebBrowser*>(form.FindComponent("Web"));
    const std::string page = testkit::ExeDir() + "nothing.html";
    web->Navigate(page);
    EXPECT_EQ(web->LocationRequested(), page);
    if (web->Available()) {
      EXPECT_TRUE(web->NavigateAccepted());
    }
    testkit::PumpUntil([] { return false; }, 300);
    int during = 0;
    EnumWindows(CountShown, reinterpret_cast<LPARAM>(&during));
    EXPECT_EQ(during, before);  // the form is not shown, and no dialog came up
    EXPECT_TRUE(testkit::MessageBoxes().empty());
  }
}

TEST(Dialogs, SeamsAnswerTheChoosers) {
  TOpenDialog open(nullptr);
  SetOpenDialogHook([](TOpenDialog& d) {
    d.FileName = "C:\\a.avi";
    return true;
  });
  EXPECT_TRUE(open.Execute());
  EXPECT_EQ(open.FileName, "C:\\a.avi");
  SetOpenDialogHook({});
  SetFolderBrowserHook(
      [](const std::string& title, const std::string&) { return L"C:\\" + TextToWide(title); });
  EXPECT_EQ(ShellBrowseForFolder(nullptr, "x", ""), L"C:\\x");
  SetFolderBrowserHook({});
}

}  // namespace

namespace {

// The system's own dialog, answered the way a user would: the name typed, OK pressed.
TEST(Dialogs, RealOpenDialogReturnsTheTypedFile) {
  const std::string file = testkit::ExeDir() + "forms_controls_test.exe";
  TOpenDialog open(nullptr);
  open.Filter = "Programs|*.exe|All|*.*";
  open.InitialDir = testkit::ExeDir();
  TTimer timer(nullptr);
  timer.SetInterval(100);
  int tries = 0;
  timer.OnTimer = [&](TObject*) {
    ++tries;
    HWND dialog = nullptr;
    EnumThreadWindows(
        GetCurrentThreadId(),
        [](HWND h, LPARAM p) {
          wchar_t cls[16] = {};
          GetClassNameW(h, cls, 16);
          if (std::wstring(cls) == L"#32770" && IsWindowVisible(h)) {
            *reinterpret_cast<HWND*>(p) = h;
            return FALSE;
          }
          return TRUE;
        },
        reinterpret_cast<LPARAM>(&dialog));
    if (!dialog) {
      if (tries > 100) timer.SetEnabled(false);
      return;
    }
    timer.SetEnabled(false);
    HWND name = GetDlgItem(dialog, 0x47c);  // the file name box
    if (HWND edit = FindWindowExW(name, nullptr, L"Edit", nullptr)) name = edit;
    SendMessageW(name, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(TextToWide(file).c_str()));
    PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(dialog, IDOK)));
  };
  ASSERT_TRUE(open.Execute());
  EXPECT_EQ(open.FileName.substr(open.FileName.find_last_of('\\') + 1), "forms_controls_test.exe");
}

}  // namespace
