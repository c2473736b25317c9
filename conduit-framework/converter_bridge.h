#pragma once
// CConverterBridge: the converter of the desktop connectivity module, which
// keeps a desktop file and its linked office file in step. The conduit is
// never linked with that module: the bridge creates the converter by its
// ProgID through the class registry (HKEY_CLASSES_ROOT names the library) and
// calls its two conversion methods by name, each with three texts in their
// order, and its Refresh without arguments; the returned values are
// unexamined. The converter object lives as long as the bridge.
//
// Construction binds. A converter that can't be created leaves the bridge not
// ready: every call then fails without reaching it. A call that raises (an
// unknown method, a failed conversion) fails. status() is the error number of
// the last failed step (0 after success), error() its description (the
// converter's own message, such as why Office can't be reached).
#include <cstdint>
#include <string>

#include "conduit-framework/product.h"
#include "platform/automation/dispatch.h"

namespace brevora::conduit {

class CConverterBridge : public ConverterBridge {
 public:
  struct Names {
    std::string progId;     // "TabulynPC.SDK"
    std::string toDesktop;  // "XLSToTBRExt_Sync": office file, desktop file, link options
    std::string toOffice;   // "TBRToXLSExt_Sync": desktop file, office file, options
    std::string refresh;    // "Refresh": no arguments
  };

  explicit CConverterBridge(Names names);
  ~CConverterBridge() override;
  CConverterBridge(const CConverterBridge&) = delete;
  CConverterBridge& operator=(const CConverterBridge&) = delete;

  bool ready() const { return converter_ != nullptr; }
  int32_t status() const { return status_; }
  const std::string& error() const { return error_; }

  bool OfficeToDesktop(const std::string& office, const std::string& desktop,
                       const std::string& options) override;
  bool DesktopToOffice(const std::string& desktop, const std::string& office,
                       const std::string& options) override;
  std::string LastError() const override { return error_; }
  // The converter's Refresh (it has the open desktop windows list their files
  // again); the call's status: 0 when it succeeded.
  int32_t Refresh();

 private:
  template <class... Texts>
  bool Call(const std::string& method, const Texts&... texts);
  void Failed(const std::exception_ptr& error);

  Names names_;
  Ref<Dispatch> converter_;
  int32_t status_ = 0;
  std::string error_;
};

}  // namespace brevora::conduit
