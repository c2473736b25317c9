#include "frontend/forms/qt_form_factory.h"

#include <QApplication>
#include <QThread>
#include <map>
#include <memory>
#include <mutex>

#include "frontend/form_factory.h"
#include "platform/error/error.h"
#include "platform/qt/display.h"
#include "platform/qt/qt_file_dialog.h"
#include "platform/qt/qt_help_viewer.h"
#include "platform/qt/qt_message_box.h"
#include "platform/services/file_dialog.h"
#include "platform/services/help.h"
#include "platform/services/message_box.h"
#include "platform/text/case.h"

namespace brevora::frontend::forms {
namespace {

using Makers = std::map<std::string, std::function<Ref<QtForm>()>>;

Makers& FormMakers() {
  static Makers makers;  // filled while the library loads, read afterwards
  return makers;
}

bool OnWindowThread() {
  const QCoreApplication* app = QCoreApplication::instance();
  return app && QThread::currentThread() == app->thread();
}

// The application the library made for a program that had none. It lives as
// long as the process: windows may still refer to it while the program ends.
QApplication& MakeApplication() {
  static int argc = 1;
  static char name[] = "brevora";
  static char* argv[] = {name, nullptr};
  static std::unique_ptr<QApplication> app = std::make_unique<QApplication>(argc, argv);
  return *app;
}

// The Qt message box, file dialog and help viewer replace only the defaults
// (which have no display to show on, or leave nothing visible when a help file
// is missing): a program's or a test's own stay.
void InstallQtServices() {
  if (dynamic_cast<services::StderrMessageBox*>(services::CurrentMessageBox().get())) {
    services::InstallMessageBox(std::make_shared<qt::QtMessageBox>());
  }
  if (dynamic_cast<services::NoFileDialog*>(services::CurrentFileDialog().get())) {
    services::InstallFileDialog(std::make_shared<qt::QtFileDialog>());
  }
  if (dynamic_cast<services::XdgOpenHelpViewer*>(services::CurrentHelpViewer().get())) {
    services::InstallHelpViewer(std::make_shared<qt::QtHelpViewer>());
  }
}

}  // namespace

FormRegistration::FormRegistration(std::string name, std::function<Ref<QtForm>()> make) {
  FormMakers()[text::LCase(name)] = std::move(make);
}

Ref<Form> QtFormFactory::Create(std::string_view name) {
  if (!OnWindowThread()) {
    RaiseError(5, "TabrelPC", "Windows can only be shown on the thread of the program's windows.");
  }
  const auto it = FormMakers().find(text::LCase(name));
  if (it == FormMakers().end()) RaiseRuntimeError(429);
  return it->second();
}

std::vector<Ref<Form>> QtFormFactory::LoadedForms() { return LoadedQtForms(); }

void QtFormFactory::DoEvents() {
  if (OnWindowThread()) ProcessWindowMessages();
}

extern "C" __attribute__((visibility("default"))) int BrevoraInstallForms() {
  static std::mutex mutex;
  const std::lock_guard<std::mutex> lock(mutex);
  if (!QCoreApplication::instance()) {
    if (!qt::DisplayAvailable()) return 1;
    MakeApplication();
  } else if (!qobject_cast<QApplication*>(QCoreApplication::instance())) {
    return 1;  // a program without widgets has nowhere to show windows
  }
  InstallQtServices();
  if (!dynamic_cast<QtFormFactory*>(LoadedFormFactory().get())) {
    InstallFormFactory(std::make_shared<QtFormFactory>());
  }
  return 0;
}

}  // namespace brevora::frontend::forms
