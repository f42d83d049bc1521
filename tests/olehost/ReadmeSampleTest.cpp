// The README's C++ sample of a container program, as written there, placing a button and reading
// back what it wrote through the dual interface. It runs before any other test of the program calls
// AtlAxWinInit: Wine's returns FALSE (ERROR_CLASS_ALREADY_EXISTS) when the class is registered.
#include "tests/support/Prelude.h"
#include <TesselOCXControls.h>


namespace {

// From the README, "Using the controls from an OLE container".
using CreateControlEx = HRESULT(WINAPI*)(LPCOLESTR, HWND, IStream*, IUnknown**, IUnknown**, REFIID, IUnknown*);

HRESULT PlaceButton(HWND parent, _ButtonStyle** button) {
  HMODULE atl = LoadLibraryW(L"atl100.dll");
  auto init = reinterpret_cast<BOOL(WINAPI*)()>(GetProcAddress(atl, "AtlAxWinInit"));
  auto create = reinterpret_cast<CreateControlEx>(GetProcAddress(atl, "AtlAxCreateControlEx"));
  if (!init || !create || !init()) return E_FAIL;
  HWND host = CreateWindowExW(0, L"AtlAxWin100", L"", WS_CHILD | WS_VISIBLE, 10, 10, 97, 33, parent, nullptr,
                              nullptr, nullptr);
  IUnknown *container = nullptr, *control = nullptr;
  HRESULT hr = create(L"TesselOCX.ButtonStyle", host, nullptr, &container, &control, IID_NULL, nullptr);
  if (FAILED(hr)) return hr;
  hr = control->QueryInterface(__uuidof(_ButtonStyle), reinterpret_cast<void**>(button));  // the dual interface
  control->Release();
  container->Release();
  if (FAILED(hr)) return hr;
  BSTR caption = SysAllocString(L"&Gravar");
  hr = (*button)->put_Caption(caption);  // or IDispatch::Invoke by name, as a script would
  SysFreeString(caption);
  return hr;
}

TEST(ReadmeSample, PlacesAButtonAndWritesItsCaptionThroughTheDualInterface) {
  HWND parent = CreateWindowExW(WS_EX_TOOLWINDOW, L"Static", L"", WS_POPUP | WS_VISIBLE, 0, 0, 200, 80, nullptr,
                                nullptr, nullptr, nullptr);
  _ButtonStyle* button = nullptr;
  ASSERT_EQ(PlaceButton(parent, &button), S_OK);
  BSTR caption = nullptr;
  EXPECT_EQ(button->get_Caption(&caption), S_OK);
  EXPECT_STREQ(caption, L"&Gravar");
  SysFreeString(caption);
  LONG window = 0;
  EXPECT_EQ(button->get_hWnd(&window), S_OK);
  EXPECT_TRUE(IsChild(parent, reinterpret_cast<HWND>(static_cast<LONG_PTR>(window))));
  button->Release();
  DestroyWindow(parent);
}

}  // namespace
