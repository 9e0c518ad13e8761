#include "OleCtrls.h"

#include <exdisp.h>
#include <ole2.h>
#include <oleidl.h>

namespace {
// The web-browser control's class and its automation interface.
const CLSID kWebBrowserClass = {
    0x8856F961, 0x340A, 0x11D0, {0xA9, 0x6B, 0x00, 0xC0, 0x4F, 0xD7, 0x05, 0xA2}};
const IID kWebBrowser2 = {
    0xD30C1661, 0xCDAF, 0x11D0, {0x8A, 0x3E, 0x00, 0xC0, 0x4F, 0xC9, 0xE2, 0x6E}};

bool OleReady() {
  static const bool ready = [] {
    const HRESULT hr = OleInitialize(nullptr);
    return hr == S_OK || hr == S_FALSE;
  }();
  return ready;
}
}  // namespace

// The container side that an embedded control talks to: client site, in-place site and
// frame, one object. It lives as long as the control holds a reference.
class TWebBrowser::TSite : public IOleClientSite, public IOleInPlaceSite, public IOleInPlaceFrame {
 public:
  explicit TSite(HWND window) : window_(window) {}
  virtual ~TSite() = default;

  void Detach() { window_ = nullptr; }

  // IUnknown
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** out) override {
    if (!out) return E_POINTER;
    *out = nullptr;
    if (riid == IID_IUnknown || riid == IID_IOleClientSite)
      *out = static_cast<IOleClientSite*>(this);
    else if (riid == IID_IOleWindow || riid == IID_IOleInPlaceSite)
      *out = static_cast<IOleInPlaceSite*>(this);
    else if (riid == IID_IOleInPlaceUIWindow || riid == IID_IOleInPlaceFrame)
      *out = static_cast<IOleInPlaceFrame*>(this);
    else
      return E_NOINTERFACE;
    AddRef();
    return S_OK;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return ++refs_; }
  ULONG STDMETHODCALLTYPE Release() override {
    const ULONG n = --refs_;
    if (n == 0) delete this;
    return n;
  }

  // IOleClientSite
  HRESULT STDMETHODCALLTYPE SaveObject() override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetMoniker(DWORD, DWORD, IMoniker** m) override {
    if (m) *m = nullptr;
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE GetContainer(IOleContainer** c) override {
    if (c) *c = nullptr;
    return E_NOINTERFACE;
  }
  HRESULT STDMETHODCALLTYPE ShowObject() override { return S_OK; }
  HRESULT STDMETHODCALLTYPE OnShowWindow(BOOL) override { return S_OK; }
  HRESULT STDMETHODCALLTYPE RequestNewObjectLayout() override { return E_NOTIMPL; }

  // IOleWindow (for the in-place site and the frame alike)
  HRESULT STDMETHODCALLTYPE GetWindow(HWND* w) override {
    if (!w) return E_POINTER;
    *w = window_;
    return window_ ? S_OK : E_FAIL;
  }
  HRESULT STDMETHODCALLTYPE ContextSensitiveHelp(BOOL) override { return E_NOTIMPL; }

  // IOleInPlaceSite
  HRESULT STDMETHODCALLTYPE CanInPlaceActivate() override { return window_ ? S_OK : S_FALSE; }
  HRESULT STDMETHODCALLTYPE OnInPlaceActivate() override { return S_OK; }
  HRESULT STDMETHODCALLTYPE OnUIActivate() override { return S_OK; }
  HRESULT STDMETHODCALLTYPE GetWindowContext(IOleInPlaceFrame** frame, IOleInPlaceUIWindow** doc,
                                             LPRECT pos, LPRECT clip,
                                             LPOLEINPLACEFRAMEINFO info) override {
    if (frame) {
      *frame = this;
      AddRef();
    }
    if (doc) *doc = nullptr;
    RECT r{0, 0, 0, 0};
    if (window_) GetClientRect(window_, &r);
    if (pos) *pos = r;
    if (clip) *clip = r;
    if (info) {
      info->fMDIApp = FALSE;
      info->hwndFrame = window_ ? GetAncestor(window_, GA_ROOT) : nullptr;
      info->haccel = nullptr;
      info->cAccelEntries = 0;
    }
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE Scroll(SIZE) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE OnUIDeactivate(BOOL) override { return S_OK; }
  HRESULT STDMETHODCALLTYPE OnInPlaceDeactivate() override { return S_OK; }
  HRESULT STDMETHODCALLTYPE DiscardUndoState() override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE DeactivateAndUndo() override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE OnPosRectChange(LPCRECT) override { return S_OK; }

  // IOleInPlaceUIWindow / IOleInPlaceFrame: no menus or tool space to share.
  HRESULT STDMETHODCALLTYPE GetBorder(LPRECT) override { return INPLACE_E_NOTOOLSPACE; }
  HRESULT STDMETHODCALLTYPE RequestBorderSpace(LPCBORDERWIDTHS) override {
    return INPLACE_E_NOTOOLSPACE;
  }
  HRESULT STDMETHODCALLTYPE SetBorderSpace(LPCBORDERWIDTHS) override { return S_OK; }
  HRESULT STDMETHODCALLTYPE SetActiveObject(IOleInPlaceActiveObject*, LPCOLESTR) override {
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE InsertMenus(HMENU, LPOLEMENUGROUPWIDTHS) override { return S_OK; }
  HRESULT STDMETHODCALLTYPE SetMenu(HMENU, HOLEMENU, HWND) override { return S_OK; }
  HRESULT STDMETHODCALLTYPE RemoveMenus(HMENU) override { return S_OK; }
  HRESULT STDMETHODCALLTYPE SetStatusText(LPCOLESTR) override { return S_OK; }
  HRESULT STDMETHODCALLTYPE EnableModeless(BOOL) override { return S_OK; }
  HRESULT STDMETHODCALLTYPE TranslateAccelerator(LPMSG, WORD) override { return S_FALSE; }

 private:
  HWND window_;
  ULONG refs_ = 1;
};

TWebBrowser::TWebBrowser(TComponent* owner) : TWinControl(owner) {
  SetColor(clWhite);
}

TWebBrowser::~TWebBrowser() {
  CloseBrowser();
}

void TWebBrowser::CloseBrowser() {
  if (browser_) browser_->Release();
  browser_ = nullptr;
  if (ole_) {
    ole_->Close(OLECLOSE_NOSAVE);
    ole_->SetClientSite(nullptr);
    ole_->Release();
  }
  ole_ = nullptr;
  if (site_) {
    site_->Detach();
    site_->Release();
  }
  site_ = nullptr;
}

void TWebBrowser::CreateWnd() {
  TWinControl::CreateWnd();
  if (!OleReady()) return;
  IOleObject* ole = nullptr;
  if (FAILED(CoCreateInstance(kWebBrowserClass, nullptr, CLSCTX_INPROC_SERVER, IID_IOleObject,
                              reinterpret_cast<void**>(&ole))) ||
      !ole)
    return;
  ole_ = ole;
  site_ = new TSite(handle_);
  RECT r;
  GetClientRect(handle_, &r);
  IWebBrowser2* browser = nullptr;
  if (FAILED(ole_->SetClientSite(site_)) ||
      FAILED(ole_->DoVerb(OLEIVERB_INPLACEACTIVATE, nullptr, site_, 0, handle_, &r)) ||
      FAILED(ole_->QueryInterface(kWebBrowser2, reinterpret_cast<void**>(&browser))) || !browser) {
    CloseBrowser();
    return;
  }
  browser_ = browser;
  // Never a dialog of the browser's own (script errors, downloads, installers).
  browser_->put_Silent(VARIANT_TRUE);
  if (!location_.empty()) Navigate(location_);
}

void TWebBrowser::Resized() {
  if (!ole_) return;
  IOleInPlaceObject* inplace = nullptr;
  if (SUCCEEDED(ole_->QueryInterface(IID_IOleInPlaceObject, reinterpret_cast<void**>(&inplace))) &&
      inplace) {
    RECT r;
    GetClientRect(handle_, &r);
    inplace->SetObjectRects(&r, &r);
    inplace->Release();
  }
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
