#pragma once
// What the tests of the main window share on the offscreen platform: letting
// posted events run, the texts of its lists, a modal window answered by a
// scripted user, and Anna's desktop with the application object on a fresh
// Session of this thread, whose window opens as a host opens it.
#include <gtest/gtest.h>

#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMouseEvent>
#include <QPushButton>
#include <QTimer>
#include <QTreeWidget>
#include <functional>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "core/module_state.h"
#include "core/session.h"
#include "frontend/form_factory.h"
#include "frontend/forms/frm_save.h"
#include "frontend/forms/qt_form_factory.h"
#include "frontend/tabrel_pc.h"
#include "frontend/window_test_home.h"

namespace brevora::frontend::test {

// Lets posted events run, then deletes what was left for deletion (the
// windows of forms unloaded by the test itself, outside any event).
inline void Deliver() {
  for (int i = 0; i < 5; ++i) QApplication::processEvents();
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

// Types `text` into `box` a key at a time, as the keyboard does.
inline void Type(QLineEdit& box, const QString& text) {
  for (const QChar c : text) {
    QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(c));
    QApplication::sendEvent(&box, &press);
  }
}

// Chooses `item` of the window's menu `menu` as a user does, through the
// event loop: the menu pops up, the mouse moves onto the item, presses and
// lets go there.
inline void ChooseMenuItem(QMenu& menu, QAction& item) {
  menu.popup(QPoint(40, 40));
  QApplication::processEvents();
  const QPoint at = menu.actionGeometry(&item).center();
  const QPoint global = menu.mapToGlobal(at);
  QPointer<QMenu> target(&menu);
  const struct {
    QEvent::Type type;
    Qt::MouseButton button;
    Qt::MouseButtons buttons;
  } steps[] = {{QEvent::MouseMove, Qt::NoButton, Qt::NoButton},
               {QEvent::MouseButtonPress, Qt::LeftButton, Qt::LeftButton},
               {QEvent::MouseButtonRelease, Qt::LeftButton, Qt::NoButton}};
  for (const auto& step : steps) {
    if (!target) return;
    QCoreApplication::postEvent(
        target.data(), new QMouseEvent(step.type, QPointF(at), QPointF(global), step.button,
                                       step.buttons, Qt::NoModifier));
    QApplication::processEvents();
  }
}

inline std::vector<std::string> Texts(const QTreeWidget& list, int column = 0) {
  std::vector<std::string> texts;
  for (int i = 0; i < list.topLevelItemCount(); ++i)
    texts.push_back(list.topLevelItem(i)->text(column).toStdString());
  return texts;
}

inline std::vector<std::string> Texts(const QListWidget& list) {
  std::vector<std::string> texts;
  for (int i = 0; i < list.count(); ++i) texts.push_back(list.item(i)->text().toStdString());
  return texts;
}

// Runs `user` on the modal window of class W once it is up (the windows let
// posted events run before they show one); if it is still open after that, its
// Cancel (cmdOkCancel[1]) closes it, so no test is left waiting.
template <class W>
void WhenModal(std::function<void(W&)> user) {
  auto* poll = new QTimer;
  auto tries = std::make_shared<int>(0);
  QObject::connect(poll, &QTimer::timeout, [poll, tries, user] {
    auto* window = qobject_cast<W*>(QApplication::activeModalWidget());
    if (!window) {
      if (++*tries > 500) {
        poll->deleteLater();
        ADD_FAILURE() << "no modal window came up";
      }
      return;
    }
    poll->stop();
    poll->deleteLater();
    user(*window);
    if (window->isVisible()) window->cmdOkCancel[1]->click();
  });
  poll->start(10);
}

// Desktop user 1, Anna ("anna"), with the products installed; the fixture's
// own SetUp adds her files after this one.
class MainWindowDesktop : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_EQ(forms::BrevoraInstallForms(), 0);
    InstallProducts();
    user_ = AddDesktopUser(1, "Anna", "anna");
    // A fresh thread state for the desktop made above: its users and settings.
    core::Module().gSession = nullptr;
    core::Module().gSession = MakeRef<core::Session>();
    app_ = MakeRef<TabrelPC>();
  }
  void TearDown() override {
    for (const Ref<Form>& form : Forms()->LoadedForms()) form->Unload();
    Deliver();
    app_ = nullptr;
    core::Module().gSession = nullptr;
  }

  // The stand-alone window as a host opens it.
  forms::SaveForm& OpenMainWindow(Ref<Dispatch> host = nullptr) {
    app_->DoOpenStandAloneEX("", host);
    Deliver();
    for (const Ref<Form>& form : Forms()->LoadedForms()) {
      if (auto* save = dynamic_cast<forms::SaveForm*>(form.get())) return *save;
    }
    ADD_FAILURE() << "no main window";
    throw std::runtime_error("no main window");
  }

  std::string user_;
  Ref<TabrelPC> app_;
};

}  // namespace brevora::frontend::test
