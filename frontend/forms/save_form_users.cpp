// SaveForm: the user box. It shows the users as they are when the window
// opens: the user manager reads them again first (a user made since the
// process started is there, the current user stays current). Choosing a user
// makes it the application object's current user and fills the lists for
// that user.
#include <QComboBox>
#include <QPushButton>

#include "core/session.h"
#include "core/user_manager.h"
#include "frontend/forms/frm_save.h"
#include "frontend/tabrel_pc.h"
#include "platform/error/error.h"
#include "platform/services/message_box.h"
#include "platform/text/codepage.h"

namespace brevora::frontend::forms {
namespace {

// The window's application object; a window without one (not yet given, or
// unloaded) raises 91.
TabrelPC& App(const SaveForm& form) {
  if (!form.Owner()) RaiseRuntimeError(91);
  return *form.Owner();
}

}  // namespace

void SaveForm::LoadUsers() {
  std::string step;
  try {
    frmSave& w = window();
    {
      const QSignalBlocker quiet(w.cboUser);
      w.cboUser->clear();
      w.cboUser->setCurrentIndex(-1);
    }
    TabrelPC& app = App(*this);
    const Ref<core::UserManager> manager = app.Session()->GetUserManager();
    if (!manager) RaiseRuntimeError(91);
    manager->ReloadUsers();
    users_ = UserEntries(*manager);
    {
      const QSignalBlocker quiet(w.cboUser);
      for (const UserEntry& user : users_) {
        w.cboUser->addItem(QString::fromStdString(text::CpToUtf8(user.name)), user.uid);
      }
    }
    const int selected = SelectedUserIndex(users_, app.UserID(), app.UserName());
    step = "Attempting to select last user";
    if (!users_.empty() && !app.IsCustomHomeDirectory()) {
      try {
        {
          const QSignalBlocker quiet(w.cboUser);
          w.cboUser->setCurrentIndex(selected);
        }
        cboUser_Click();
      } catch (...) {
        // The choice reports its own trouble; the box stays filled.
      }
    }
    if (users_.empty()) RaiseNoUsers();
  } catch (...) {
    throw LoadUsersError(CurrentError(), step);
  }
}

void SaveForm::cboUser_Click() {
  frmSave& w = window();
  const UserChoice choice = ChooseUser(App(*this), users_, w.cboUser->currentIndex());
  if (choice.index >= 0 && choice.index != w.cboUser->currentIndex()) {
    const QSignalBlocker quiet(w.cboUser);
    w.cboUser->setCurrentIndex(choice.index);
  }
  if (choice.index >= 0) {
    w.cmdSync->setVisible(choice.phone && standAlone_);
    w.cmdExplore->setVisible(choice.phone && standAlone_);
  }
  if (!choice.done) return;
  try {
    SelectFileName();
  } catch (...) {
    services::ShowMessage(
        {CurrentError().description(), "Brevora", services::MsgButtons::Ok, services::MsgIcon::Critical});
  }
}

void SaveForm::cboUser_KeyPress() {
  try {
    frmSave& w = window();
    TabrelPC& app = App(*this);
    const int index = w.cboUser->currentIndex();
    if (index < 0 || index >= static_cast<int>(users_.size())) RaiseRuntimeError(381);
    if (app.Session()->IsRivorOdurovMode()) {
      app.SetUserName(users_[index].name);
      app.SetUserID(0);
    } else {
      app.SetUserID(users_[index].uid);
    }
    SelectFileName();
  } catch (...) {
    services::ShowMessage(
        {CurrentError().description(), "Brevora", services::MsgButtons::Ok, services::MsgIcon::Critical});
  }
}

}  // namespace brevora::frontend::forms
