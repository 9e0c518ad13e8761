// Which control skinner a control gets: from its class name, the framework kinds it is
// of, the host's list of class names and kinds, and the skin data's switches. No window
// handles here: the form skinner gathers the facts and carries the answer out.
#pragma once

#include <string>
#include <vector>

#include "WinSkinDataKinds.h"

// The framework kinds a control can be of (it is of a kind when its class is that class
// or descends from it).
enum TControlKind : unsigned {
  ckGroupBox = 1u << 0,
  ckProgress = 1u << 1,
  ckComboBox = 1u << 2,
  ckPanel = 1u << 3,
  ckListView = 1u << 4,
  ckButton = 1u << 5,
  ckEdit = 1u << 6,
  ckForm = 1u << 7,
  ckTabControl = 1u << 8,  // a tab control or page control with tabs
  ckTabSheet = 1u << 9,
  ckHeader = 1u << 10,
  ckCheckBox = 1u << 11,
  ckTrackBar = 1u << 12,
  ckRadioGroup = 1u << 13,
  ckRadioButton = 1u << 14,
  ckStatusBar = 1u << 15,
  ckScrollBar = 1u << 16,
  ckDateTime = 1u << 17,
  ckBitBtn = 1u << 18,
  ckSpeedButton = 1u << 19,
  ckScrollBox = 1u << 20,
  ckMemo = 1u << 21,
  ckToolBar = 1u << 22,
};

struct TControlFacts {
  std::string ClassName;
  unsigned Kinds = 0;
  bool Windowed = true;
  bool HasScrollBars = false;   // WS_HSCROLL or WS_VSCROLL in its window style
  bool SkinHasTabs = false;     // the skin has a Tabs element
  bool TabStyleTabs = true;     // a tab control's "Style" is "tsTabs" (else buttons)
  bool TabHoldsControls = false;  // a tab control whose controls sit on it (no pages)
  bool EditLike = false;        // a date-time control in one of its edit-like modes
  int NumButtons = -1;          // the "NumButtons" property, -1 when missing
};

// What the dispatch does with a control.
enum class TDispatchAction {
  None,
  Children,                // only its child controls
  Tab31,
  Tab,
  TabOverControls,         // a tab skinner that paints the windowless controls on it too
  TabBtn,
  TabSheet,
  Header,
  CheckBox,
  RadioButton,
  ToolBar,                 // flat, drawn by the skin through its custom-draw events, a colour box
  TrackBar,
  UpDown,
  MediaPlayer,
  BoxThenChildren,         // a colour box, then each child control dispatched alone
  ObjImage,                // with the image kind of the answer
  GroupBoxAfterChildren,   // the children first, then a group box with the colour flag
  RadioGroup,              // each child a radio button, the group a group box
  Progress,
  ComBox,
  Scrollbar,               // attached as a scrolling control
  BoxAfterChildren,        // the children first, then a colour box
  ListView,
  StatusBar,
  ScControl,
  Button,
  BitButton,
  SpeedButton,
  Edit,
  EditOfWindow,            // an edit skinner attached to the control's window handle
  DateTime,
  FormBox,                 // a form inside a form: a colour box, then its components
};

struct TDispatch {
  TDispatchAction Action = TDispatchAction::None;
  int ImageKind = 0;  // ObjImage: 1 check box, 2 radio button, 3 check box of a third kind
  bool UseColour = false;
};

// The dispatch by class name and framework kind, for a control the host's list does not
// name. Gated by the skin data's switches.
TDispatch ChooseBuiltInSkinner(const TControlFacts& control, TSkinControlTypes gates);

// The kind the host's list gives a class ("" when no line names it; the first line
// wins): a line "Class=Kind" matches the class name compared without regard to case,
// and the kind is lower-cased and at most 50 characters.
std::string ThirdPartyKind(const std::vector<std::string>& lines, const std::string& className);

// What the dispatch does for a kind of the host's list. Kinds whose work goes beyond
// one skinner (panels made transparent, radio and check groups, the scroll-bar
// families) are carried out by the caller from this answer.
enum class TThirdPartyAction {
  None,
  ComBox,
  BorderedEdit,
  RadioButton,
  TransparentPanel,
  TransparentTrackBar,
  Button,
  DateTime,
  MediaPlayer,
  CxDropDownButton,  // a menu button
  BitButton,
  PngBitButton,
  MenuButton,
  SpeedButton,
  Tab,
  Progress,
  ScrollbarAndChildren,
  SingleScrollbar,
  EmbedScrollbar,
  Children,
  GroupBox,
  AdvPage,
  RadioGroup,
  CheckGroup,
  CheckBox,
};
TThirdPartyAction ChooseThirdPartySkinner(const std::string& kind, const std::string& className,
                                          bool dropDownKind, bool skinHasTabs, TSkinControlTypes gates);

// The dispatch of a plain window by its class and style.
enum class TWindowAction { None, CheckBox, RadioButton, Button, ComBox, FirstChildComBox, Sizer, Dialog, Panel,
                           SilentPanel, Progress, Tab, Edit };
TWindowAction ChooseWindowSkinner(const std::string& className, unsigned style);
