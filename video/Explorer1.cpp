#include "Explorer1.h"

#include <oleauto.h>

#include "dialogs/AxHost.h"

const wchar_t CExplorer1::kClassId[] = L"{8856F961-340A-11D0-A96B-00C04FD705A2}";

namespace {
const DISPID kNavigate2 = 500;
}

bool CExplorer1::Create(const wchar_t*, DWORD style, const RECT& rect, HWND parent, int id) {
  HWND hwnd = CreateAxWindow(kClassId, style, rect, parent, id);
  return hwnd && SubclassWindow(hwnd);
}

bool CExplorer1::HasControl() const {
  IDispatch* dispatch = AxHostDispatch(m_hWnd);
  if (!dispatch) return false;
  dispatch->Release();
  return true;
}

bool CExplorer1::Navigate2(const std::wstring& url) {
  IDispatch* dispatch = AxHostDispatch(m_hWnd);
  if (!dispatch) return false;
  // Five by-reference variants: the address, then no value for flags, target frame,
  // post data and headers. Arguments go in reverse order.
  VARIANT address, flags, frame, postData, headers;
  for (VARIANT* v : {&address, &flags, &frame, &postData, &headers}) VariantInit(v);
  address.vt = VT_BSTR;
  address.bstrVal = SysAllocString(url.c_str());
  VARIANT refs[5];
  VARIANT* order[5] = {&headers, &postData, &frame, &flags, &address};
  for (int i = 0; i < 5; ++i) {
    VariantInit(&refs[i]);
    refs[i].vt = VT_VARIANT | VT_BYREF;
    refs[i].pvarVal = order[i];
  }
  DISPPARAMS params{refs, nullptr, 5, 0};
  const HRESULT hr =
      dispatch->Invoke(kNavigate2, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD, &params, nullptr, nullptr, nullptr);
  VariantClear(&address);
  dispatch->Release();
  return SUCCEEDED(hr);
}
