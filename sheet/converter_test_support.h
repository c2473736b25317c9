#pragma once
// Test support for the spreadsheet converter: a recording fake Excel (from
// testing/fake_office.h) with the suite's add-in listed in its AddIns and the
// add-in's macros as callbacks. The fake add-in keeps the Session values that
// "SetSession" hands it and gives them back through "GetSession" (by
// reference), as the real one does; a conversion macro reports a failure by
// setting the error slot of those kept values.
#include <array>
#include <functional>
#include <memory>
#include <string>

#include "office/session_values.h"
#include "platform/automation/convert.h"
#include "testing/fake_office.h"
#include "testing/temp_home.h"

namespace brevora::sheet::testing {

using ::brevora::testing::FakeOfficeApp;
using ::brevora::testing::OfficeScript;

inline constexpr const char* kExcel = "Excel.Application";

struct FakeExcel {
  using MacroFn = std::function<Variant(Args args)>;

  explicit FakeExcel(std::string version = "9.0", bool listAddIn = true)
      : script(std::make_shared<OfficeScript>()), app(MakeRef<FakeOfficeApp>(script)) {
    app->version = version;
    addInFile = AddInFileOf(version);
    addInPath = ::brevora::testing::MakeTempDir("Office") + "/" + addInFile;
    if (listAddIn) app->addIns->List(addInPath);
    Macro("SetSession", [this](Args a) {
      for (size_t i = 0; i < session.size(); ++i) session[i] = a[i];
      return Variant();
    });
    Macro("GetSession", [this](Args a) {
      for (size_t i = 0; i < session.size(); ++i) a[i] = session[i];
      return Variant();
    });
  }

  static std::string AddInFileOf(const std::string& version) {
    const int major = std::stoi(version);
    return major == 5 ? "tabrel5.xla" : major == 7 ? "tabrel7.xla" : "tabrel8.xla";
  }

  // Registers an add-in macro by its plain name.
  void Macro(const std::string& name, MacroFn macro) {
    app->SetMacro(addInFile + "!" + name, [macro](FakeOfficeApp&, Args a) { return macro(a); });
  }
  // The add-in's error slot, as a macro sets it.
  void SetError(int32_t number, const std::string& message) {
    session[8] = Variant(message);
    session[9] = Variant(number);
  }

  std::shared_ptr<OfficeScript> script;
  Ref<FakeOfficeApp> app;
  std::string addInFile;
  std::string addInPath;
  std::array<Variant, office::kSessionValueCount> session;
};

}  // namespace brevora::sheet::testing
