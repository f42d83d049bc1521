#include <cstring>
#include <stdexcept>
#include <string>

#include "host/DragSource.h"
#include "tests/button/ButtonHarness.h"

namespace tessel::test::button {
namespace {

using DragDrop = ButtonTest;
using std::to_wstring;

// A text value (TYMED_NULL offers the format without data) and reading one back.
void PutText(IDataObject* data, CLIPFORMAT format, const wchar_t* text) {
  STGMEDIUM m{};
  if (text) {
    const size_t bytes = (std::wcslen(text) + 1) * sizeof(wchar_t);
    m.hGlobal = GlobalAlloc(GMEM_MOVEABLE, bytes);
    std::memcpy(GlobalLock(m.hGlobal), text, bytes);
    GlobalUnlock(m.hGlobal);
  }
  m.tymed = text ? TYMED_HGLOBAL : TYMED_NULL;
  FORMATETC f{format, nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL};
  ASSERT_EQ(data->SetData(&f, &m, TRUE), S_OK);
}
std::wstring GetText(IDataObject* data, CLIPFORMAT format) {
  FORMATETC f{format, nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL};
  STGMEDIUM m{};
  if (data->GetData(&f, &m) != S_OK) return L"(none)";
  std::wstring text(static_cast<const wchar_t*>(GlobalLock(m.hGlobal)));
  GlobalUnlock(m.hGlobal);
  ReleaseStgMedium(&m);
  return text;
}

// A drag button a starts and drops on button b, with b's drop target played by the user's part:
// a fills the data and narrows the effects in OLEStartDrag, follows the target in OLEGiveFeedback,
// supplies a format offered without data in OLESetData and hears the effect in OLECompleteDrag;
// b sees the drag enter (0), move (2), leave (1) and drop with the data, the drag's buttons and
// shift keys and pixels, and its answer goes back narrowed to what a allows.
TEST_F(DragDrop, ADragFromOneButtonToAnotherRaisesTheSixEvents) {
  ButtonStyle& a = Add(L"a", 10, 10);
  ButtonStyle& b = Add(L"b", 10, 60);
  const auto late = static_cast<CLIPFORMAT>(RegisterClipboardFormatW(L"TesselLateText"));
  a.events.OLEStartDrag = [&](IDataObject*& data, int32_t& effects) {
    log_.push_back(L"a.StartDrag(" + to_wstring(effects) + L")");
    PutText(data, CF_UNICODETEXT, L"early");
    PutText(data, late, nullptr);
    effects = DROPEFFECT_COPY | DROPEFFECT_LINK;
  };
  a.events.OLEGiveFeedback = [&](int32_t& effect, bool& defaultCursors) {
    log_.push_back(L"a.GiveFeedback(" + to_wstring(effect) + L")");
    defaultCursors = effect == DROPEFFECT_NONE;
  };
  a.events.OLESetData = [&](IDataObject*& data, int16_t& format) {
    log_.push_back(L"a.SetData" + std::wstring(format == static_cast<int16_t>(late) ? L"(late)" : L"(?)"));
    PutText(data, static_cast<CLIPFORMAT>(format), L"late");
  };
  a.events.OLECompleteDrag = [&](int32_t& effect) { log_.push_back(L"a.CompleteDrag(" + to_wstring(effect) + L")"); };
  auto args = [](int e, int button, int shift, float x, float y) {
    return to_wstring(e) + L"," + to_wstring(button) + L"," + to_wstring(shift) + L"," + to_wstring(int(x)) + L"," +
           to_wstring(int(y)) + L")";
  };
  b.events.OLEDragOver = [&](IDataObject*&, int32_t& e, int16_t& button, int16_t& shift, float& x, float& y,
                             int16_t& state) {
    log_.push_back(L"b.DragOver" + to_wstring(state) + L"(" + args(e, button, shift, x, y));
    e = DROPEFFECT_COPY | DROPEFFECT_MOVE;
  };
  b.events.OLEDragDrop = [&](IDataObject*& data, int32_t& e, int16_t& button, int16_t& shift, float& x, float& y) {
    log_.push_back(L"b.DragDrop(" + args(e, button, shift, x, y) + GetText(data, CF_UNICODETEXT) + GetText(data, late));
    e = DROPEFFECT_LINK;
  };
  auto at = [&](int x, int y) {
    POINT p{x, y};
    ClientToScreen(b.hWnd(), &p);
    return POINTL{p.x, p.y};
  };
  IDropTarget* target = form_->Site(L"b")->DropTarget();
  ASSERT_NE(target, nullptr) << "the form initialises OLE";
  host_.dragLoop = [&](IDataObject* data, IDropSource* source, DWORD allowed, DWORD* effect) {
    EXPECT_EQ(source->QueryContinueDrag(FALSE, MK_LBUTTON), S_OK);
    DWORD e = allowed;
    target->DragEnter(data, MK_LBUTTON | MK_CONTROL, at(10, 7), &e);
    EXPECT_EQ(source->GiveFeedback(e), S_OK) << "a pointer of its own";
    target->DragOver(MK_RBUTTON | MK_SHIFT | MK_ALT, at(12, 8), &(e = allowed));
    target->DragLeave();
    EXPECT_EQ(source->GiveFeedback(DROPEFFECT_NONE), DRAGDROP_S_USEDEFAULTCURSORS);
    target->DragEnter(data, MK_MBUTTON, at(1, 2), &(e = allowed));
    EXPECT_EQ(source->QueryContinueDrag(FALSE, 0), DRAGDROP_S_DROP);
    target->Drop(data, 0, at(20, 10), &(*effect = allowed));
    return DRAGDROP_S_DROP;
  };
  a.OLEDrag();
  EXPECT_EQ(TakeLog(), (Log{L"a.StartDrag(3)", L"b.DragOver0(5,1,2,10,7)", L"a.GiveFeedback(1)",
                            L"b.DragOver2(5,2,5,12,8)", L"b.DragOver1(1,2,5,12,8)", L"a.GiveFeedback(0)",
                            L"b.DragOver0(5,4,0,1,2)", L"a.SetData(late)", L"b.DragDrop(5,0,0,20,10)earlylate",
                            L"a.CompleteDrag(4)"}));
  EXPECT_EQ(host_.calls, Log{L"DoDragDrop(5)"});
}

// Refusals: a button without a drag handler, or with a failing one (reported), takes no drop; Esc
// cancels a drag and one with no effect left allowed never starts; the drop target's registration
// is given back before the window goes.
TEST_F(DragDrop, RefusedAndCancelledDrags) {
  ButtonStyle& b = Add(L"b");
  b.events.OLEDragDrop = [](IDataObject*&, int32_t&, int16_t&, int16_t&, float&, float&) {
    throw std::runtime_error("no room");
  };
  IDropTarget* target = form_->Site(L"b")->DropTarget();
  auto data = DragData::Create(nullptr);
  for (int drop = 0; drop < 2; ++drop) {
    DWORD effect = DROPEFFECT_COPY;
    drop ? target->Drop(data.Get(), 0, POINTL{}, &effect) : target->DragEnter(data.Get(), 0, POINTL{}, &effect);
    EXPECT_EQ(effect, DWORD{DROPEFFECT_NONE});
  }
  host_.dragLoop = [](IDataObject*, IDropSource* source, DWORD, DWORD*) {
    EXPECT_EQ(source->QueryContinueDrag(TRUE, MK_LBUTTON), DRAGDROP_S_CANCEL);
    return DRAGDROP_S_CANCEL;
  };
  for (int32_t allowed : {DROPEFFECT_COPY, DROPEFFECT_NONE}) {
    b.events.OLEStartDrag = [allowed](IDataObject*&, int32_t& effects) { effects = allowed; };
    b.events.OLECompleteDrag = [this](int32_t& effect) { log_.push_back(L"Complete(" + to_wstring(effect) + L")"); };
    b.OLEDrag();
  }
  EXPECT_EQ(TakeLog(), (Log{L"Complete(0)", L"Complete(0)"}));
  EXPECT_EQ(host_.calls, (Log{L"SkippedStep(b|OLEDragDrop|no room)", L"DoDragDrop(1)"}));
  const ULONG held = target->AddRef();
  form_->Remove(L"b");
  target->AddRef();
  EXPECT_LE(target->Release(), held - 2);
  target->Release();
}

}  // namespace
}  // namespace tessel::test::button
