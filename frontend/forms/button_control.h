#pragma once
// ButtonControl: a command button of a form as callers reach it by name
// (form.btnRefresh.Value = True presses it, as a click does). A form answers
// the button's name with one of these; it refers to the button weakly, so a
// button that is gone is simply not pressed.
#include <QAbstractButton>
#include <QPointer>

#include "platform/automation/member_table.h"

namespace brevora::frontend::forms {

class ButtonControl : public Dispatchable<ButtonControl> {
 public:
  explicit ButtonControl(QAbstractButton* button) : button_(button) {}
  static const MemberTable<ButtonControl>& Members();

  // Value = True presses the button (its click handler runs now); False does nothing.
  void SetValue(bool value);

 private:
  QPointer<QAbstractButton> button_;
};

}  // namespace brevora::frontend::forms
