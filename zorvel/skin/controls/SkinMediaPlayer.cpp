#include "SkinMediaPlayer.h"

#include <bit>

#include "SkinDrawWin.h"
#include "SkinStates.h"
#include "WinSkinData.h"
#include "WinSkinForm.h"
#include "WinSubClass.h"

namespace {
constexpr TSkinColour kOlive = 0x008080;  // the glyphs' transparent colour

std::string Narrow(const std::wstring& wide) {
  return std::string(wide.begin(), wide.end());  // set texts are ASCII names
}
}  // namespace

TWMediaPlayer::TWMediaPlayer(TComponent* AOwner) : TPanel(AOwner) {
  for (int b = 0; b < kMPButtonCount; ++b)
    for (int kind = 0; kind < 3; ++kind)
      LoadSkinResourceImage(MPGlyphResource(kMPGlyphPrefixes[kind], TMPBtnType(b)),
                            FButtons[b].Glyphs[kind]);
}

TWMediaPlayer::~TWMediaPlayer() {
  if (FSkinMP) FSkinMP->FPlayer = nullptr;
}

void TWMediaPlayer::Bind(TSkinMP* SkinMP, TControl* Control) {
  FControl = Control;
  FSkinMP = SkinMP;
  FSkinData = SkinMP->FSkinData;
  Tag = FSkinData->DisableTag;  // never skinned itself
  SyncBounds(Control);
  SetParent(Control->Parent());
  // Over the player, whatever the order the windows were made in.
  if (HandleAllocated())
    SetWindowPos(Handle(), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

void TWMediaPlayer::SyncBounds(TControl* Control) {
  SetBounds(Control->Left(), Control->Top(), Control->Width(), Control->Height());
}

int TWMediaPlayer::HitButton(int X) {
  unsigned visible = 0;
  for (int b = 0; b < kMPButtonCount; ++b)
    if (FButtons[b].Visible) visible |= 1u << b;
  FHitIndex = std::uint8_t(MPHitButton(visible, FButtonWidth, X));
  return FHitIndex;
}

void TWMediaPlayer::WndProc(TMessage& m) {
  switch (m.Msg) {
    case WM_ERASEBKGND:
      m.Result = 1;  // the paint covers all of it
      return;
    case WM_LBUTTONDOWN:
      FMouseDown = true;
      TPanel::WndProc(m);
      if (FControl) FControl->Perform(m.Msg, m.WParam, m.LParam);
      // The panel keeps the mouse until the release, wherever that happens.
      SetCapture(Handle());
      HitButton(LOWORD(m.LParam));
      FPressedIndex = FHitIndex;
      Invalidate();
      return;
    case WM_LBUTTONUP:
      FMouseDown = false;
      TPanel::WndProc(m);
      if (GetCapture() == Handle()) ReleaseCapture();
      HitButton(LOWORD(m.LParam));
      // The player sees the release only where the press began.
      if (FHitIndex == FPressedIndex && FControl) FControl->Perform(m.Msg, m.WParam, m.LParam);
      FPressedIndex = FHitIndex;
      Invalidate();
      return;
    case WM_CAPTURECHANGED:
      if (FMouseDown && reinterpret_cast<HWND>(m.LParam) != Handle()) {
        FMouseDown = false;  // taken away: the press is over
        Invalidate();
      }
      break;
    default:
      break;
  }
  TPanel::WndProc(m);
}

void TWMediaPlayer::Paint(HDC DC) {
  const RECT all{0, 0, Width(), Height()};
  const TColor face = static_cast<TColor>(FSkinData->ButtonFaceColour);
  unsigned sets[3] = {};
  if (FControl) {
    const char* names[3] = {"VisibleButtons", "EnabledButtons", "ColoredButtons"};
    for (int i = 0; i < 3; ++i)
      sets[i] = MPButtonsNamedIn(Narrow(GetWidePropByName(FControl, names[i])));
  }
  for (int b = 0; b < kMPButtonCount; ++b) {
    FButtons[b].Visible = sets[0] & (1u << b);
    FButtons[b].Enabled = sets[1] & (1u << b);
    FButtons[b].Colored = sets[2] & (1u << b);
  }
  FVisibleCount = std::popcount(sets[0]);
  if (FVisibleCount == 0) {
    FillSolidRect(DC, all, face);
    return;
  }
  FButtonWidth = Width() / FVisibleCount;
  TBitmap buffer;
  buffer.SetSize(Width(), Height());
  TCanvas& canvas = *buffer.Canvas();
  canvas.Brush.Color = face;
  canvas.FillRect(all);
  for (const TMPButtonPlace& place : MPButtonPlaces(sets[0], Width(), Height()))
    DrawButton(canvas, place.Kind, ToRect(place.Rect));
  BitBlt(DC, 0, 0, Width(), Height(), canvas.Handle(), 0, 0, SRCCOPY);
}

void TWMediaPlayer::DrawButton(TCanvas& Canvas, int Index, const RECT& R) {
  const TMPButton& button = FButtons[Index];
  const TSkinImage& glyph = button.Glyphs[!button.Enabled ? 1 : button.Colored ? 2 : 0];
  int frame = FMouseDown && Index == FPressedIndex ? 2 : 1;
  if (!button.Enabled) frame = 3;
  const TDataSkinButton& buttons = *FSkinData->Buttons;
  DrawNineSlice(Canvas.Handle(), ToSkinRect(R), buttons.Bitmap, buttons.Margins, frame, 5,
                buttons.Trans == 1, buttons.Tile != 0, false);
  if (glyph.Empty()) return;
  // Olive shows the face colour, as the canvas's brush copy would.
  TSkinImage copy = glyph;
  copy.ReplaceColour(kOlive, ColorToRGB(static_cast<TColor>(FSkinData->ButtonFaceColour)));
  const int shift = frame == 2 ? 1 : 0;
  SkinBlit(Canvas.Handle(), int(R.left + (R.right - R.left - copy.Width()) / 2) + shift,
           int(R.top + (R.bottom - R.top - copy.Height()) / 2) + shift, copy);
}

// ---------------------------------------------------------------------------------------

TSkinMP::~TSkinMP() {
  FreePlayer();
}

void TSkinMP::FreePlayer() {
  if (!FPlayer) return;
  TWMediaPlayer* player = FPlayer;
  FPlayer = nullptr;
  player->FSkinMP = nullptr;
  player->FControl = nullptr;
  delete player;
}

void TSkinMP::AttachControl(TWinSkinForm* Form, TSkinData* SkinData, TCanvas* Canvas,
                            bool UseColour) {
  if (FAttached) return;
  TSkinControl::AttachControl(Form, SkinData, Canvas, UseColour);
  if (!FControl) return;
  FPlayer = new TWMediaPlayer(Form);
  FPlayer->Bind(this, FControl);
  FPlayer->SetVisible(FControl->Visible());
}

void TSkinMP::DetachSkin() {
  TSkinControl::DetachSkin();
  if (FStatus != 6) FreePlayer();
}

void TSkinMP::AfterMessage(TMessage& m) {
  switch (m.Msg) {
    case WM_WINDOWPOSCHANGED:
      if (FPlayer && FControl) FPlayer->SyncBounds(FControl);
      break;
    case CM_VISIBLECHANGED:
      if (FPlayer && FControl) FPlayer->SetVisible(FControl->Visible());
      break;
    default:
      TSkinControl::AfterMessage(m);
      break;
  }
}
