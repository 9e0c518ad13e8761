#include "OleCtrls.h"

#include <exdisp.h>

#include "ole/OleEmbedding.h"

namespace {
// The web-browser control's class and its automation interface.
const CLSID kWebBrowserClass = {
    0x8856F961, 0x340A, 0x11D0, {0xA9, 0x6B, 0x00, 0xC0, 0x4F, 0xD7, 0x05, 0xA2}};
const IID kWebBrowser2 = {
    0xD30C1661, 0xCDAF, 0x11D0, {0x8A, 0x3E, 0x00, 0xC0, 0x4F, 0xC9, 0xE2, 0x6E}};
}  // namespace

TWebBrowser::TWebBrowser(TComponent* owner) : TWinControl(owner) {
  SetColor(clWhite);
}

TWebBrowser::~TWebBrowser() {
  CloseBrowser();
}

void TWebBrowser::CloseBrowser() {
  if (browser_) browser_->Release();
  browser_ = nullptr;
  delete embedding_;
  embedding_ = nullptr;
}

void TWebBrowser::CreateParams(TCreateParams& params) {
  TWinControl::CreateParams(params);
  // Tab passes the page by: the focus inside it would show nowhere.
  params.ExStyle &= ~DWORD(WS_EX_CONTROLPARENT);
}

void TWebBrowser::CreateWnd() {
  TWinControl::CreateWnd();
  embedding_ = new ole::OleEmbedding(handle_, kWebBrowserClass);
  IWebBrowser2* browser = nullptr;
  if (FAILED(embedding_->Query(kWebBrowser2, reinterpret_cast<void**>(&browser))) || !browser) {
    CloseBrowser();
    return;
  }
  browser_ = browser;
  // Never a dialog of the browser's own (script errors, downloads, installers).
  browser_->put_Silent(VARIANT_TRUE);
  if (!location_.empty()) Navigate(location_);
}

void TWebBrowser::Resized() {
  if (embedding_) embedding_->Resize();
}

void TWebBrowser::Navigate(const std::string& url) {
  location_ = url;
  accepted_ = false;
  if (!browser_) return;
  BSTR address = SysAllocString(TextToWide(url).c_str());
  VARIANT empty;
  VariantInit(&empty);
  accepted_ = SUCCEEDED(browser_->Navigate(address, &empty, &empty, &empty, &empty));
  SysFreeString(address);
}

void RegisterOleControls() {
  RegisterComponentClass("TWebBrowser", "TWinControl",
                         [](TComponent* o) { return new TWebBrowser(o); });
}
