#include "AxHost.h"

#include <ole2.h>

#include <string>

namespace {

// The site through which a hosted control talks to its container: just enough for
// in-place activation inside the host window, nothing more (no menus, no borders).
class Site final : public IOleClientSite, public IOleInPlaceSite, public IOleInPlaceFrame {
 public:
  explicit Site(HWND host) : host_(host) {}

  // IUnknown
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** out) override {
    if (!out) return E_POINTER;
    if (riid == IID_IUnknown || riid == IID_IOleClientSite) {
      *out = static_cast<IOleClientSite*>(this);
    } else if (riid == IID_IOleWindow || riid == IID_IOleInPlaceSite) {
      *out = static_cast<IOleInPlaceSite*>(this);
    } else if (riid == IID_IOleInPlaceFrame || riid == IID_IOleInPlaceUIWindow) {
      *out = static_cast<IOleInPlaceFrame*>(this);
    } else {
      *out = nullptr;
      return E_NOINTERFACE;
    }
    AddRef();
    return S_OK;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return ULONG(InterlockedIncrement(&refs_)); }
  ULONG STDMETHODCALLTYPE Release() override {
    const LONG n = InterlockedDecrement(&refs_);
    if (n == 0) delete this;
    return ULONG(n);
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

  // IOleWindow (shared by the in-place site and the frame)
  HRESULT STDMETHODCALLTYPE GetWindow(HWND* w) override {
    if (!w) return E_POINTER;
    *w = host_;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE ContextSensitiveHelp(BOOL) override { return E_NOTIMPL; }

  // IOleInPlaceSite
  HRESULT STDMETHODCALLTYPE CanInPlaceActivate() override { return S_OK; }
  HRESULT STDMETHODCALLTYPE OnInPlaceActivate() override { return S_OK; }
  HRESULT STDMETHODCALLTYPE OnUIActivate() override { return S_OK; }
  HRESULT STDMETHODCALLTYPE GetWindowContext(IOleInPlaceFrame** frame, IOleInPlaceUIWindow** doc, LPRECT pos,
                                             LPRECT clip, LPOLEINPLACEFRAMEINFO info) override {
    if (frame) {
      *frame = this;
      AddRef();
    }
    if (doc) *doc = nullptr;
    if (pos) ::GetClientRect(host_, pos);
    if (clip) ::GetClientRect(host_, clip);
    if (info) {
      info->fMDIApp = FALSE;
      info->hwndFrame = GetAncestor(host_, GA_ROOT);
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

  // IOleInPlaceUIWindow and IOleInPlaceFrame: no tool space, no menus.
  HRESULT STDMETHODCALLTYPE GetBorder(LPRECT) override { return INPLACE_E_NOTOOLSPACE; }
  HRESULT STDMETHODCALLTYPE RequestBorderSpace(LPCBORDERWIDTHS) override { return INPLACE_E_NOTOOLSPACE; }
  HRESULT STDMETHODCALLTYPE SetBorderSpace(LPCBORDERWIDTHS) override { return S_OK; }
  HRESULT STDMETHODCALLTYPE SetActiveObject(IOleInPlaceActiveObject*, LPCOLESTR) override { return S_OK; }
  HRESULT STDMETHODCALLTYPE InsertMenus(HMENU, LPOLEMENUGROUPWIDTHS) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE SetMenu(HMENU, HOLEMENU, HWND) override { return S_OK; }
  HRESULT STDMETHODCALLTYPE RemoveMenus(HMENU) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE SetStatusText(LPCOLESTR) override { return S_OK; }
  HRESULT STDMETHODCALLTYPE EnableModeless(BOOL) override { return S_OK; }
  HRESULT STDMETHODCALLTYPE TranslateAccelerator(LPMSG, WORD) override { return S_FALSE; }

 private:
  ~Site() = default;
  LONG refs_ = 1;
  HWND host_;
};

struct Hosted {
  Site* site = nullptr;
  IOleObject* object = nullptr;
};

Hosted* StateOf(HWND hwnd) { return reinterpret_cast<Hosted*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA)); }

void Embed(HWND hwnd, Hosted* state) {
  const int n = GetWindowTextLengthW(hwnd);
  std::wstring text(std::size_t(n) + 1, L'\0');
  GetWindowTextW(hwnd, text.data(), n + 1);
  CLSID clsid;
  if (FAILED(CLSIDFromString(text.c_str(), &clsid))) return;
  IOleObject* object = nullptr;
  if (FAILED(CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, IID_IOleObject,
                              reinterpret_cast<void**>(&object))) ||
      !object)
    return;
  state->site = new Site(hwnd);
  state->object = object;
  object->SetClientSite(state->site);
  RECT r;
  GetClientRect(hwnd, &r);
  if (FAILED(object->DoVerb(OLEIVERB_INPLACEACTIVATE, nullptr, state->site, 0, hwnd, &r))) {
    object->SetClientSite(nullptr);
    object->Release();
    state->object = nullptr;
  }
}

void Unembed(Hosted* state) {
  if (state->object) {
    state->object->Close(OLECLOSE_NOSAVE);
    state->object->SetClientSite(nullptr);
    state->object->Release();
    state->object = nullptr;
  }
  if (state->site) state->site->Release();
  state->site = nullptr;
}

LRESULT CALLBACK HostProc(HWND hwnd, UINT msg, WPARAM w, LPARAM l) {
  try {
    switch (msg) {
      case WM_CREATE: {
        auto* state = new Hosted;
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, LONG_PTR(state));
        Embed(hwnd, state);
        return 0;
      }
      case WM_SIZE: {
        Hosted* state = StateOf(hwnd);
        IOleInPlaceObject* inplace = nullptr;
        if (state && state->object &&
            SUCCEEDED(state->object->QueryInterface(IID_IOleInPlaceObject, reinterpret_cast<void**>(&inplace)))) {
          RECT r;
          GetClientRect(hwnd, &r);
          inplace->SetObjectRects(&r, &r);
          inplace->Release();
        }
        return 0;
      }
      case WM_ERASEBKGND:
        // An empty host (no control) shows white, the colour of an empty page.
        if (Hosted* state = StateOf(hwnd); state && !state->object) {
          RECT r;
          GetClientRect(hwnd, &r);
          FillRect(HDC(w), &r, HBRUSH(GetStockObject(WHITE_BRUSH)));
          return 1;
        }
        break;
      case WM_DESTROY:
        if (Hosted* state = StateOf(hwnd)) {
          Unembed(state);
          SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
          delete state;
        }
        return 0;
      default:
        break;
    }
  } catch (...) {
    return 0;
  }
  return DefWindowProcW(hwnd, msg, w, l);
}

}  // namespace

bool RegisterAxHost() {
  static bool oleReady = SUCCEEDED(OleInitialize(nullptr));
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof wc;
  if (GetClassInfoExW(GetModuleHandleW(nullptr), AXHOST_CLASS, &wc)) return oleReady;
  wc = {};
  wc.cbSize = sizeof wc;
  wc.lpfnWndProc = HostProc;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512));
  wc.lpszClassName = AXHOST_CLASS;
  return RegisterClassExW(&wc) != 0 && oleReady;
}

HWND CreateAxWindow(const wchar_t* clsid, DWORD style, const RECT& r, HWND parent, int id) {
  RegisterAxHost();
  return CreateWindowExW(0, AXHOST_CLASS, clsid, style, r.left, r.top, r.right - r.left, r.bottom - r.top, parent,
                         reinterpret_cast<HMENU>(INT_PTR(id)), GetModuleHandleW(nullptr), nullptr);
}

IDispatch* AxHostDispatch(HWND host) {
  Hosted* state = IsWindow(host) ? StateOf(host) : nullptr;
  if (!state || !state->object) return nullptr;
  IDispatch* dispatch = nullptr;
  if (FAILED(state->object->QueryInterface(IID_IDispatch, reinterpret_cast<void**>(&dispatch)))) return nullptr;
  return dispatch;
}
