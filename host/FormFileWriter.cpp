// Writing form text: the header, the Form block, and one block per control with its extender
// values first and its bag entries in the order the control wrote them.
#include <stdexcept>

#include "host/FormExtenderKeys.h"
#include "host/FormFile.h"
#include "host/FormValues.h"

namespace tessel {
namespace {

void WriteEntry(std::string& out, const std::wstring& key, const BagValue& value, const std::string& indent) {
  if (!IsName(key)) throw std::invalid_argument("the key '" + Utf8FromWide(key) + "' cannot be stored: keys are letters, digits and '_'");
  out += indent + Utf8FromWide(key) + " = ";
  AppendValueText(out, value, indent);
  out += "\n";
}

}  // namespace

std::string WriteFormText(const FormDescription& form) {
  std::string out = "TesselForm " + std::to_string(kFormFileVersion) + "\n\nForm\n";
  for (const auto& [k, v] : form.properties.Entries()) WriteEntry(out, k, v, "  ");
  out += "EndForm\n";
  for (const ControlDescription& c : form.controls) {
    if (!IsName(c.type)) throw std::invalid_argument("the control type '" + Utf8FromWide(c.type) + "' cannot be stored");
    if (!IsName(c.name))
      throw std::invalid_argument("the control name '" + Utf8FromWide(c.name) +
                                  "' cannot be stored: names are letters, digits and '_'");
    out += "\nControl " + Utf8FromWide(c.type) + " " + Utf8FromWide(c.name) + "\n";
    for (const ExtenderKey& k : kExtenderKeys) {
      out += "  ." + Utf8FromWide(k.name) + " = ";
      out += k.number ? std::to_string(c.extender.*(k.number)) : BoolText(c.extender.*(k.flag));
      out += "\n";
    }
    if (!c.extender.container.empty()) {
      if (!IsName(c.extender.container))
        throw std::invalid_argument("the container name '" + Utf8FromWide(c.extender.container) + "' cannot be stored");
      out += "  ." + Utf8FromWide(kContainerKey) + " = ";
      AppendValueText(out, BagValue(c.extender.container), "  ");
      out += "\n";
    }
    if (!c.extender.accessibleName.empty()) {
      out += "  ." + Utf8FromWide(kAccessibleNameKey) + " = ";
      AppendValueText(out, BagValue(c.extender.accessibleName), "  ");
      out += "\n";
    }
    for (const auto& [k, v] : c.bag.Entries()) WriteEntry(out, k, v, "  ");
    out += "EndControl\n";
  }
  return out;
}

}  // namespace tessel
