#include "conduit/framework/converter_bridge.h"

#include "platform/automation/call_by_name.h"
#include "platform/automation/class_registry.h"
#include "platform/error/error.h"

namespace brevora::CONDUIT_NAMESPACE {
namespace {

// Anything a converter or its library may throw counts as a failed step.
constexpr int32_t kUnknownFailure = static_cast<int32_t>(0x80004005u);

int32_t NumberOf(const std::exception_ptr& error) {
  try {
    std::rethrow_exception(error);
  } catch (const AutomationError& e) {
    return e.number() != 0 ? e.number() : kUnknownFailure;
  } catch (...) {
    return kUnknownFailure;
  }
}

}  // namespace

CConverterBridge::CConverterBridge(Names names) : names_(std::move(names)) {
  try {
    const auto clsid = ClsidFromProgId(names_.progId);
    if (!clsid) {
      status_ = 429;
      return;
    }
    converter_ = CreateObjectFromClsid(*clsid);
    if (!converter_) status_ = 429;
  } catch (...) {
    converter_ = nullptr;
    status_ = NumberOf(std::current_exception());
  }
}

CConverterBridge::~CConverterBridge() = default;

bool CConverterBridge::Call(const std::string& method, const std::string& a, const std::string& b,
                            const std::string& c) {
  if (!converter_) return false;
  try {
    CallByName(*converter_, method, CallKind::Method, a, b, c);
    status_ = 0;
    return true;
  } catch (...) {
    status_ = NumberOf(std::current_exception());
    return false;
  }
}

bool CConverterBridge::OfficeToDesktop(const std::string& office, const std::string& desktop,
                                       const std::string& options) {
  return Call(names_.toDesktop, office, desktop, options);
}

bool CConverterBridge::DesktopToOffice(const std::string& desktop, const std::string& office,
                                       const std::string& options) {
  return Call(names_.toOffice, desktop, office, options);
}

}  // namespace brevora::CONDUIT_NAMESPACE
