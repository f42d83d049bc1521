#pragma once
// Property values between automation (VARIANT) and the controls' own types. A value that cannot
// be converted raises TypeMismatch, one out of the type's range ValueOverflow.
#include <windows.h>
#include <oleauto.h>

#include <cstdint>
#include <stdexcept>
#include <string>

#include "server/contract/Font.h"
#include "server/contract/Picture.h"
#include "server/contract/PropertyBag.h"

namespace tessel::ole {

class TypeMismatch : public std::invalid_argument {
 public:
  TypeMismatch() : std::invalid_argument("Type mismatch") {}
};
// A number beyond the range of the property's type (40000 for a 16-bit one, 1e300 for any):
// the dispatcher answers it with DISP_E_OVERFLOW, which scripts report as "Overflow".
class ValueOverflow : public std::invalid_argument {
 public:
  ValueOverflow() : std::invalid_argument("Overflow") {}
};

void ToVariant(bool value, VARIANT* out);
void ToVariant(int16_t value, VARIANT* out);
void ToVariant(int32_t value, VARIANT* out);
void ToVariant(uint32_t value, VARIANT* out);  // an OLE colour, as its 32 bits
void ToVariant(const std::wstring& value, VARIANT* out);
void ToVariant(const FontRef& value, VARIANT* out);     // IFontDisp, or nothing
void ToVariant(const PictureRef& value, VARIANT* out);  // IPictureDisp, or nothing
void ToVariant(const BagValue& value, VARIANT* out);

template <class T>
T FromVariant(const VARIANT& in);
template <> bool FromVariant<bool>(const VARIANT& in);
template <> int16_t FromVariant<int16_t>(const VARIANT& in);
template <> int32_t FromVariant<int32_t>(const VARIANT& in);
template <> uint32_t FromVariant<uint32_t>(const VARIANT& in);
template <> std::wstring FromVariant<std::wstring>(const VARIANT& in);
template <> FontRef FromVariant<FontRef>(const VARIANT& in);
template <> PictureRef FromVariant<PictureRef>(const VARIANT& in);

// A stored value of the given bag type (the order of BagValue's alternatives).
BagValue BagValueFromVariant(const VARIANT& in, size_t bagIndex);

}  // namespace tessel::ole
