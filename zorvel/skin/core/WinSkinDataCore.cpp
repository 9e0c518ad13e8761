#include "WinSkinDataCore.h"

#include <algorithm>

#include "ImgUtil.h"
#include "SkinRead.h"

namespace {

constexpr int COLOR_MENU_ = 4, COLOR_WINDOWTEXT_ = 8, COLOR_CAPTIONTEXT_ = 9, COLOR_MENUTEXT_ = 7,
              COLOR_HIGHLIGHT_ = 13, COLOR_HIGHLIGHTTEXT_ = 14, COLOR_BTNFACE_ = 15, COLOR_BTNSHADOW_ = 16,
              COLOR_BTNTEXT_ = 18, COLOR_INACTIVECAPTIONTEXT_ = 19, COLOR_BTNHIGHLIGHT_ = 20,
              COLOR_3DDKSHADOW_ = 21;

// Hostile descriptions: negative margins count as 0.
void SaneMargins(TSkinMargins& m) {
  m.Left = std::max(m.Left, 0);
  m.Top = std::max(m.Top, 0);
  m.Right = std::max(m.Right, 0);
  m.Bottom = std::max(m.Bottom, 0);
}

// A Tile value: above 1 becomes `above` (the readers differ: 0 or 1); below 0 is 0.
std::int32_t ClampTile(std::int32_t tile, std::int32_t above) {
  if (tile > 1) return above;
  return tile < 0 ? 0 : tile;
}

TSkinColour ResolveColour(TSkinColour colour) {
  return skin::ColorToRGB(static_cast<skin::TColor>(colour)) & 0xFFFFFFu;
}

}  // namespace

TSkinColour ParseSkinColour(const std::string& value) {
  if (value.empty()) return 0;
  const std::string text = SkinTrim(value);
  std::int32_t channels[3] = {0, 0, 0};
  int k = 1;
  std::string run;
  auto store = [&](const std::string& digits) {
    std::int32_t v = 0;
    if (!SkinStrToInt(digits, v)) return false;
    channels[k - 1] = v;
    ++k;
    return true;
  };
  for (char c : text) {
    if (c >= '0' && c <= '9') {
      run += c;
    } else if (!run.empty() && k <= 3) {
      // A run that does not convert (too long) stays and keeps growing.
      if (store(run)) run.clear();
    }
  }
  if (k == 3 && !run.empty()) store(run);
  return (static_cast<TSkinColour>(channels[0]) & 0xFF) | ((static_cast<TSkinColour>(channels[1]) & 0xFF) << 8) |
         ((static_cast<TSkinColour>(channels[2]) & 0xFF) << 16);
}

void CopyBitmap(const TSkinBitmap& Source, TSkinBitmap& Dest) {
  Dest = Source;
  Dest.Touch();
}

bool SkinFitsScreen(const TSkinContent& skin, int width, int height) {
  auto thick = [](const TDataSkinBorder& b, bool across) {
    return std::int64_t(across ? b.Bitmap.Width() : b.Bitmap.Height()) / std::max(b.FrameCount, 1);
  };
  const TSkinMargins& title = skin.Title->Margins;
  const std::int64_t menuItem = skin.MenuItem ? skin.MenuItem->Margins.Left : 0;
  return 2 * (thick(*skin.BorderLeft, true) + thick(*skin.BorderRight, true)) <= width &&
         2 * (thick(*skin.BorderTop, false) + thick(*skin.BorderBottom, false)) <= height &&
         2 * (std::int64_t(title.Left) + title.Right) <= width && 2 * menuItem <= width;
}

std::string SkinExtractFileName(const std::string& value) {
  std::size_t start = 0;
  for (std::size_t i = 0; i < value.size(); ++i) {
    const unsigned char c = static_cast<unsigned char>(value[i]);
    if (c >= 0x81 && c <= 0xFE && i + 1 < value.size()) {
      ++i;  // lead byte: the next byte belongs to the same character
      continue;
    }
    if (c == '\\' || c == '/' || c == ':') start = i + 1;
  }
  return value.substr(start);
}

// ---------------------------------------------------------------------------------------

TSkinContent::TSkinContent()
    : Title(std::make_unique<TDataSkinTitle>("Title")),
      Buttons(std::make_unique<TDataSkinButton>("Buttons")),
      BorderLeft(std::make_unique<TDataSkinBorder>("Left")),
      BorderRight(std::make_unique<TDataSkinBorder>("Right")),
      BorderTop(std::make_unique<TDataSkinBorder>("Top")),
      BorderBottom(std::make_unique<TDataSkinBorder>("Bottom")) {}

TSkinContent::~TSkinContent() = default;
TSkinContent::TSkinContent(TSkinContent&&) noexcept = default;
TSkinContent& TSkinContent::operator=(TSkinContent&&) noexcept = default;

void TSkinContent::AdoptContent(TSkinContent&& next) {
  // Always-present elements and the two derived ones keep their objects.
  auto inPlace = [](auto& mine, auto& theirs) {
    if (!theirs) return;
    if (mine)
      *mine = std::move(*theirs);
    else
      mine = std::move(theirs);
  };
  inPlace(Title, next.Title);
  inPlace(Buttons, next.Buttons);
  inPlace(BorderLeft, next.BorderLeft);
  inPlace(BorderRight, next.BorderRight);
  inPlace(BorderTop, next.BorderTop);
  inPlace(BorderBottom, next.BorderBottom);
  inPlace(ComboxArrow, next.ComboxArrow);
  inPlace(ToolbarGradient, next.ToolbarGradient);
  WindowTextColour = next.WindowTextColour;
  TitleTextActiveColour = next.TitleTextActiveColour;
  TitleTextNoActiveColour = next.TitleTextNoActiveColour;
  ButtonFaceColour = next.ButtonFaceColour;
  ButtonTextColour = next.ButtonTextColour;
  ButtonHilightColour = next.ButtonHilightColour;
  ButtonlightColour = next.ButtonlightColour;
  ButtonShadowColour = next.ButtonShadowColour;
  ButtonDkShadowColour = next.ButtonDkShadowColour;
  HilightTextColour = next.HilightTextColour;
  HilightColour = next.HilightColour;
  MenubarColour = next.MenubarColour;
  MenuBarTextColour = next.MenuBarTextColour;
  MenuTextColour = next.MenuTextColour;
  MenuColour = next.MenuColour;
  BorderColour = next.BorderColour;
  CaptionButtons = std::move(next.CaptionButtons);
  Tabs = std::move(next.Tabs);
  UpDownHorz = std::move(next.UpDownHorz);
  UpDownVert = std::move(next.UpDownVert);
  SunkEdge = std::move(next.SunkEdge);
  ExtraImages = std::move(next.ExtraImages);
  ComboButton = std::move(next.ComboButton);
  GroupBoxEdge = std::move(next.GroupBoxEdge);
  ToolBars = std::move(next.ToolBars);
  Progress = std::move(next.Progress);
  ProgressChunk = std::move(next.ProgressChunk);
  GroupBox = std::move(next.GroupBox);
  for (auto slot : {&TSkinContent::StatusBarEdges, &TSkinContent::TabPane, &TSkinContent::Headerbar,
                    &TSkinContent::MenuBar, &TSkinContent::MenuItem, &TSkinContent::MenuBackground,
                    &TSkinContent::Scrollbar, &TSkinContent::HorzScroll, &TSkinContent::VertScroll,
                    &TSkinContent::HorzScrollThumb, &TSkinContent::VertScrollThumb, &TSkinContent::ThumbHorz,
                    &TSkinContent::ThumbVert, &TSkinContent::Track, &TSkinContent::TrackVert,
                    &TSkinContent::ThumbLeft, &TSkinContent::ThumbRight, &TSkinContent::ThumbUp,
                    &TSkinContent::ThumbDown})
    this->*slot = std::move(next.*slot);
}

void TSkinContent::LoadSkinBitmap(TSkinBitmap& Bitmap, const std::string& Value) {
  const std::string name = SkinExtractFileName(Value);
  const std::size_t dot = name.rfind('.');
  if (name.empty() || dot == std::string::npos || name.substr(dot) != ".bmp" || reader_ == nullptr) {
    Bitmap.Clear();
    return;
  }
  TMemoryStream member;
  reader_->GetEntry(name, member);
  // A member that is no readable bitmap gives an empty image, like a missing one.
  if (member.Size() == 0 || !Bitmap.LoadFromBmp(member.Memory(), member.Size())) Bitmap.Clear();
}

void TSkinContent::ReadGeneric(TDataSkinObject& e, const std::string& section, bool readFrame) {
  const TQuickIni& ini = *ini_;
  e.Style = ini.ReadInteger(section, "Style", 0);
  e.Margins.Left = ini.ReadInteger(section, "LeftWidth", 0);
  e.Margins.Right = ini.ReadInteger(section, "RightWidth", 0);
  e.Margins.Top = ini.ReadInteger(section, "TopHeight", 0);
  e.Margins.Bottom = ini.ReadInteger(section, "BottomHeight", 0);
  SaneMargins(e.Margins);
  if (readFrame) e.FrameCount = ini.ReadInteger(section, "Frame", 0);
  e.Trans = ini.ReadInteger(section, "Trans", 0);
  e.Tile = ClampTile(ini.ReadInteger(section, "Tile", 0), 0);
  e.NormalColour = ini.ReadInteger(section, "NormalColour", -1);
  e.MouseOverColour = ini.ReadInteger(section, "MouseOverColour", -1);
  e.PressedColour = ini.ReadInteger(section, "PressedColour", -1);
  e.NormalColour2 = ColourOrDefault(ini.ReadString(section, "NormalColour2", ""), ButtonTextColour);
  e.MouseOverColour2 = ColourOrDefault(ini.ReadString(section, "MouseOverColour2", ""), ButtonTextColour);
  e.PressedColour2 = ColourOrDefault(ini.ReadString(section, "PressedColour2", ""), ButtonTextColour);
}

void TSkinContent::ReadElement(std::unique_ptr<TDataSkinObject>& Slot, const std::string& Section) {
  Slot.reset();
  const std::string image = ini_->ReadString(Section, "Image", "");
  if (image.empty()) return;
  auto e = std::make_unique<TDataSkinObject>(Section);
  LoadSkinBitmap(e->Bitmap, image);
  ReadGeneric(*e, Section, true);
  Slot = std::move(e);
}

void TSkinContent::ReadBorderElement(std::unique_ptr<TDataSkinBorder>& Slot, const std::string& Section,
                                     const std::string& SecondKey) {
  Slot.reset();
  const std::string image = ini_->ReadString(Section, "Image", "");
  if (image.empty()) return;
  auto e = std::make_unique<TDataSkinBorder>(Section);
  LoadSkinBitmap(e->Bitmap, image);
  const std::string second = ini_->ReadString(Section, SecondKey, "");
  if (!second.empty()) LoadSkinBitmap(e->Bitmap2, second);
  ReadGeneric(*e, Section, false);
  Slot = std::move(e);
}

void TSkinContent::ReadProgressElement(std::unique_ptr<TDataSkinBorder>& Slot, const std::string& Section) {
  Slot.reset();
  const std::string image = ini_->ReadString(Section, "Bitmap", "");
  if (image.empty()) return;
  auto e = std::make_unique<TDataSkinBorder>(Section);
  LoadSkinBitmap(e->Bitmap, image);
  const TQuickIni& ini = *ini_;
  e->Style = ini.ReadInteger(Section, "Style", 0);
  e->Margins = {ini.ReadInteger(Section, "LeftWidth", 0), ini.ReadInteger(Section, "TopHeight", 0),
                ini.ReadInteger(Section, "RightWidth", 0), ini.ReadInteger(Section, "BottomHeight", 0)};
  SaneMargins(e->Margins);
  e->Trans = ini.ReadInteger(Section, "Trans", 0);
  e->Tile = ClampTile(ini.ReadInteger(Section, "Tile", 0), 1);
  Slot = std::move(e);
}

void TSkinContent::ReadBoxLabelElement(std::unique_ptr<TDataSkinBoxLabel>& Slot, const std::string& Section) {
  Slot.reset();
  const std::string image = ini_->ReadString(Section, "Image", "");
  if (image.empty()) return;
  auto e = std::make_unique<TDataSkinBoxLabel>(Section);
  LoadSkinBitmap(e->Bitmap, image);
  ReadGeneric(*e, Section, false);
  e->BackgroundAlignment = ini_->ReadInteger(Section, "BackgroundAlignment", 0);
  e->BackgroundLeftShift = ini_->ReadInteger(Section, "BackgroundLeftShift", 0);
  e->BackgroundRightShift = ini_->ReadInteger(Section, "BackgroundRightShift", 0);
  Slot = std::move(e);
}

void TSkinContent::ReadMenuBar(std::unique_ptr<TDataSkinObject>& Slot, const std::string& Section) {
  Slot.reset();
  const std::string image = ini_->ReadString(Section, "menuBar", "");
  if (image.empty()) return;
  auto e = std::make_unique<TDataSkinObject>("Personality");
  LoadSkinBitmap(e->Bitmap, image);
  e->Margins.Top = e->Margins.Bottom = 0;
  e->Tile = ClampTile(ini_->ReadInteger(Section, "TileMenu", 1), 1);
  e->Margins.Left = ini_->ReadInteger(Section, "TileLeftMenu", 1);
  e->Margins.Right = ini_->ReadInteger(Section, "TileRightMenu", 1);
  SaneMargins(e->Margins);
  Slot = std::move(e);
}

void TSkinContent::ReadTitle(TDataSkinTitle& t, const std::string& Section) {
  const TQuickIni& ini = *ini_;
  LoadSkinBitmap(t.Bitmap, ini.ReadString(Section, "TextBack", ""));
  t.Margins = {ini.ReadInteger(Section, "TextShift", 0), ini.ReadInteger(Section, "TextShiftVert", 0),
               ini.ReadInteger(Section, "TextRightClip", 0), 0};
  SaneMargins(t.Margins);
  t.TextAlignment = ini.ReadInteger(Section, "TextAlignment", 0);
  t.Textbackground = ini.ReadInteger(Section, "Textbackground", 0);
  t.FontHeight = ini.ReadInteger("Fonts", "FontHeight", 14);
  t.TXTBackleft = ini.ReadInteger(Section, "TXTBackleft", 0);
  t.TXTBackRight = ini.ReadInteger(Section, "TXTBackRight", 0);
  t.ActiveText = t.InActiveText = 0x1FFFFFFF;
  ReadRGBKeys(Section, "ActiveText", t.ActiveText);
  ReadRGBKeys(Section, "InActiveText", t.InActiveText);
}

void TSkinContent::ReadRGBKeys(const std::string& Section, const std::string& Prefix, TSkinColour& Colour) const {
  const std::int32_t r = ini_->ReadInteger(Section, Prefix + "R", -1), g = ini_->ReadInteger(Section, Prefix + "G", -1),
                     b = ini_->ReadInteger(Section, Prefix + "B", -1);
  if (r >= 0 && g >= 0 && b >= 0)
    Colour = (static_cast<TSkinColour>(r) & 0xFF) | ((static_cast<TSkinColour>(g) & 0xFF) << 8) |
             ((static_cast<TSkinColour>(b) & 0xFF) << 16);
}

TSkinColour TSkinContent::ColourOrDefault(const std::string& Value, TSkinColour Default) const {
  return Value.empty() ? Default : ParseSkinColour(Value);
}

void TSkinContent::ReadButtons() {
  const TQuickIni& ini = *ini_;
  TDataSkinButton& b = *Buttons;
  const std::string s = "Buttons";
  b.Margins = {ini.ReadInteger(s, "LeftWidth", 0), ini.ReadInteger(s, "TopHeight", 0),
               ini.ReadInteger(s, "RightWidth", 0), ini.ReadInteger(s, "BottomHeight", 0)};
  SaneMargins(b.Margins);
  b.Trans = ini.ReadInteger(s, "Trans", 0);
  LoadSkinBitmap(b.Bitmap, ini.ReadString(s, "Bitmap", ""));
  b.Tile = ClampTile(ini.ReadInteger(s, "Tile", 0), 0);
  LoadSkinBitmap(b.CheckBitmap, ini.ReadString(s, "CheckButton", ""));
  LoadSkinBitmap(b.RadioBitmap, ini.ReadString(s, "RadioButton", ""));
  b.NormalColour = ini.ReadInteger(s, "NormalColour", -1);
  b.MouseOverColour = ini.ReadInteger(s, "MouseOverColour", -1);
  b.PressedColour = ini.ReadInteger(s, "PressedColour", -1);
  b.RadioButtonFrame = ini.ReadInteger(s, "RadioButtonFrame", 0);
  b.CheckButtonFrame = ini.ReadInteger(s, "CheckButtonFrame", 0);
  const std::string n2 = ini.ReadString(s, "NormalColour2", ""), m2 = ini.ReadString(s, "MouseOverColour2", ""),
                    p2 = ini.ReadString(s, "PressedColour2", "");
  b.HasNormalColour2 = !n2.empty();
  b.HasMouseOverColour2 = !m2.empty();
  b.HasPressedColour2 = !p2.empty();
  b.NormalColour2 = ColourOrDefault(n2, ButtonTextColour);
  b.MouseOverColour2 = ColourOrDefault(m2, ButtonTextColour);
  b.PressedColour2 = ColourOrDefault(p2, ButtonTextColour);
}

void TSkinContent::ReadBorders() {
  const TQuickIni& ini = *ini_;
  const std::string s = "Personality";
  for (TDataSkinBorder* e : {BorderLeft.get(), BorderRight.get(), BorderTop.get(), BorderBottom.get()}) {
    const std::string& n = e->Name;
    const std::int32_t first = ini.ReadInteger(s, n + "TopHeight", 0), second = ini.ReadInteger(s, n + "BotHeight", 0);
    if (n == "Left" || n == "Right")
      e->Margins = {0, first, 0, second};
    else
      e->Margins = {first, 0, second, 0};
    SaneMargins(e->Margins);
    e->FrameCount = ini.ReadInteger(s, n + "Frame", 1);
    e->Tile = ini.ReadInteger(s, n + "Stretch", 1);
    e->Trans = ini.ReadInteger(s, n + "Trans", 1);
    LoadSkinBitmap(e->Bitmap, ini.ReadString(s, n, ""));
    e->Tile = ClampTile(e->Tile, 1);
  }
}

void TSkinContent::ReadColours() {
  auto read = [&](const char* key, TSkinColour def) {
    return ColourOrDefault(ini_->ReadString("Colours", key, ""), def);
  };
  WindowTextColour = read("WindowText", SkinSysColour(COLOR_WINDOWTEXT_));
  ButtonFaceColour = read("ButtonFace", SkinSysColour(COLOR_BTNFACE_));
  HilightTextColour = read("HilightText", SkinSysColour(COLOR_HIGHLIGHTTEXT_));
  HilightColour = read("Hilight", SkinSysColour(COLOR_HIGHLIGHT_));
  MenubarColour = read("Menubar", ButtonFaceColour);
  MenuColour = read("Menu", SkinSysColour(COLOR_MENU_));
  MenuTextColour = read("MenuText", SkinSysColour(COLOR_MENUTEXT_));
  ButtonTextColour = read("ButtonText", SkinSysColour(COLOR_BTNTEXT_));
  ButtonHilightColour = read("ButtonHilight", SkinSysColour(COLOR_BTNHIGHLIGHT_));
  ButtonlightColour = read("Buttonlight", SkinSysColour(COLOR_BTNHIGHLIGHT_));
  ButtonShadowColour = read("ButtonShadow", SkinSysColour(COLOR_BTNSHADOW_));
  ButtonDkShadowColour = read("ButtonDkShadow", SkinSysColour(COLOR_3DDKSHADOW_));
  MenuBarTextColour = read("MenuBarText", SkinSysColour(COLOR_MENUTEXT_));
  TitleTextActiveColour = read("TitleTextActive", SkinSysColour(COLOR_CAPTIONTEXT_));
  TitleTextNoActiveColour = read("TitleTextNoActive", SkinSysColour(COLOR_INACTIVECAPTIONTEXT_));
}

void TSkinContent::ReadCaptionButtons() {
  CaptionButtons.clear();
  const TQuickIni& ini = *ini_;
  TStringList sections;
  ini.ReadSections(sections);
  std::vector<std::string> kept;
  for (std::size_t i = sections.Count(); i-- > 0;) {
    const std::string& name = sections[i];
    const std::string up = SkinUpperCase(name);
    if (up == "BUTTON" || up == "BUTTONS" || up == "BUTTON.RADIO" || up == "BUTTON.CHECKBOX" ||
        up.rfind("BUTTON", 0) != 0)
      continue;
    if (ini.ReadInteger(name, "Action", 0) == -1 && ini.ReadInteger(name, "Visibility", -1) != 0) continue;
    kept.insert(kept.begin(), name);
  }
  CaptionButtons.reserve(kept.size() + 3);
  for (const std::string& name : kept) {
    auto b = std::make_unique<TDataSkinSysButton>(SkinUpperCase(name));
    b->Action = ini.ReadInteger(name, "Action", 0);
    b->Align = ini.ReadInteger(name, "Align", 0);
    b->Xcoord = ini.ReadInteger(name, "Xcoord", 0);
    b->Ycoord = ini.ReadInteger(name, "Ycoord", 0);
    b->Visibility = ini.ReadInteger(name, "Visibility", 0);
    b->Visibility1 = ini.ReadInteger(name, "Visibility1", b->Action == -1 ? -1 : 0);
    b->CombineOp = ini.ReadInteger(name, "CombineOp", -1);
    b->FrameCount = ini.ReadInteger(name, "frame", 0);
    LoadSkinBitmap(b->Bitmap, ini.ReadString(name, "ButtonImage", ""));
    // A negative count is treated as not given: the strip's shape decides.
    if (b->FrameCount <= 0) {
      b->FrameCount = 6;
      if (!b->Bitmap.Empty())
        b->FrameCount = static_cast<double>(b->Bitmap.Width()) / b->Bitmap.Height() <= 3.8 ? 3 : 6;
      if (b->Action < 0) b->FrameCount = 6;
      // The form skinner draws the window icon there.
      if (b->Action == 3 || b->Action == 11) b->Bitmap.Clear();
    }
    CaptionButtons.push_back(std::move(b));
  }
  const std::size_t n = CaptionButtons.size();
  for (int action : {7, 8, 9}) {
    auto b = std::make_unique<TDataSkinSysButton>("MDI");
    b->Action = action;
    b->Align = 100;
    b->Visibility = b->Visibility1 = 100;
    b->FrameCount = 4;
    CaptionButtons.push_back(std::move(b));
  }
  ReadMDIButtons(n);
}

void TSkinContent::ReadMDIButtons(std::size_t FirstIndex) {
  TSkinBitmap strip;
  LoadSkinBitmap(strip, ini_->ReadString("MDICONTROLS", "Image", ""));
  if (strip.Empty()) return;
  const int a = strip.Width() / 12, h = strip.Height();
  for (int i = 0; i < 3; ++i) {
    TDataSkinSysButton& b = *CaptionButtons[FirstIndex + static_cast<std::size_t>(i)];
    b.Bitmap.SetSize(4 * a, h);
    SkinStretchCopy(b.Bitmap, {0, 0, 4 * a, h}, strip, {4 * a * i, 0, 4 * a * (i + 1), h});
    b.Xcoord = (3 - i) * (a + 4);
  }
}

void TSkinContent::SetFrameCounts() {
  auto set = [](auto& e, std::int32_t n) {
    if (e) e->FrameCount = n;
  };
  set(Buttons, 5);
  for (auto [bitmap, frames] : {std::pair{&Buttons->RadioBitmap, &Buttons->RadioButtonFrame},
                                std::pair{&Buttons->CheckBitmap, &Buttons->CheckButtonFrame}}) {
    if (*frames <= 0) {
      // A negative count is treated as not given.
      const int s = bitmap->Height() < 16 ? 13 : 16;
      *frames = std::max(bitmap->Width() / s, 4);
    }
  }
  set(Title, 2);
  set(MenuBar, 2);
  set(GroupBoxEdge, 2);
  if (Progress) Progress->FrameCount = Progress->Style == 0 ? 2 : 1;
  set(ToolbarGradient, 1);
  set(TabPane, 1);
  set(GroupBox, 1);
  set(MenuBackground, 1);
  set(StatusBarEdges, 3);
  for (auto* e : {&ComboButton}) set(*e, 4);
  set(SunkEdge, 4);
  set(HorzScroll, 4);
  set(VertScroll, 4);
  set(ToolBars, 5);
  set(Tabs, 5);
  set(ExtraImages, 5);
  set(MenuItem, 5);
  for (auto* e : {&ThumbHorz, &ThumbVert, &ThumbLeft, &ThumbRight, &ThumbUp, &ThumbDown}) set(*e, 5);
  if (Headerbar && Headerbar->FrameCount == 0) Headerbar->FrameCount = 5;
  set(UpDownHorz, 8);
  set(UpDownVert, 8);
  set(Scrollbar, 23);
  if (HorzScrollThumb) HorzScrollThumb->FrameCount = ini_->ReadInteger("HorzScrollThumb", "FrameCount", 3);
  if (VertScrollThumb) VertScrollThumb->FrameCount = ini_->ReadInteger("VertScrollThumb", "FrameCount", 3);
  // Counts that come from the description may be 0 or negative: every painter divides by
  // them, so they are at least 1.
  for (TDataSkinObject* e :
       {static_cast<TDataSkinObject*>(ProgressChunk.get()), Track.get(), TrackVert.get(), Headerbar.get(),
        HorzScrollThumb.get(), VertScrollThumb.get(), static_cast<TDataSkinObject*>(BorderLeft.get()),
        static_cast<TDataSkinObject*>(BorderRight.get()), static_cast<TDataSkinObject*>(BorderTop.get()),
        static_cast<TDataSkinObject*>(BorderBottom.get())})
    if (e && e->FrameCount < 1) e->FrameCount = 1;
}

void TSkinContent::BuildComboImages() {
  if (!SunkEdge || !ComboButton) return;
  const int bw = ScrollBarWidth + 2;
  const int n = std::max(SunkEdge->FrameCount, 1);
  TSkinBitmap strip(50 * n, 21, kSkinKeyColour);
  TSkinBitmap tile(50, 21, kSkinKeyColour);
  for (int k = 1; k <= n; ++k) {
    TSkinImage edge = SkinComposeNineSlice(50, 21, SunkEdge->Bitmap, SunkEdge->Margins, k, n, false, false);
    if (SunkEdge->Trans == 1)
      SkinKeyedCopy(tile, 0, 0, edge);
    else if (!edge.Empty())
      SkinStretchCopy(tile, {0, 0, 50, 21}, edge, {0, 0, 50, 21});
    TSkinImage button = SkinComposeNineSlice(bw, 21, ComboButton->Bitmap, ComboButton->Margins, k,
                                             ComboButton->FrameCount, false, false);
    SkinKeyedCopy(tile, 50 - bw, 0, button);
    if (ExtraImages && !ExtraImages->Bitmap.Empty()) {
      TSkinFrame f = SkinFrameRect(ExtraImages->Bitmap.Width(), ExtraImages->Bitmap.Height(), k,
                                   ExtraImages->FrameCount, false);
      TSkinImage glyph(bw, 21);
      SkinStretchCopy(glyph, {0, 0, bw, 21}, ExtraImages->Bitmap, f.Rect());
      SkinKeyedCopy(tile, 50 - bw, 0, glyph);
    }
    tile.Fill({2, 2, 49 - bw, 18}, kSkinKeyColour);
    SkinStretchCopy(strip, {50 * (k - 1), 0, 50 * k, 21}, tile, {0, 0, 50, 21});
  }
  ComboButton->Style = 2;
  ComboButton->Margins = SunkEdge->Margins;
  ComboButton->Margins.Left = 2;
  ComboButton->Margins.Right = bw + 2;
  CopyBitmap(strip, ComboButton->Bitmap);
  strip.MirrorHorizontal();
  CopyBitmap(strip, SunkEdge->Bitmap);
  SunkEdge->Margins.Left = bw + 2;
  SunkEdge->Margins.Right = 2;
}

void TSkinContent::BuildComboArrow() {
  if (!ComboxArrow) ComboxArrow = std::make_unique<TDataSkinObject>("ComboxArrow");
  if (!SunkEdge) {
    if (ComboButton) {
      CopyBitmap(ComboButton->Bitmap, ComboxArrow->Bitmap);
      // The face colour as the platform would paint it, system colours resolved.
      ComboxArrow->Bitmap.ReplaceColour(kSkinKeyColour, ResolveColour(ButtonFaceColour));
      ComboxArrow->FrameCount = ComboButton->FrameCount;
    }
    return;
  }
  if (!ComboButton || ComboButton->Style != 2) return;
  const int n = std::max(SunkEdge->FrameCount, 1);
  const int w = ComboButton->Bitmap.Width() / n;
  TSkinBitmap arrows(17 * n, 17);
  for (int k = 1; k <= n; ++k)
    SkinStretchCopy(arrows, {17 * (k - 1), 0, 17 * k, 17}, ComboButton->Bitmap, {k * w - 19, 2, k * w - 2, 19});
  ComboxArrow->Bitmap = std::move(arrows);
  ComboxArrow->FrameCount = n;
}

void TSkinContent::BuildToolbarGradient() {
  using skin::TColor;
  const TColor B = static_cast<TColor>(GetBorderColour());
  TColor bottom = skin::MixColors(0x808080, B, 150);
  const TColor top = skin::MixColors(static_cast<TColor>(ButtonFaceColour), 0xFFFFFF, 150);
  const int S = skin::ColorSaturation(B);
  if (S > 110) bottom = skin::MixColors(B, 0xFFFFFF, (225 - S) * 25 / 140 + 50);
  TSkinBitmap image(10, 40);
  const int slot = skin::GetGradientColors(40, static_cast<TColor>(skin::ColorToRGB(top)),
                                           static_cast<TColor>(skin::ColorToRGB(bottom)));
  if (slot >= 0) {
    const std::vector<TColor>& ramp = skin::GradientSlot(slot);
    for (int y = 0; y < 40 && y < static_cast<int>(ramp.size()); ++y)
      image.Fill({0, y, 10, y + 1}, static_cast<TSkinColour>(ramp[static_cast<std::size_t>(y)]) & 0xFFFFFF);
  }
  if (!ToolbarGradient) ToolbarGradient = std::make_unique<TDataSkinObject>("Toolbar");
  ToolbarGradient->Bitmap = std::move(image);
  ToolbarGradient->FrameCount = 1;
}

TSkinColour TSkinContent::GetBorderColour() const {
  const TSkinBitmap& img = BorderTop->Bitmap;
  if (img.Empty()) return ButtonFaceColour;
  const int frames = std::max(BorderTop->FrameCount, 1);
  return img.Pixel(img.Width() / 3, (img.Height() / frames) / 3);
}

void TSkinContent::LoadDefaultTrack(std::unique_ptr<TDataSkinObject>& Slot, const std::string& ResourceName) {
  auto e = std::make_unique<TDataSkinObject>(ResourceName);
  if (LoadResourceImage) LoadResourceImage(ResourceName, e->Bitmap);
  e->Margins = {3, 3, 3, 3};
  e->Tile = 0;
  e->FrameCount = 1;
  Slot = std::move(e);
}

void TSkinContent::ReadSkinIni(const TSkinReader& reader, const TQuickIni& ini) {
  reader_ = &reader;
  ini_ = &ini;
  struct Forget {
    TSkinContent* self;
    ~Forget() {
      self->reader_ = nullptr;
      self->ini_ = nullptr;
    }
  } forget{this};

  ReadBorders();
  ReadColours();
  ReadCaptionButtons();
  ReadButtons();
  ReadTitle(*Title, "Personality");
  ReadProgressElement(Progress, "Progress");
  ReadElement(ProgressChunk, "Progress.Chunk");
  ReadMenuBar(MenuBar, "Personality");
  ReadElement(GroupBoxEdge, "GroupBoxEdge");
  ReadBoxLabelElement(GroupBox, "GroupBox");
  ReadBorderElement(Tabs, "Tabs", "Border");
  ReadElement(StatusBarEdges, "StatusBarEdges");
  ReadElement(TabPane, "Tab.Pane");
  if (TabPane) {
    TSkinMargins& m = TabPane->Margins;
    m.Left = std::min(m.Left, 4);
    m.Top = std::min(m.Top, 4);
    m.Right = std::min(m.Right, 4);
    m.Bottom = std::min(m.Bottom, 4);
  }
  ReadElement(ToolBars, "ToolBars");
  ReadBorderElement(ComboButton, "ComboButton", "****");
  ReadElement(SunkEdge, "SunkEdge");
  if (ComboButton && !ComboButton->Bitmap.Empty()) {
    ComboButton->Bitmap2 = ComboButton->Bitmap;
    ComboButton->Bitmap2.MirrorHorizontal();
  }
  const std::pair<std::unique_ptr<TDataSkinObject>*, const char*> generic[] = {
      {&ExtraImages, "ExtraImages"},
      {&Headerbar, "Headerbar"},
      {&MenuItem, "MenuItem"},
      {&MenuBackground, "MenuBackground"},
      {&Scrollbar, "Scrollbar"},
      {&HorzScroll, "HorzScroll"},
      {&VertScroll, "VertScroll"},
      {&HorzScrollThumb, "HorzScrollThumb"},
      {&VertScrollThumb, "VertScrollThumb"},
      {&ThumbHorz, "Trackbar.ThumbHorz"},
      {&ThumbVert, "Trackbar.ThumbVert"},
      {&ThumbLeft, "Trackbar.ThumbLeft"},
      {&ThumbRight, "Trackbar.ThumbRight"},
      {&ThumbUp, "Trackbar.ThumbUp"},
      {&ThumbDown, "Trackbar.ThumbDown"},
  };
  for (const auto& [slot, section] : generic) ReadElement(*slot, section);
  ReadBorderElement(UpDownHorz, "UpDown.Horz", "GlyphImage");
  ReadBorderElement(UpDownVert, "UpDown.Vert", "GlyphImage");
  ReadElement(Track, "Track");
  ReadElement(TrackVert, "TRACKVERT");
  if (!Track) LoadDefaultTrack(Track, "TRACK");
  if (!TrackVert) LoadDefaultTrack(TrackVert, "TRACKVERT");
  SetFrameCounts();
  BuildComboImages();
  BuildComboArrow();
  BuildToolbarGradient();
  BorderColour = GetBorderColour();
}
