// The system's web-browser control hosted in a form. Creation fails soft: without the
// control the area stays blank and navigation does nothing.
#pragma once

#include <string>

#include "Controls.h"

struct IWebBrowser2;
namespace ole {
class OleEmbedding;
}

class TWebBrowser : public TWinControl {
 public:
  explicit TWebBrowser(TComponent* owner);
  ~TWebBrowser() override;

  // True once the browser control exists inside the window.
  bool Available() const noexcept { return browser_ != nullptr; }
  // Shows that address (a local file path or URL); remembered when the control is
  // missing.
  void Navigate(const std::string& url);
  const std::string& LocationRequested() const noexcept { return location_; }
  // True when the control accepted the last navigation.
  bool NavigateAccepted() const noexcept { return accepted_; }

 protected:
  void CreateParams(TCreateParams& params) override;
  void CreateWnd() override;
  void Resized() override;

 private:
  void CloseBrowser();

  ole::OleEmbedding* embedding_ = nullptr;
  IWebBrowser2* browser_ = nullptr;
  std::string location_;
  bool accepted_ = false;
};

void RegisterOleControls();
