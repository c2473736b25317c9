#include "frontend/forms/qt_form.h"

#include <QApplication>
#include <QEvent>
#include <QEventLoop>
#include <algorithm>

#include "frontend/forms/form_controls.h"
#include "platform/automation/convert.h"
#include "platform/error/error.h"
#include "platform/text/case.h"
#include "platform/text/codepage.h"

namespace brevora::frontend::forms {
namespace {

std::vector<Ref<QtForm>>& Loaded() {
  thread_local std::vector<Ref<QtForm>> forms;
  return forms;
}

// Quits `loop` once the watched window is hidden or destroyed.
class ModalLoop : public QObject {
 public:
  explicit ModalLoop(QWidget& window) : window_(&window) {
    window.installEventFilter(this);
    connect(&window, &QObject::destroyed, &loop_, &QEventLoop::quit);
  }
  ~ModalLoop() override {
    if (window_) window_->removeEventFilter(this);
  }
  void Run() {
    if (window_ && window_->isVisible()) loop_.exec(QEventLoop::DialogExec);
  }

 protected:
  bool eventFilter(QObject*, QEvent* event) override {
    if (event->type() == QEvent::Hide) loop_.quit();
    return false;
  }

 private:
  QPointer<QWidget> window_;
  QEventLoop loop_;
};

}  // namespace

// Turns a close of the window (its close box, Alt+F4, close()) into QueryClose;
// the form itself unloads by hiding the window, which sends no close.
class QtForm::CloseWatcher : public QObject {
 public:
  explicit CloseWatcher(QtForm& form) : form_(form) {}

 protected:
  bool eventFilter(QObject*, QEvent* event) override {
    if (event->type() != QEvent::Close) return false;
    event->ignore();  // the form decides; an unload hides the window itself
    form_.QueryClose();
    return true;
  }

 private:
  QtForm& form_;
};

// Holds a form for as long as the window it unloaded still exists: a child of
// that window, the last one made, so it goes after every control (and every
// connection to the form's handlers) is gone.
class QtForm::Keeper : public QObject {
 public:
  Keeper(QWidget& window, Ref<QtForm> form) : QObject(&window), form_(std::move(form)) {}

 private:
  Ref<QtForm> form_;
};

QtForm::QtForm(std::string name) : name_(std::move(name)) {}

QtForm::~QtForm() {
  // A form still loaded when its thread's list goes (the program's end,
  // outside any event) deletes its window, unless the QApplication, and every
  // window with it, is gone already. An unloaded form has handed its window to
  // the deferred deletion, which holds the form until the window is gone.
  if (loaded_ && window_ && QCoreApplication::instance()) delete window_.data();
}

void QtForm::Load() {
  if (loaded_) return;
  window_ = MakeWindow();
  window_->setObjectName(QString::fromStdString(name_));
  closeWatcher_ = new CloseWatcher(*this);
  closeWatcher_->setParent(window_.data());
  window_->installEventFilter(closeWatcher_.data());
  if (!caption_.empty()) window_->setWindowTitle(ToQt(caption_));
  loaded_ = true;
  Loaded().push_back(Ref<QtForm>(this));
  try {
    FormLoad();
  } catch (...) {
    const AutomationError error = CurrentError();
    Unload();
    throw error;
  }
}

void QtForm::Unload() {
  if (!loaded_) return;
  Ref<QtForm> self(this);  // the list may hold the last reference
  try {
    FormUnload();
  } catch (...) {
    // Unloading goes on whatever the form's own step did.
  }
  loaded_ = false;
  auto& forms = Loaded();
  forms.erase(std::remove(forms.begin(), forms.end(), self), forms.end());
  QWidget* window = window_.data();
  window_ = nullptr;
  if (!window) return;
  // The window's close box no longer reaches this form (the watcher goes with the window).
  if (closeWatcher_) window->removeEventFilter(closeWatcher_.data());
  window->hide();
  // Not deleted at once: the unload may come from one of the window's own
  // events (a menu entry, a button, the close box), which Qt is still
  // delivering. The event loop deletes it once that event is over; until then
  // the form stays, so whatever the window still sends finds its handlers.
  new Keeper(*window, self);
  window->deleteLater();
}

void QtForm::Show(bool modal) {
  Load();
  QWidget* window = window_.data();
  if (!modal) {
    if (window->isMinimized()) window->showNormal();
    window->show();
    window->raise();
    window->activateWindow();
    return;
  }
  Ref<QtForm> self(this);
  const QPointer<QWidget> shown(window);
  window->setWindowModality(Qt::ApplicationModal);
  {
    ModalLoop loop(*window);
    window->show();
    window->raise();
    window->activateWindow();
    loop.Run();
  }
  // The dialog's own events ended with its loop: its window can go now (only
  // it: what the caller's event left for deletion waits for that event's end).
  if (!loaded_ && shown) QCoreApplication::sendPostedEvents(shown.data(), QEvent::DeferredDelete);
}

bool QtForm::Visible() const { return loaded_ && window_ && window_->isVisible(); }

void QtForm::RemoveMinimizeBox() {
  Load();
  const Qt::WindowFlags flags = window_->windowFlags();
  window_->setWindowFlags((flags | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                           Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint) &
                          ~Qt::WindowMinimizeButtonHint);
}

void QtForm::SetCaption(std::string caption) {
  caption_ = std::move(caption);
  if (Window()) window_->setWindowTitle(ToQt(caption_));
}

Variant QtForm::Invoke(std::string_view name, CallKind kind, Args args) {
  const std::string key = text::LCase(name);
  const bool assign = kind == CallKind::Let || kind == CallKind::Set;
  if (key == "caption" || key == "tag" || key == "visible") {
    if (assign && args.size() != 1) RaiseRuntimeError(450);
    if (!assign && !args.empty()) RaiseRuntimeError(450);
    if (key == "caption") {
      if (!assign) return Variant(caption_);
      SetCaption(CStr(args[0]));
    } else if (key == "tag") {
      if (!assign) return Variant(tag_);
      tag_ = CStr(args[0]);
    } else {
      if (!assign) return Variant(Visible());
      if (CBool(args[0])) {
        Show(false);
      } else if (Window()) {
        window_->hide();
      }
    }
    return Variant();
  }
  return InvokeMember(name, kind, args);
}

Variant QtForm::InvokeMember(std::string_view, CallKind, Args) { RaiseRuntimeError(438); }

std::vector<Ref<Form>> LoadedQtForms() { return {Loaded().begin(), Loaded().end()}; }

void ProcessWindowMessages() { QCoreApplication::processEvents(); }

}  // namespace brevora::frontend::forms
