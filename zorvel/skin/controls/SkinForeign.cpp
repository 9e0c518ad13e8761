#include "SkinForeign.h"

#include <cstring>
#include <vector>

#include "SkinDrawWin.h"
#include "SkinStates.h"
#include "SkinTabs.h"
#include "WinSkinData.h"
#include "WinSkinForm.h"
#include "WinSubClass.h"

namespace {

// The skin image as a framework bitmap.
void CopyToBitmap(const TSkinImage& from, TBitmap& to) {
  to.SetPixelFormat(pf24bit);
  to.SetSize(from.Width(), from.Height());
  for (int y = 0; y < from.Height(); ++y)
    std::memcpy(to.ScanLine(y), from.Row(y), std::size_t(from.Width()) * 3);
}

void EmptyBitmap(TObject* Instance, const char* Name) {
  if (auto* b = GetObjectPropByName<TBitmap>(Instance, Name)) b->SetSize(0, 0);
}

}  // namespace

void TSkinObjImage::AttachControl(TWinSkinForm* Form, TSkinData* SkinData, TCanvas* Canvas, bool) {
  // The component recolours itself from the glyphs: no colour is taken.
  if (!BindControl(Form, SkinData, Canvas, false)) return;
  if (Form) Form->RegisterSkinControl(this);
  ApplyGlyphs();
  FAttached = true;
  FStatus = 1;
}

void TSkinObjImage::SkinChanged() {
  ApplyGlyphs();
}

void TSkinObjImage::DetachSkin() {
  if (!FControl) return;
  if (ImageKind == 3)
    EmptyBitmap(GetObjectPropByName(FControl, "Properties"), "Glyph");
  else
    SetPropByName(FControl, "UseCustomGlyphs", "false");
}

void TSkinObjImage::ApplyGlyphs() {
  const TDataSkinButton* buttons = FSkinData ? FSkinData->Buttons.get() : nullptr;
  if (!buttons || !FControl || ImageKind < 1 || ImageKind > 3) return;
  const bool radio = ImageKind == 2;
  const TSkinImage& strip = radio ? buttons->RadioBitmap : buttons->CheckBitmap;
  const int n = radio ? buttons->RadioButtonFrame : buttons->CheckButtonFrame;
  if (strip.Empty() || n < 1 || strip.Width() < n) return;
  const int w = strip.Width() / n, h = strip.Height();
  const std::vector<int> slots = GlyphSlots(ImageKind, n);
  TBitmap glyphs;
  glyphs.SetSize(w * int(slots.size()), h);
  for (int y = 0; y < h; ++y)
    for (std::size_t k = 0; k < slots.size(); ++k)
      if (slots[k])
        std::memcpy(glyphs.ScanLine(y) + k * std::size_t(w) * 3,
                    strip.Row(y) + std::size_t(slots[k] - 1) * std::size_t(w) * 3,
                    std::size_t(w) * 3);
  if (ImageKind == 3) {
    if (auto* glyph =
            GetObjectPropByName<TBitmap>(GetObjectPropByName(FControl, "Properties"), "Glyph")) {
      glyph->Assign(&glyphs);
      glyph->TransparentColor = 0xFF00FF;
      glyph->Transparent = false;
    }
    return;
  }
  if (auto* custom = GetObjectPropByName<TBitmap>(FControl, "CustomGlyphs"))
    custom->Assign(&glyphs);
  SetPropByName(FControl, "transparentcolor", std::to_string(0xFF00FF));
  // Off and on again: the component reads its glyphs anew.
  SetPropByName(FControl, "UseCustomGlyphs", "false");
  SetPropByName(FControl, "UseCustomGlyphs", "true");
}

// ---------------------------------------------------------------------------------------

void TSkinAdvPage::AttachControl(TWinSkinForm* Form, TSkinData* SkinData, TCanvas* Canvas,
                                 bool UseColour) {
  if (FAttached) return;
  TSkinControl::AttachControl(Form, SkinData, Canvas, UseColour);
  ApplyTabImages();
  FAttached = true;
  FStatus = 1;
}

void TSkinAdvPage::DetachSkin() {
  TSkinControl::DetachSkin();
  if (!FControl) return;
  EmptyBitmap(FControl, "TabBackGround");
  EmptyBitmap(FControl, "TabBackGroundActive");
}

void TSkinAdvPage::SkinChanged() {
  ApplyTabImages();
}

void TSkinAdvPage::DrawSkin(HDC, const RECT&) {
  bool visible;
  FindTabUpDown(*this, FControl && FControl->Owner() ? FControl->Owner() : this, UpDownSkinner,
                visible);
}

void TSkinAdvPage::ApplyTabImages() {
  const TDataSkinBorder* tabs = FSkinData ? FSkinData->Tabs.get() : nullptr;
  if (PageMode != 4 || !tabs || !FControl) return;
  const char* names[2] = {"TabBackGround", "TabBackGroundActive"};
  for (int frame = 1; frame <= 2; ++frame) {
    // The element's Trans, not its Tile, decides whether the centre is tiled.
    const TSkinImage composed = ComposeNineSlice({0, 0, 100, 21}, tabs->Bitmap, tabs->Margins,
                                                 frame, tabs->FrameCount, tabs->Trans != 0, false);
    if (auto* target = GetObjectPropByName<TBitmap>(FControl, names[frame - 1])) {
      TBitmap picture;
      CopyToBitmap(composed, picture);
      target->Assign(&picture);
    }
  }
}
