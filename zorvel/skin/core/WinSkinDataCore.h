// The content of a loaded skin: colours and skin elements (each an image strip with the
// numbers that say how to cut and stretch it), read from the skin description and the
// archive's bitmaps. No window handles here: the skin data component (WinSkinData.h)
// owns one of these and adds the platform's brush, icon and menu glyphs.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "SkinDraw.h"
#include "SkinRead.h"
#include "WinSkinIni.h"

// The bitmap type of skin elements.
using TSkinBitmap = TSkinImage;

// System colours in the 32-bit colour encoding.
constexpr TSkinColour SkinSysColour(int index) { return 0xFF000000u | static_cast<TSkinColour>(index); }

class TDataSkinObject {
 public:
  explicit TDataSkinObject(std::string name = {}) : Name(std::move(name)) {}
  virtual ~TDataSkinObject() = default;
  TDataSkinObject(const TDataSkinObject&) = default;
  TDataSkinObject& operator=(const TDataSkinObject&) = default;
  TDataSkinObject(TDataSkinObject&&) = default;
  TDataSkinObject& operator=(TDataSkinObject&&) = default;

  TSkinMargins Margins;
  TSkinBitmap Bitmap;
  std::int32_t Trans = 0;  // 1: magenta is transparent when drawn
  std::int32_t Tile = 0;   // 1: middle parts repeated, 0: stretched
  std::string Name;
  std::int32_t FrameCount = 0;
  std::int32_t Style = 0;
  std::int32_t NormalColour = 0, MouseOverColour = 0, PressedColour = 0;
  TSkinColour NormalColour2 = 0, MouseOverColour2 = 0, PressedColour2 = 0;
};

class TDataSkinBorder : public TDataSkinObject {
 public:
  using TDataSkinObject::TDataSkinObject;
  TSkinBitmap Bitmap2;
};

class TDataSkinTitle : public TDataSkinObject {
 public:
  using TDataSkinObject::TDataSkinObject;
  std::int32_t TextAlignment = 0, Textbackground = 0, FontHeight = 0, TXTBackleft = 0, TXTBackRight = 0;
  // 0x1FFFFFFF: not given.
  TSkinColour ActiveText = 0, InActiveText = 0;
};

class TDataSkinButton : public TDataSkinObject {
 public:
  using TDataSkinObject::TDataSkinObject;
  TSkinBitmap CheckBitmap;
  TSkinBitmap RadioBitmap;
  std::int32_t RadioButtonFrame = 0, CheckButtonFrame = 0;
  bool HasNormalColour2 = false, HasMouseOverColour2 = false, HasPressedColour2 = false;
};

class TDataSkinSysButton : public TDataSkinObject {
 public:
  using TDataSkinObject::TDataSkinObject;
  std::int32_t Action = 0, Align = 0, Xcoord = 0, Ycoord = 0, CombineOp = 0, Visibility = 0, Visibility1 = 0;
};

class TDataSkinBoxLabel : public TDataSkinObject {
 public:
  using TDataSkinObject::TDataSkinObject;
  std::int32_t BackgroundLeftShift = 0, BackgroundRightShift = 0, BackgroundAlignment = 0;
};

// A colour value of the skin description: three decimal numbers (red, green, blue)
// separated by anything that is not a digit. Empty or digit-free text gives black.
TSkinColour ParseSkinColour(const std::string& value);
// Dest becomes a copy of Source.
void CopyBitmap(const TSkinBitmap& Source, TSkinBitmap& Dest);

// Colours and elements of one skin, and the readers that fill them.
class TSkinContent {
 public:
  TSkinContent();
  virtual ~TSkinContent();
  TSkinContent(TSkinContent&&) noexcept;
  TSkinContent& operator=(TSkinContent&&) noexcept;

  // Colours (0x00BBGGRR or 0xFF0000nn); 0 until the first load.
  TSkinColour WindowTextColour = 0, TitleTextActiveColour = 0, TitleTextNoActiveColour = 0, ButtonFaceColour = 0,
              ButtonTextColour = 0, ButtonHilightColour = 0, ButtonlightColour = 0, ButtonShadowColour = 0,
              ButtonDkShadowColour = 0, HilightTextColour = 0, HilightColour = 0, MenubarColour = 0,
              MenuBarTextColour = 0, MenuTextColour = 0, MenuColour = 0, BorderColour = 0;

  // Elements; a missing one is null. Title, Buttons and the four borders always exist.
  std::unique_ptr<TDataSkinTitle> Title;
  std::vector<std::unique_ptr<TDataSkinSysButton>> CaptionButtons;
  std::unique_ptr<TDataSkinButton> Buttons;
  std::unique_ptr<TDataSkinBorder> Tabs, UpDownHorz, UpDownVert;
  std::unique_ptr<TDataSkinObject> SunkEdge, ExtraImages;
  std::unique_ptr<TDataSkinBorder> ComboButton;
  std::unique_ptr<TDataSkinObject> ComboxArrow, GroupBoxEdge, ToolbarGradient, ToolBars;
  std::unique_ptr<TDataSkinBorder> Progress;
  std::unique_ptr<TDataSkinObject> ProgressChunk;
  std::unique_ptr<TDataSkinBoxLabel> GroupBox;
  std::unique_ptr<TDataSkinObject> StatusBarEdges, TabPane, Headerbar, MenuBar, MenuItem, MenuBackground, Scrollbar,
      HorzScroll, VertScroll, HorzScrollThumb, VertScrollThumb, ThumbHorz, ThumbVert, Track, TrackVert, ThumbLeft,
      ThumbRight, ThumbUp, ThumbDown;
  std::unique_ptr<TDataSkinBorder> BorderLeft, BorderRight, BorderTop, BorderBottom;

  // What the platform supplies to a load: the system scroll-bar width (SM_CXHSCROLL) and
  // the program's built-in bitmaps ("TRACK", "TRACKVERT").
  int ScrollBarWidth = 17;
  std::function<void(const std::string& name, TSkinBitmap& image)> LoadResourceImage;

  // Reads every section of the description `ini`, with the images from `reader`, in the
  // fixed order (later steps use the colours and elements of earlier ones).
  void ReadSkinIni(const TSkinReader& reader, const TQuickIni& ini);

  // Takes over a freshly read skin: the elements that always exist, ComboxArrow and
  // ToolbarGradient keep their objects (their contents change), every other element
  // and the caption buttons are replaced.
  void AdoptContent(TSkinContent&& next);

  // The parts of a load, in the order ReadSkinIni runs them.
  void LoadSkinBitmap(TSkinBitmap& Bitmap, const std::string& Value);
  void ReadElement(std::unique_ptr<TDataSkinObject>& Slot, const std::string& Section);
  void ReadBorderElement(std::unique_ptr<TDataSkinBorder>& Slot, const std::string& Section,
                         const std::string& SecondKey);
  void ReadProgressElement(std::unique_ptr<TDataSkinBorder>& Slot, const std::string& Section);
  void ReadBoxLabelElement(std::unique_ptr<TDataSkinBoxLabel>& Slot, const std::string& Section);
  void ReadMenuBar(std::unique_ptr<TDataSkinObject>& Slot, const std::string& Section);
  void ReadTitle(TDataSkinTitle& Title, const std::string& Section);
  void ReadButtons();
  void ReadBorders();
  void ReadColours();
  void ReadCaptionButtons();
  void ReadMDIButtons(std::size_t FirstIndex);
  void SetFrameCounts();
  void BuildComboImages();
  void BuildComboArrow();
  void BuildToolbarGradient();
  void LoadDefaultTrack(std::unique_ptr<TDataSkinObject>& Slot, const std::string& ResourceName);
  TSkinColour GetBorderColour() const;
  TSkinColour ColourOrDefault(const std::string& Value, TSkinColour Default) const;
  void ReadRGBKeys(const std::string& Section, const std::string& Prefix, TSkinColour& Colour) const;

 private:
  void ReadGeneric(TDataSkinObject& element, const std::string& section, bool readFrame);
  const TSkinReader* reader_ = nullptr;
  const TQuickIni* ini_ = nullptr;
};

// Whether the windows that `skin` sizes keep room on a screen of `width` x `height`: the
// window frame's left and right borders together take at most half its width (a border
// is as thick as one frame of its image), its top and bottom at most half its height,
// the title's text margins (which widen dialog boxes) and the menu items' left margin
// (which widens popup menus) at most half its width.
bool SkinFitsScreen(const TSkinContent& skin, int width, int height);

// The file-name part of a value (after the last "\", "/" or ":"), reading two-byte
// characters of code page 936 whole so that a trail byte 0x5C is not taken for "\".
std::string SkinExtractFileName(const std::string& value);
