#include <cstring>
#include <stdexcept>
#include <string>

#include "host/DragSource.h"
#include "tests/button/ButtonHarness.h"

namespace tessel::test::button {
namespace {

using DragDrop = ButtonTest;

// A text value of a drag's data object.
void PutText(IDataObject* data, CLIPFORMAT format, const std::wstring& text) {
  const size_t bytes = (text.size() + 1) * sizeof(wchar_t);
  HGLOBAL value = GlobalAlloc(GMEM_MOVEABLE, bytes);
  std::memcpy(GlobalLock(value), text.c_str(), bytes);
  GlobalUnlock(value);
  FORMATETC f{format, nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL};
  STGMEDIUM m{};
  m.tymed = TYMED_HGLOBAL;
  m.hGlobal = value;
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

std::wstring N(int v) { return std::to_wstring(v); }

// The drop target on a button's window reports a drag entering, moving, leaving and dropping as
// OLEDragOver (states 0, 2, 1) and OLEDragDrop, with the data object, the effects the source
// allows, the drag's buttons and shift keys and the position in the button's pixels; what the
// handler answers goes back to the source, narrowed to what it allows.
TEST_F(DragDrop, TheDropTargetOnTheButtonsWindowRaisesTheDragEvents) {
  ButtonStyle& b = Add(L"b", 10, 10);
  IDropTarget* target = form_->Site(L"b")->DropTarget();
  ASSERT_NE(target, nullptr) << "the form initialises OLE and every control's window takes drops";
  auto data = DragData::Create(nullptr);
  PutText(data.Get(), CF_UNICODETEXT, L"dropped text");
  int32_t answer = DROPEFFECT_COPY;
  b.events.OLEDragOver = [&](IDataObject*& d, int32_t& effect, int16_t& button, int16_t& shift, float& x, float& y,
                             int16_t& state) {
    log_.push_back(L"Over(" + N(state) + L"," + N(effect) + L"," + N(button) + L"," + N(shift) + L"," +
                   N(static_cast<int>(x)) + L"," + N(static_cast<int>(y)) + L")" +
                   (d == data.Get() ? L"" : L" other data"));
    effect = answer;
  };
  b.events.OLEDragDrop = [&](IDataObject*& d, int32_t& effect, int16_t& button, int16_t& shift, float& x, float& y) {
    log_.push_back(L"Drop(" + N(effect) + L"," + N(button) + L"," + N(shift) + L"," + N(static_cast<int>(x)) + L"," +
                   N(static_cast<int>(y)) + L"," + GetText(d, CF_UNICODETEXT) + L")");
    effect = answer;
  };
  auto at = [&](int x, int y) {
    POINT p{x, y};
    ClientToScreen(b.hWnd(), &p);
    return POINTL{p.x, p.y};
  };
  const DWORD both = DROPEFFECT_COPY | DROPEFFECT_MOVE;
  DWORD effect = both;
  ASSERT_EQ(target->DragEnter(data.Get(), MK_LBUTTON | MK_CONTROL, at(10, 7), &effect), S_OK);
  EXPECT_EQ(effect, DWORD{DROPEFFECT_COPY});
  answer = DROPEFFECT_MOVE | DROPEFFECT_LINK;  // more than the source allows
  effect = both;
  target->DragOver(MK_RBUTTON | MK_SHIFT | MK_ALT, at(12, 8), &effect);
  EXPECT_EQ(effect, DWORD{DROPEFFECT_MOVE});
  target->DragLeave();
  effect = both;
  target->DragEnter(data.Get(), MK_MBUTTON, at(1, 2), &effect);
  answer = DROPEFFECT_COPY;
  effect = both;
  target->Drop(data.Get(), 0, at(20, 10), &effect);
  EXPECT_EQ(effect, DWORD{DROPEFFECT_COPY});
  EXPECT_EQ(TakeLog(), (Log{L"Over(0,3,1,2,10,7)", L"Over(2,3,2,5,12,8)", L"Over(1,2,2,5,12,8)", L"Over(0,3,4,0,1,2)",
                            L"Drop(3,0,0,20,10,dropped text)"}));

  // Without handlers the button takes no drop; a handler that fails refuses it and is reported.
  b.events.OLEDragOver = nullptr;
  b.events.OLEDragDrop = nullptr;
  effect = both;
  target->DragEnter(data.Get(), MK_LBUTTON, at(5, 5), &effect);
  EXPECT_EQ(effect, DWORD{DROPEFFECT_NONE});
  b.events.OLEDragDrop = [](IDataObject*&, int32_t&, int16_t&, int16_t&, float&, float&) {
    throw std::runtime_error("no room");
  };
  effect = both;
  target->Drop(data.Get(), 0, at(5, 5), &effect);
  EXPECT_EQ(effect, DWORD{DROPEFFECT_NONE});
  EXPECT_EQ(host_.calls, Log{L"SkippedStep(b|OLEDragDrop|no room)"});

  // The registration goes before the window: its reference and the window's own are given back.
  const ULONG held = target->AddRef();
  form_->Remove(L"b");
  target->AddRef();
  EXPECT_LE(target->Release(), held - 2);
  target->Release();
}

// A drag the button starts: it fills the data and narrows the effects in OLEStartDrag, follows the
// target's feedback, supplies a format offered without data when the target asks for it, and
// hears the effect performed, here with another button's drop target as the target.
TEST_F(DragDrop, ADragFromTheButtonRaisesTheSourceEventsAroundTheDrop) {
  ButtonStyle& a = Add(L"a", 10, 10);
  ButtonStyle& b = Add(L"b", 10, 60);
  const auto late = static_cast<CLIPFORMAT>(RegisterClipboardFormatW(L"TesselLateText"));
  a.events.OLEStartDrag = [&](IDataObject*& data, int32_t& allowed) {
    log_.push_back(L"a.StartDrag(" + N(allowed) + L")");
    PutText(data, CF_UNICODETEXT, L"early");
    FORMATETC f{late, nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL};
    STGMEDIUM none{};
    none.tymed = TYMED_NULL;
    data->SetData(&f, &none, FALSE);
    allowed = DROPEFFECT_COPY;
  };
  a.events.OLEGiveFeedback = [&](int32_t& effect, bool& defaultCursors) {
    log_.push_back(L"a.GiveFeedback(" + N(effect) + L")");
    defaultCursors = effect == DROPEFFECT_NONE;
  };
  a.events.OLESetData = [&](IDataObject*& data, int16_t& format) {
    log_.push_back(std::wstring(L"a.SetData") + (format == static_cast<int16_t>(late) ? L"(late)" : L"(?)"));
    PutText(data, static_cast<CLIPFORMAT>(format), L"late");
  };
  a.events.OLECompleteDrag = [&](int32_t& effect) { log_.push_back(L"a.CompleteDrag(" + N(effect) + L")"); };
  b.events.OLEDragOver = [&](IDataObject*&, int32_t& effect, int16_t&, int16_t&, float&, float&, int16_t& state) {
    log_.push_back(L"b.DragOver(" + N(state) + L"," + N(effect) + L")");
  };
  b.events.OLEDragDrop = [&](IDataObject*& data, int32_t& effect, int16_t&, int16_t&, float&, float&) {
    log_.push_back(L"b.DragDrop(" + GetText(data, CF_UNICODETEXT) + L"," + GetText(data, late) + L")");
  };
  IDropTarget* target = form_->Site(L"b")->DropTarget();
  ASSERT_NE(target, nullptr);
  // The user's part: over b with the left button down, then the release drops.
  host_.dragLoop = [&](IDataObject* data, IDropSource* source, DWORD allowed, DWORD* effect) {
    EXPECT_EQ(source->QueryContinueDrag(FALSE, MK_LBUTTON), S_OK);
    POINTL p{0, 0};
    DWORD e = allowed;
    target->DragEnter(data, MK_LBUTTON, p, &e);
    EXPECT_EQ(source->GiveFeedback(e), S_OK) << "a pointer of its own";
    EXPECT_EQ(source->GiveFeedback(DROPEFFECT_NONE), DRAGDROP_S_USEDEFAULTCURSORS);
    EXPECT_EQ(source->QueryContinueDrag(FALSE, 0), DRAGDROP_S_DROP);
    e = allowed;
    target->Drop(data, 0, p, &e);
    *effect = e;
    return DRAGDROP_S_DROP;
  };
  a.OLEDrag();
  EXPECT_EQ(TakeLog(), (Log{L"a.StartDrag(3)", L"b.DragOver(0,1)", L"a.GiveFeedback(1)", L"a.GiveFeedback(0)",
                            L"a.SetData(late)", L"b.DragDrop(early,late)", L"a.CompleteDrag(1)"}));
  EXPECT_EQ(host_.calls, Log{L"DoDragDrop(1)"});

  // Esc cancels; a drag with no effect left allowed never starts.
  const struct {
    int32_t allowed;
    Log calls;
  } cancels[] = {{DROPEFFECT_COPY, {L"DoDragDrop(1)"}}, {DROPEFFECT_NONE, {}}};
  for (const auto& c : cancels) {
    host_.calls.clear();
    a.events.OLEStartDrag = [&](IDataObject*&, int32_t& allowed) { allowed = c.allowed; };
    host_.dragLoop = [](IDataObject*, IDropSource* source, DWORD, DWORD* effect) {
      EXPECT_EQ(source->QueryContinueDrag(TRUE, MK_LBUTTON), DRAGDROP_S_CANCEL);
      *effect = DROPEFFECT_NONE;
      return DRAGDROP_S_CANCEL;
    };
    a.OLEDrag();
    EXPECT_EQ(TakeLog(), Log{L"a.CompleteDrag(0)"}) << c.allowed;
    EXPECT_EQ(host_.calls, c.calls);
  }
}

}  // namespace
}  // namespace tessel::test::button
