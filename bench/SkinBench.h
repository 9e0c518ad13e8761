// What the control-skinner benchmarks share: the skin engine started with the program's
// default skin (SkinItem2), a form skinner to register with and a shown form that holds
// the controls. Targets that include this define ZV_SKINS_DIR.
#pragma once

#include "ShippedSkins.h"
#include "SkinDrawWin.h"
#include "WinSkinData.h"
#include "WinSkinForm.h"
#include "forms/Forms.h"

namespace bench {

struct SkinBenchHost {
  // Ready is false when the skin cannot be read.
  SkinBenchHost(int width, int height) {
    Ready = LoadShippedSkin(2, Data);
    RegisterFormsClasses();
    Form.SetClientSize(width, height);
    ShowWindow(Form.Handle(), SW_SHOWNOACTIVATE);
  }
  ~SkinBenchHost() { ShowWindow(Form.Handle(), SW_HIDE); }
  SkinBenchHost(const SkinBenchHost&) = delete;
  SkinBenchHost& operator=(const SkinBenchHost&) = delete;

  // Attaches a control skinner, owned by its control, as the dispatch does.
  template <class S>
  void Skin(TWinControl* control) {
    (new S(control))->AttachControl(&SkinForm, &Data, SkinForm.FControlCanvas.get(), false);
  }

  struct Engine {
    Engine() {
      InitSkinData();
      InitSkinDraw();
    }
    ~Engine() {
      DoneSkinDraw();
      DoneSkinData();
    }
  };
  TApplication App;
  Engine Started;
  TSkinData Data{nullptr};
  TWinSkinForm SkinForm{nullptr};
  TForm Form{nullptr};
  bool Ready = false;
};

}  // namespace bench
