#include "core/application.h"

#include "platform/automation/class_registry.h"
#include "platform/error/error.h"

namespace brevora::core {

// Out of line so the interface's identity (vtable, typeinfo) lives in one place.
Application::~Application() = default;

Ref<Application> NewApplication() {
  Ref<Application> app = RefCast<Application>(CreateObject(Application::kProgId));
  if (!app) RaiseRuntimeError(429);
  return app;
}

}  // namespace brevora::core
