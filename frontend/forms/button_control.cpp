#include "frontend/forms/button_control.h"

#include "platform/automation/convert.h"

namespace brevora::frontend::forms {

const MemberTable<ButtonControl>& ButtonControl::Members() {
  static const MemberTable<ButtonControl> table{
      {"Value", CallKind::Let, [](ButtonControl& b, Args a) { b.SetValue(CBool(a[0])); }},
      // A command button's Value reads False: it is pressed only while its click runs.
      {"Value", CallKind::Get, [](ButtonControl&, Args) { return Variant(false); }}};
  return table;
}

void ButtonControl::SetValue(bool value) {
  if (value && button_) button_->click();
}

}  // namespace brevora::frontend::forms
