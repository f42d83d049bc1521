// Bands of the public automation classes, used the way any client uses them: by ProgID.
#include <windows.h>
#include <oleauto.h>

#include <string>

#include <wrl/client.h>

#include "gallery/Gallery.h"
#include "server/contract/ComOwners.h"

namespace tessel::gallery {

namespace {

VARIANT Text(const wchar_t* s) {
  VARIANT v;
  V_VT(&v) = VT_BSTR;
  V_BSTR(&v) = SysAllocString(s);
  return v;
}
VARIANT Small(short n) {
  VARIANT v;
  V_VT(&v) = VT_I2;
  V_I2(&v) = n;
  return v;
}
VARIANT Object(IDispatch* d) {
  VARIANT v;
  V_VT(&v) = VT_DISPATCH;
  V_DISPATCH(&v) = d;
  d->AddRef();   // the call releases its arguments
  return v;
}

std::wstring Failure(const wchar_t* what, HRESULT hr) {
  wchar_t text[160];
  wsprintfW(text, L"%s failed (0x%08X): is TesselOCX.ocx registered?", what, static_cast<unsigned>(hr));
  return text;
}

// Attaches a tip to a window through a new CBalloonToolTip; the object lives until the gallery closes.
HRESULT AttachTip(SectionArea& area, HWND target, bool balloon, const wchar_t* text, const wchar_t* title, short icon) {
  Microsoft::WRL::ComPtr<IDispatch> tip;
  HRESULT hr = CreateByProgId(L"TesselOCX.CBalloonToolTip", tip.GetAddressOf());
  if (FAILED(hr)) return hr;
  Microsoft::WRL::ComPtr<IDispatch> parent;
  parent.Attach(NewWindowObject(target));
  hr = CallByName(tip.Get(), balloon ? L"CreateBalloon" : L"CreateTip", DISPATCH_METHOD,
                  {Object(parent.Get()), Text(text), Text(title), Small(icon)}, nullptr);
  area.OnClose([tip] {
    // The window belongs to its owner; Remove takes it away before the owner goes.
    CallByName(tip.Get(), L"Remove", DISPATCH_METHOD, {}, nullptr);
  });
  return hr;
}

}  // namespace

void AddToolTipSection(SectionArea& area) {
  // Far enough apart for both tips to show side by side in the screenshot.
  HWND standard = area.AddButton(L"Standard tip", 0, 0, 130, 28);
  HWND balloon = area.AddButton(L"Balloon tip", 250, 0, 130, 28);
  area.AddText(L"Rest the pointer on a button to see its tip.", 396, 6, 230, 20);
  HRESULT hr = AttachTip(area, standard, false, L"A standard tip: plain text, no icon.\r\nA second line.", L"", 0);
  if (SUCCEEDED(hr))
    hr = AttachTip(area, balloon, true,
                   L"A balloon tip with a title and the information icon. Long texts wrap at 300 pixels.",
                   L"Balloon", 1);
  if (FAILED(hr)) area.AddText(Failure(L"Creating the tooltips", hr), 0, 36, 600, 20);
  HoverInScreenshot(standard);
  HoverInScreenshot(balloon);
  area.SetHeight(FAILED(hr) ? 60 : 36);
}

void AddSystemSection(SectionArea& area) {
  Microsoft::WRL::ComPtr<IDispatch> facts;
  HRESULT hr = CreateByProgId(L"TesselOCX.SOSystem", facts.GetAddressOf());
  if (FAILED(hr)) {
    area.AddText(Failure(L"Creating TesselOCX.SOSystem", hr), 0, 0, 600, 20);
    area.SetHeight(24);
    return;
  }
  struct Row { const wchar_t* label; const wchar_t* property; const wchar_t* unit; };
  const Row rows[] = {{L"Total memory", L"TotalMemory", L" bytes"},
                      {L"Available memory", L"AvailableMemory", L" bytes"},
                      {L"OS version", L"OSVersion", L""},
                      {L"OS build", L"OSBuild", L""},
                      {L"OS platform", L"OSPlatform", L""},
                      {L"Processor", L"Processor", L""}};
  int y = 0;
  for (const Row& row : rows) {
    unique_variant value;
    std::wstring shown;
    if (SUCCEEDED(CallByName(facts.Get(), row.property, DISPATCH_PROPERTYGET, {}, value.get())) &&
        SUCCEEDED(VariantChangeType(value.get(), value.get(), 0, VT_BSTR))) {
      const BSTR text = V_BSTR(value.get());
      shown = std::wstring(text, SysStringLen(text)) + row.unit;
      if (std::wstring(text) == L"2147483647") shown += L" (or more)";
    } else {
      shown = L"(not available)";
    }
    area.AddText(row.label, 0, y, 140, 20);
    area.AddText(shown, 150, y, 400, 20);
    y += 22;
  }
  area.SetHeight(y);
}

}  // namespace tessel::gallery
