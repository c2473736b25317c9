#include "conduit-framework/converter_bridge.h"

#include "platform/automation/call_by_name.h"
#include "platform/automation/class_registry.h"
#include "platform/error/error.h"

namespace brevora::conduit {
namespace {

// Anything a converter or its library may throw counts as a failed step.
constexpr int32_t kUnknownFailure = static_cast<int32_t>(0x80004005u);

}  // namespace

void CConverterBridge::Failed(const std::exception_ptr& error) {
  try {
    std::rethrow_exception(error);
  } catch (const AutomationError& e) {
    status_ = e.number() != 0 ? e.number() : kUnknownFailure;
    error_ = e.description();
  } catch (const std::exception& e) {
    status_ = kUnknownFailure;
    error_ = e.what();
  } catch (...) {
    status_ = kUnknownFailure;
    error_.clear();
  }
}

CConverterBridge::CConverterBridge(Names names) : names_(std::move(names)) {
  try {
    const auto clsid = ClsidFromProgId(names_.progId);
    if (clsid) converter_ = CreateObjectFromClsid(*clsid);
    if (!converter_) RaiseRuntimeError(429);
  } catch (...) {
    converter_ = nullptr;
    Failed(std::current_exception());
  }
}

CConverterBridge::~CConverterBridge() = default;

template <class... Texts>
bool CConverterBridge::Call(const std::string& method, const Texts&... texts) {
  if (!converter_) return false;
  try {
    CallByName(*converter_, method, CallKind::Method, texts...);
    status_ = 0;
    error_.clear();
    return true;
  } catch (...) {
    Failed(std::current_exception());
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

int32_t CConverterBridge::Refresh() {
  Call(names_.refresh);
  return status_;
}

}  // namespace brevora::conduit
