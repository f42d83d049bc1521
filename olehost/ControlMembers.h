// The members of each control's dual interface, read by the type library (TesselOCXControls.idl)
// and by the C++ that implements the interfaces' vtables, so both list the same members with the
// same dispatch identifiers and types. Each list expands three macros that its reader defines:
// TESSEL_PROPERTY for a property read and written, TESSEL_READONLY and TESSEL_WRITEONLY, each as
// (dispatch identifier, type, name).
// Standard dispatch identifiers where OLE defines one; the others count up from 1 in order.
// The types are spelled as both languages know them (OLE_COLOR is the library's own type).
#ifndef TESSEL_OLEHOST_CONTROLMEMBERS_H
#define TESSEL_OLEHOST_CONTROLMEMBERS_H

#define TESSEL_BUTTONSTYLE_MEMBERS \
  TESSEL_PROPERTY(1, long, ButtonStyle) \
  TESSEL_PROPERTY(2, long, Mode) \
  TESSEL_PROPERTY(-518, BSTR, Caption) \
  TESSEL_PROPERTY(3, long, CaptionAlign) \
  TESSEL_PROPERTY(4, long, CaptionStyle) \
  TESSEL_PROPERTY(5, long, CustomClick) \
  TESSEL_PROPERTY(6, long, ButtonShape) \
  TESSEL_PROPERTY(7, IDispatch*, Picture) \
  TESSEL_PROPERTY(8, long, PictureAlign) \
  TESSEL_PROPERTY(-514, VARIANT_BOOL, Enabled) \
  TESSEL_PROPERTY(9, VARIANT_BOOL, ShowFocusRect) \
  TESSEL_PROPERTY(10, VARIANT_BOOL, Value) \
  TESSEL_WRITEONLY(11, long, PictureSize) \
  TESSEL_PROPERTY(12, long, MousePointer) \
  TESSEL_PROPERTY(13, IDispatch*, MouseIcon) \
  TESSEL_PROPERTY(-512, IDispatch*, Font) \
  TESSEL_PROPERTY(14, long, FontStyle) \
  TESSEL_PROPERTY(-513, OLE_COLOR, ForeColor) \
  TESSEL_PROPERTY(-501, OLE_COLOR, BackColor) \
  TESSEL_PROPERTY(15, OLE_COLOR, GradientColor) \
  TESSEL_PROPERTY(16, long, GradientMode) \
  TESSEL_PROPERTY(17, VARIANT_BOOL, ResetDefaultColors) \
  TESSEL_PROPERTY(18, long, HoverColorLocks) \
  TESSEL_PROPERTY(19, OLE_COLOR, HoverForeColor) \
  TESSEL_PROPERTY(20, OLE_COLOR, HoverBackColor) \
  TESSEL_READONLY(-515, long, hWnd)

#define TESSEL_TZFRAMES_MEMBERS \
  TESSEL_PROPERTY(1, OLE_COLOR, FrameColor) \
  TESSEL_PROPERTY(-501, OLE_COLOR, BackColor) \
  TESSEL_PROPERTY(2, OLE_COLOR, FillColor) \
  TESSEL_PROPERTY(3, OLE_COLOR, TextBoxColor) \
  TESSEL_PROPERTY(4, long, TxtBoxShadow) \
  TESSEL_PROPERTY(5, long, Style) \
  TESSEL_PROPERTY(6, VARIANT_BOOL, RoundedCorner) \
  TESSEL_PROPERTY(-514, VARIANT_BOOL, Enabled) \
  TESSEL_PROPERTY(7, VARIANT_BOOL, RoundedCornerTxtBox) \
  TESSEL_PROPERTY(-518, BSTR, Caption) \
  TESSEL_PROPERTY(8, long, TextBoxHeight) \
  TESSEL_PROPERTY(9, OLE_COLOR, TextColor) \
  TESSEL_PROPERTY(10, long, Alignment) \
  TESSEL_PROPERTY(11, long, IconAlignment) \
  TESSEL_PROPERTY(-512, IDispatch*, Font) \
  TESSEL_PROPERTY(12, IDispatch*, Picture) \
  TESSEL_PROPERTY(13, short, IconSize) \
  TESSEL_PROPERTY(14, long, ThemeColor) \
  TESSEL_PROPERTY(15, OLE_COLOR, ColorFrom) \
  TESSEL_PROPERTY(16, OLE_COLOR, ColorTo) \
  TESSEL_PROPERTY(17, long, HeaderStyle) \
  TESSEL_PROPERTY(18, long, GradientHeaderStyle) \
  TESSEL_READONLY(-515, long, hWnd)

#define TESSEL_BEVEL_MEMBERS \
  TESSEL_WRITEONLY(1, long, BevelSytle) \
  TESSEL_READONLY(-515, long, hWnd)

#define TESSEL_KVLINHA_MEMBERS \
  TESSEL_READONLY(-515, long, hWnd)

#define TESSEL_KVTEXT_MEMBERS \
  TESSEL_PROPERTY(1, short, Alignment) \
  TESSEL_PROPERTY(-501, OLE_COLOR, BackColor) \
  TESSEL_PROPERTY(2, OLE_COLOR, BorderColor) \
  TESSEL_PROPERTY(-518, BSTR, Caption) \
  TESSEL_PROPERTY(-514, VARIANT_BOOL, Enabled) \
  TESSEL_PROPERTY(-513, OLE_COLOR, ForeColor) \
  TESSEL_PROPERTY(3, OLE_COLOR, FontColor) \
  TESSEL_PROPERTY(4, VARIANT_BOOL, Locked) \
  TESSEL_PROPERTY(5, long, MaxLength) \
  TESSEL_PROPERTY(6, BSTR, PasswordChar) \
  TESSEL_PROPERTY(-517, BSTR, Text) \
  TESSEL_PROPERTY(-512, IDispatch*, Font) \
  TESSEL_PROPERTY(7, IDispatch*, FontCaption) \
  TESSEL_READONLY(-515, long, hWnd)

#define TESSEL_KVTEXTBOX_MEMBERS \
  TESSEL_PROPERTY(-501, OLE_COLOR, BackColor) \
  TESSEL_PROPERTY(-513, OLE_COLOR, ForeColor) \
  TESSEL_PROPERTY(-514, VARIANT_BOOL, Enabled) \
  TESSEL_PROPERTY(-512, IDispatch*, Font) \
  TESSEL_PROPERTY(1, OLE_COLOR, BackStyle) \
  TESSEL_PROPERTY(2, short, BorderStyle) \
  TESSEL_PROPERTY(3, short, Alignment) \
  TESSEL_PROPERTY(4, OLE_COLOR, BorderColor) \
  TESSEL_PROPERTY(5, VARIANT_BOOL, Locked) \
  TESSEL_PROPERTY(6, long, MaxLength) \
  TESSEL_PROPERTY(7, BSTR, PasswordChar) \
  TESSEL_PROPERTY(8, long, SelLength) \
  TESSEL_PROPERTY(9, long, SelStart) \
  TESSEL_PROPERTY(10, BSTR, SelText) \
  TESSEL_PROPERTY(-517, BSTR, Text) \
  TESSEL_PROPERTY(11, VARIANT_BOOL, Capitalizar) \
  TESSEL_PROPERTY(12, OLE_COLOR, ColorOnFoco) \
  TESSEL_PROPERTY(13, OLE_COLOR, ColorOffFoco) \
  TESSEL_PROPERTY(14, VARIANT_BOOL, ValidarCampo) \
  TESSEL_PROPERTY(15, BSTR, ValidarMSG) \
  TESSEL_READONLY(-515, long, hWnd)

#define TESSEL_KVFUNDO_MEMBERS \
  TESSEL_PROPERTY(-518, BSTR, Caption) \
  TESSEL_PROPERTY(1, BSTR, CaptionTitulo) \
  TESSEL_PROPERTY(2, BSTR, URL) \
  TESSEL_PROPERTY(3, long, ClickResponse) \
  TESSEL_PROPERTY(-501, OLE_COLOR, BackColor) \
  TESSEL_PROPERTY(4, OLE_COLOR, ColorNormal) \
  TESSEL_PROPERTY(5, OLE_COLOR, ColorHot) \
  TESSEL_PROPERTY(6, OLE_COLOR, ColorDown) \
  TESSEL_PROPERTY(-512, IDispatch*, Font) \
  TESSEL_PROPERTY(7, VARIANT_BOOL, HoverUnderline) \
  TESSEL_PROPERTY(8, VARIANT_BOOL, Stretch) \
  TESSEL_PROPERTY(9, IDispatch*, Picture) \
  TESSEL_READONLY(-515, long, hWnd)

#endif
