// The web-request object "WebRequest.cInternet" as the windows create it: its
// download reports reach the window through the Qt event loop of the windows'
// thread, after the call that started them has returned.
#include <QCoreApplication>
#include <QMetaObject>

#include "frontend/internet.h"
#include "platform/automation/class_registry.h"

namespace brevora::frontend::forms {
namespace {

void PostToWindowThread(std::function<void()> task) {
  QCoreApplication* app = QCoreApplication::instance();
  if (!app) return;  // no event loop: nobody to report to
  QMetaObject::invokeMethod(app, std::move(task), Qt::QueuedConnection);
}

const ClassRegistration registration(kInternetProgId, "", [] {
  return Ref<Dispatch>(MakeRef<Internet>(PostToWindowThread));
});

}  // namespace
}  // namespace brevora::frontend::forms
