// What the fields and the link panel tell assistive technology: an editable text named by its
// caption (or by the form) with its text as the value, unless it hides a password; a panel named
// by its title whose footer link is a part with a place of its own.
#include "inputs/KvFundo.h"
#include "inputs/KvText.h"
#include "inputs/KvTextBox.h"

namespace tessel {
namespace {

void DescribeField(const TextBox& field, AccessibleDescription& d) {
  d.role = AccessibleRole::Text;
  if (field.Locked()) d.states |= kAccessibleReadOnly;
  if (!field.PasswordChar().empty()) d.states |= kAccessibleProtected;
  else {
    d.hasValue = true;
    d.value = field.Text();
  }
}

}  // namespace

void KvTextBox::Describe(AccessibleDescription& d) const {
  DescribeField(texto_, d);
  if (validarCampo_) d.description = L"required";
}

void KvText::Describe(AccessibleDescription& d) const {
  DescribeField(txtCampo_, d);
  d.name = WithoutAccessMarks(lblCaption_.Caption());
}

void KvFundo::Describe(AccessibleDescription& d) const {
  d.role = AccessibleRole::Pane;
  d.name = WithoutAccessMarks(title_.Caption());
  AccessiblePart link;
  link.role = AccessibleRole::Link;
  link.name = WithoutAccessMarks(link_.Caption());
  if (state_ == kHot) link.states |= kAccessibleHot;
  if (state_ == kDown) link.states |= kAccessiblePressed | kAccessibleHot;
  if (link_.Visible()) {
    // The link stands on the background picture: its place in the panel's own window.
    link.bounds = link_.BoundsPixels();
    if (fundo_.hWnd()) MapWindowPoints(fundo_.hWnd(), hWnd(), reinterpret_cast<POINT*>(&link.bounds), 2);
  }
  link.defaultAction = L"Jump";
  d.parts.push_back(std::move(link));
}

}  // namespace tessel
