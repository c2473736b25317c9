#include "doc/word_application.h"

#include <cmath>

#include "core/addin_session.h"
#include "core/desktop_windows.h"
#include "core/office_addin.h"
#include "platform/automation/call_by_name.h"
#include "platform/automation/convert.h"
#include "platform/automation/error.h"

namespace brevora::doc {

namespace {

constexpr int kMessageLoopRuns = 50;

constexpr const char* kAddInNotInstalled =
    "The Scrivane add-in is not installed.  Please install the Scrivane add-in using Word / Tools | "
    "Add-Ins to load SCRIV(5)(7)(8).DOT prior to using this function.";

Ref<Dispatch> ObjectRef(const Variant& v) { return Ref<Dispatch>(&ObjectOf(v)); }

}  // namespace

WordObject GetWordObject() {
  try {
    core::OfficeApp held = core::AcquireOfficeApplication(kWordProgId, false);
    if (held.Origin() == core::OfficeAppOrigin::Started) {
      CallByName(held.App(), "Visible", CallKind::Let, false);
      for (int i = 0; i < kMessageLoopRuns; ++i) core::DoEvents();
    }
    if (GetWordVersion(*held.App()) < kMinimumWordVersion) {
      // A Word we started for nothing is quit by the holder on the way out.
      RaiseError(kWrapError, "SDK_DOCUMENT.GetWordObject",
                 "This API requires Word " + std::to_string(kMinimumWordVersion) + " or newer.");
    }
    Ref<Dispatch> app = ObjectRef(CallByName(held.App(), "Application", CallKind::Get));
    return WordObject{std::move(held), std::move(app)};
  } catch (...) {
    throw Wrap32760(CurrentError(), "SDK_Document.GetWordObject", "Could not get word object.");
  }
}

WordObject WordFromPool() {
  core::OfficeApp held = core::AcquireOfficeApplication(kWordProgId, true);
  Ref<Dispatch> app = held.App();
  return WordObject{std::move(held), std::move(app)};
}

int16_t GetWordVersion(Dispatch& word) {
  try {
    const double version = core::LeadingNumber(CStr(CallByName(word, "Version", CallKind::Get)));
    return DoubleToInteger(std::trunc(version));
  } catch (...) {
    throw Wrap32760(CurrentError(), "SDK_Document.GetWordVersion", "Could not get word version.");
  }
}

std::string AddInName(Dispatch& word) {
  try {
    switch (GetWordVersion(word)) {
      case 5: return "scriv5.dot";
      case 7: return "scriv7.dot";
      default: return "scriv8.dot";
    }
  } catch (...) {
    throw Wrap32760(CurrentError(), "SDK_Document.AddInName", "Could not get add-in name.");
  }
}

void OpenAddIn(Dispatch& word) {
  try {
    const core::OfficeAddInSearch search{.prefix = "SCRIV",
                                         .folderProperty = "StartupPath",
                                         .commandKey = "Word.AddIn\\shell\\open\\command",
                                         .programName = "\\winword.exe",
                                         .subFolder = "\\Startup",
                                         .fileName = [&word] { return AddInName(word); }};
    const core::OfficeAddIn found = core::FindOfficeAddIn(word, search);
    if (found.place == core::OfficeAddInPlace::Listed) return;  // loaded already
    if (found.place == core::OfficeAddInPlace::NotFound) RaiseError(kWrapError, "SDK_Document", kAddInNotInstalled);
    const Variant documents = CallByName(word, "Documents", CallKind::Get);
    CallByName(ObjectOf(documents), "Open", CallKind::Method, found.path);
  } catch (...) {
    throw Wrap32760(CurrentError(), "SDK_Document.OpenAddIn", "Could not open SCRIV add-in");
  }
}

}  // namespace brevora::doc
