#include "doc/word_application.h"

#include <cmath>

#include "office/addin_session.h"
#include "office/desktop_windows.h"
#include "office/office_addin.h"
#include "platform/automation/call_by_name.h"
#include "platform/automation/convert.h"
#include "platform/error/error.h"

namespace brevora::doc {

namespace {

constexpr int kMessageLoopRuns = 50;

constexpr const char* kAddInNotInstalled =
    "The Scrivane add-in is not installed.  Please install the Scrivane add-in using Word / Tools "
    "| "
    "Add-Ins to load SCRIV(5)(7)(8).DOT prior to using this function.";

Ref<Dispatch> ObjectRef(const Variant& v) { return Ref<Dispatch>(&ObjectOf(v)); }

}  // namespace

WordObject GetWordObject() {
  try {
    office::OfficeApp held = office::AcquireOfficeApplication(kWordProgId, false);
    if (held.Origin() == office::OfficeAppOrigin::Started) {
      CallByName(held.App(), "Visible", CallKind::Let, false);
      for (int i = 0; i < kMessageLoopRuns; ++i) office::DoEvents();
    }
    if (WordVersion(*held.App()) < kMinimumWordVersion) {
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
  office::OfficeApp held = office::AcquireOfficeApplication(kWordProgId, true);
  Ref<Dispatch> app = held.App();
  return WordObject{std::move(held), std::move(app)};
}

int16_t WordVersion(Dispatch& word) {
  try {
    const double version = office::LeadingNumber(CStr(CallByName(word, "Version", CallKind::Get)));
    return DoubleToInteger(std::trunc(version));
  } catch (...) {
    throw Wrap32760(CurrentError(), "SDK_Document.GetWordVersion", "Could not get word version.");
  }
}

std::string AddInName(Dispatch& word) {
  try {
    switch (WordVersion(word)) {
      case 5:
        return "scriv5.dot";
      case 7:
        return "scriv7.dot";
      default:
        return "scriv8.dot";
    }
  } catch (...) {
    throw Wrap32760(CurrentError(), "SDK_Document.AddInName", "Could not get add-in name.");
  }
}

void OpenAddIn(Dispatch& word) {
  try {
    const office::OfficeAddInSearch search{.prefix = "SCRIV",
                                           .folderProperty = "StartupPath",
                                           .commandKey = "Word.AddIn\\shell\\open\\command",
                                           .programName = "\\winword.exe",
                                           .subFolder = "\\Startup",
                                           .fileName = [&word] { return AddInName(word); }};
    const office::OfficeAddIn found = office::FindOfficeAddIn(word, search);
    if (found.place == office::OfficeAddInPlace::Listed) return;  // loaded already
    if (found.place == office::OfficeAddInPlace::NotFound)
      RaiseError(kWrapError, "SDK_Document", kAddInNotInstalled);
    const Variant documents = CallByName(word, "Documents", CallKind::Get);
    CallByName(ObjectOf(documents), "Open", CallKind::Method, found.path);
  } catch (...) {
    throw Wrap32760(CurrentError(), "SDK_Document.OpenAddIn", "Could not open SCRIV add-in");
  }
}

}  // namespace brevora::doc
