// SaveForm: the user box. It shows the users as they are when the window
// opens: the user manager reads them again first (a user made since the
// process started is there, the current user stays current). Choosing a user
// makes it the application object's current user and fills the lists for
// that user; so does a key typed in the box, for the entry it shows then
// (before the box itself goes to an entry by the key).
#include <QComboBox>
#include <QEvent>
#include <QKeyEvent>
#include <QPushButton>

#include "core/session.h"
#include "core/user_manager.h"
#include "frontend/forms/form_controls.h"
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

// cboUser's KeyPress: a key that types a character (what a KeyPress is: not
// a modifier, an arrow or the Tab that moves on) runs cboUser_KeyPress. The
// key itself goes on to the box as it is.
class UserBoxKeys : public QObject {
 public:
  UserBoxKeys(SaveForm& form, QComboBox& box) : QObject(&box), form_(form) {
    box.installEventFilter(this);
  }

 protected:
  bool eventFilter(QObject*, QEvent* event) override {
    if (event->type() != QEvent::KeyPress) return false;
    const auto* key = static_cast<QKeyEvent*>(event);
    if (key->text().isEmpty() || key->key() == Qt::Key_Tab || key->key() == Qt::Key_Backtab)
      return false;
    HandleFormEvent(form_, [this] { form_.cboUser_KeyPress(); });
    return false;
  }

 private:
  SaveForm& form_;
};

}  // namespace

void SaveForm::ConnectUsers(frmSave& w) { new UserBoxKeys(*this, *w.cboUser); }

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
    ShowCritical(CurrentError().description());
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
    ShowCritical(CurrentError().description());
  }
}

}  // namespace brevora::frontend::forms
