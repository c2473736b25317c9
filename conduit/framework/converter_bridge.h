#pragma once
// CConverterBridge: the converter of the desktop connectivity module, which
// keeps a desktop file and its linked office file in step. The conduit is
// never linked with that module: the bridge creates the converter by its
// ProgID through the class registry (HKEY_CLASSES_ROOT names the library) and
// calls its two conversion methods by name, each with three texts in their
// order, the returned value unexamined. The converter object lives as long as
// the bridge.
//
// Construction binds. A converter that can't be created leaves the bridge not
// ready: every conversion then answers false without a call. A conversion
// whose call raises (an unknown method, a failed conversion) answers false.
// status() is the error number of the last failed step (0 after success).
#include <cstdint>
#include <string>

#include "conduit/framework/conduit_namespace.h"
#include "conduit/framework/product.h"
#include "platform/automation/dispatch.h"

namespace brevora::CONDUIT_NAMESPACE {

class CConverterBridge : public ConverterBridge {
 public:
  struct Names {
    std::string progId;     // "TabulynPC.SDK"
    std::string toDesktop;  // "XLSToTBRExt_Sync": office file, desktop file, link options
    std::string toOffice;   // "TBRToXLSExt_Sync": desktop file, office file, options
  };

  explicit CConverterBridge(Names names);
  ~CConverterBridge() override;
  CConverterBridge(const CConverterBridge&) = delete;
  CConverterBridge& operator=(const CConverterBridge&) = delete;

  bool ready() const { return converter_ != nullptr; }
  int32_t status() const { return status_; }

  bool OfficeToDesktop(const std::string& office, const std::string& desktop, const std::string& options) override;
  bool DesktopToOffice(const std::string& desktop, const std::string& office, const std::string& options) override;

 private:
  bool Call(const std::string& method, const std::string& a, const std::string& b, const std::string& c);

  Names names_;
  Ref<Dispatch> converter_;
  int32_t status_ = 0;
};

}  // namespace brevora::CONDUIT_NAMESPACE
