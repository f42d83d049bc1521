#pragma once
// ButtonStyle: a push, check or option button in one of eight visual styles, with hover colours,
// gradients, caption effects, a picture and shaped outlines. Every property write and every
// notification ends in the redraw dispatcher, which paints the button into its back buffer through
// the renderer of its style and copies the finished frame to the window in one block transfer.
#include <windows.h>
#include <ole2.h>

#include <cstdint>
#include <functional>
#include <string>

#include "button/ButtonState.h"
#include "host/Events.h"
#include "server/contract/PropertyTable.h"
#include "server/contract/UserControl.h"

namespace tessel {

class ButtonStyle final : public UserControl {
 public:
  static constexpr UINT_PTR kHoverTimerId = 237;
  static constexpr UINT kHoverPeriodMs = 50;

  explicit ButtonStyle(ControlSite& site);
  ~ButtonStyle() override;
  std::wstring_view TypeName() const override { return L"ButtonStyle"; }
  void Describe(AccessibleDescription& d) const override;

  // Handlers.
  void InitProperties() override;
  void ReadProperties(PropertyBag& bag) override;
  void WriteProperties(PropertyBag& bag) override;
  void Resize() override;
  void Paint(HDC dc) override;
  void AmbientChanged(std::wstring_view name) override;
  void SystemLookChanged() override;
  void Terminate() override;
  std::wstring AccessKeys() const override { return accessKey_; }
  void AccessKeyPress(wchar_t key) override;
  void MouseDown(int16_t button, int16_t shift, float x, float y) override;
  void MouseMove(int16_t button, int16_t shift, float x, float y) override;
  void MouseUp(int16_t button, int16_t shift, float x, float y) override;
  void Click() override;
  void DblClick() override;
  void KeyDown(int16_t& keyCode, int16_t& shift) override;
  void KeyPress(int16_t& keyAscii) override;
  void KeyUp(int16_t& keyCode, int16_t& shift) override;
  void GotFocus() override;
  void LostFocus() override;
  void KeyboardCuesChanged() override;
  bool CanGetFocus() const override { return true; }
  // A focused push button takes Enter and is shown as the default button meanwhile.
  bool TakesEnter() const override { return s_.mode == modeCommand; }
  HWND OptionGroupWindow() const override { return joinedGroup_ ? s_.containerWindow : nullptr; }
  bool OptionSelected() const override { return s_.value; }
  // The container's show notification; its only effect is at design time.
  void Show() override;
  // The container's drag-and-drop notifications, raised as the events of the same names with the
  // position in pixels. A button without a handler for OLEDragOver or OLEDragDrop takes no drop.
  void OLEDragOver(IDataObject*& data, int32_t& effect, int16_t& button, int16_t& shift, float& x, float& y,
                   int16_t& state) override;
  void OLEDragDrop(IDataObject*& data, int32_t& effect, int16_t& button, int16_t& shift, float& x,
                   float& y) override;
  void OLEStartDrag(IDataObject*& data, int32_t& allowedEffects) override;
  void OLEGiveFeedback(int32_t& effect, bool& defaultCursors) override;
  void OLESetData(IDataObject*& data, int16_t& dataFormat) override;
  void OLECompleteDrag(int32_t& effect) override;

  // Properties (reads return the model or the host's value; writes check, store, tell the
  // container under the bag key and redraw or lay out).
  int32_t GetButtonStyle() const { return s_.buttonStyle; }
  void SetButtonStyle(int32_t style);
  int32_t Mode() const { return s_.mode; }
  void SetMode(int32_t mode);
  const std::wstring& Caption() const { return s_.caption; }
  void SetCaption(const std::wstring& caption);
  int32_t CaptionAlign() const { return s_.captionAlign; }
  void SetCaptionAlign(int32_t align);
  int32_t CaptionStyle() const { return s_.captionStyle; }
  void SetCaptionStyle(int32_t style);
  int32_t CustomClick() const { return s_.customClick; }
  void SetCustomClick(int32_t click);
  int32_t ButtonShape() const { return s_.buttonShape; }
  void SetButtonShape(int32_t shape);
  PictureRef Picture() const { return s_.picture; }
  void SetPicture(const PictureRef& picture);
  int32_t PictureAlign() const { return s_.pictureAlign; }
  void SetPictureAlign(int32_t align);
  bool Enabled() const { return UserControl::Enabled(); }
  void SetEnabled(bool enabled);
  bool ShowFocusRect() const { return s_.showFocusRect; }
  void SetShowFocusRect(bool show);
  bool Value() const { return s_.value; }
  void SetValue(bool value);
  int32_t PictureSize();
  void SetPictureSize(int32_t size);
  int32_t MousePointer() const;
  void SetMousePointer(int32_t pointer);
  PictureRef MouseIcon() const;
  void SetMouseIcon(const PictureRef& icon);
  FontRef Font() const;
  void SetFont(const FontRef& font);
  int32_t FontStyle() const;
  void SetFontStyle(int32_t style);
  OleColor ForeColor() const;
  void SetForeColor(OleColor color);
  OleColor BackColor() const { return s_.backColor; }
  void SetBackColor(OleColor color);
  OleColor GradientColor() const { return s_.gradientColor; }
  void SetGradientColor(OleColor color);
  int32_t GradientMode() const { return s_.gradientMode; }
  void SetGradientMode(int32_t mode);
  bool ResetDefaultColors() const { return false; }
  void SetResetDefaultColors(bool reset);
  int32_t HoverColorLocks() const { return s_.hoverColorLocks; }
  void SetHoverColorLocks(int32_t locks);
  OleColor HoverForeColor() const { return s_.hoverForeColor; }
  void SetHoverForeColor(OleColor color);
  OleColor HoverBackColor() const { return s_.hoverBackColor; }
  void SetHoverBackColor(OleColor color);
  HDC hdc() const { return s_.memDC.get(); }
  void SetDelayDrawing(bool delay);
  void Refresh();

  // What the pointer and the keyboard can leave a button showing: under the pointer, held down,
  // held and dragged off, marked as the default (focused) button. ShowLook shows the button so
  // without a pointer, a capture or a timer (galleries, previews, pictures for a manual); the
  // next pointer, key or focus change takes over from it.
  enum class Look { Rest, Hot, Pressed, DraggedOff, Default };
  void ShowLook(Look look);

  // The redraw dispatcher: the style's renderer paints the back buffer, which is copied to dc (the
  // window's own DC when null), and shaped outlines are framed.
  void Redraw(HDC dc = nullptr);
  // The option group on the container window: 0 clears the others, 1 joins, -1 leaves, 2 asks
  // whether any member is selected.
  bool OptionGroup(int16_t action);
  // Called by the hover timer: ends hover tracking once the cursor is over another window.
  void CheckHover(UINT_PTR timerId);

  const ButtonState& State() const { return s_; }
  // A paint context over the live state (for the shape builder, the layout and tests).
  ButtonPaint MakePaint(HDC target = nullptr);

  struct Events {
    MouseEvent MouseDown;
    MouseEvent MouseUp;
    MouseEvent MouseMove;
    KeyEvent KeyDown;
    KeyPressEvent KeyPress;
    KeyEvent KeyUp;
    std::function<void(bool& onButton)> MouseOnButton;
    NotifyEvent Click;
    std::function<void(int16_t& button)> DoubleClick;
    std::function<void(int32_t& effect)> OLECompleteDrag;
    std::function<void(IDataObject*& data, int32_t& effect, int16_t& button, int16_t& shift, float& x, float& y)>
        OLEDragDrop;
    std::function<void(IDataObject*& data, int32_t& effect, int16_t& button, int16_t& shift, float& x, float& y,
                       int16_t& state)>
        OLEDragOver;
    std::function<void(int32_t& effect, bool& defaultCursors)> OLEGiveFeedback;
    std::function<void(IDataObject*& data, int16_t& dataFormat)> OLESetData;
    std::function<void(IDataObject*& data, int32_t& allowedEffects)> OLEStartDrag;
  } events;

  // The stored properties, in the order they are written.
  static PropertyTable<ButtonStyle> StoredProperties();

 private:
  friend struct ButtonStoredProperties;
  bool DesignTime() const { return !Ambient().userMode; }
  void Inform(const std::wstring& text, const std::wstring& title = L"");
  // Draws or takes away the focus indicator of a check or option button that has the focus.
  void ShowFocusCue(bool focused);
  void LayOut(bool rescalePicture = false);
  void RebuildShape();
  void RefreshColors();
  void RefreshPicture();
  void RefreshCaptionFont();
  void ResizeTo(ButtonPaint& paint, int32_t width, int32_t height);
  void HandleResize();
  void HandleMouseDown(int16_t button, int16_t shift, float x, float y);
  void HandleClick();
  void StartHover(int16_t button);
  void StopHoverTimer();
  void FrameOutline(const ButtonPaint& paint, int32_t outlineColor);
  float PixelX(float twips) const;
  float PixelY(float twips) const;

  ButtonState s_;
  // Font and fore colour belong to the control object: the button keeps no copy in its model.
  FontRef font_;
  OleColor foreColor_ = kSysButtonText;
  std::wstring accessKey_;
  bool joinedGroup_ = false;  // listed on the container window's option group
};

}  // namespace tessel
