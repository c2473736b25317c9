#include "office/office_app.h"

#include <utility>

#include "core/module_state.h"
#include "platform/automation/call_by_name.h"
#include "platform/automation/class_registry.h"
#include "platform/automation/running_objects.h"
#include "platform/automation/variant.h"
#include "platform/error/error.h"

namespace brevora::office {

OfficeApp::OfficeApp(OfficeApp&& other) noexcept
    : origin_(other.origin_),
      app_(std::move(other.app_)),
      entry_(std::move(other.entry_)),
      done_(std::exchange(other.done_, true)) {}

OfficeApp::~OfficeApp() {
  try {
    Release();
  } catch (...) {
    // Only reached while another error is leaving the conversion; that one wins.
  }
}

void OfficeApp::Release() {
  if (done_) return;
  done_ = true;
  // Both references go whatever the call does.
  Ref<Dispatch> app = std::move(app_);
  Ref<Dispatch> entry = std::move(entry_);
  switch (origin_) {
    case OfficeAppOrigin::Pool:
      CallByName(entry, "ReleaseServer", CallKind::Method);
      break;
    case OfficeAppOrigin::Started:
      CallByName(app, "Quit", CallKind::Method);
      break;
    case OfficeAppOrigin::Attached:
      break;
  }
}

void OfficeApp::LeaveRunning() {
  if (origin_ == OfficeAppOrigin::Pool) {
    Release();
    return;
  }
  done_ = true;
  app_.Reset();
}

OfficeApp AcquireOfficeApplication(std::string_view progId, bool serverMode) {
  if (serverMode) {
    OfficeApp held(OfficeAppOrigin::Pool);
    // The entry is held before its application is asked for, so that a failing
    // ServerObject still hands the entry back.
    const Variant entry = CallByName(core::ServerPool(), "GetServer", CallKind::Method, progId);
    held.entry_ = Ref<Dispatch>(&ObjectOf(entry));
    const Variant app = held.entry_->Invoke("ServerObject", CallKind::Get, {});
    held.app_ = Ref<Dispatch>(&ObjectOf(app));
    return held;
  }
  try {
    OfficeApp held(OfficeAppOrigin::Attached);
    held.app_ = GetActiveObject(progId);
    return held;
  } catch (const AutomationError&) {
    // Nothing running: start one.
  }
  OfficeApp held(OfficeAppOrigin::Started);
  held.app_ = CreateObject(progId);
  return held;
}

}  // namespace brevora::office
