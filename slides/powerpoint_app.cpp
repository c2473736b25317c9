#include "slides/powerpoint_app.h"

#include <span>

#include "core/session.h"
#include "office/addin_session.h"
#include "office/office_addin.h"
#include "office/session_values.h"
#include "platform/automation/call_by_name.h"
#include "platform/automation/convert.h"
#include "platform/error/error.h"

namespace brevora::slides::powerpoint {
namespace {

constexpr int16_t kOldestVersion = 6;
constexpr int16_t kSessionMacroVersion = 8;
constexpr int32_t kSubscriptOutOfRange = 9;

}  // namespace

std::string AddInFileName() { return kAddInFileName; }

int16_t PowerPointVersion(Dispatch& app) {
  return RunWrapped("SDK.GetPowerPointVersion", "Cannot get PowerPoint version.", [&] {
    const std::string version = CStr(CallByName(app, "Version", CallKind::Get));
    return DoubleToInteger(office::LeadingNumber(version));
  });
}

PowerPointObject GetPowerPointObject() {
  return RunWrapped("GetPowerPointObject", "Error getting PowerPoint object.", [] {
    office::OfficeApp office = office::AcquireOfficeApplication(kProgId, /*serverMode=*/false);
    Dispatch& app = *office.App();
    if (office.Origin() == office::OfficeAppOrigin::Started) {
      CallByName(app, "WindowState", CallKind::Let, kWindowMinimized);
    }
    // Also for a PowerPoint that was running already: an old one can't run the add-in.
    if (PowerPointVersion(app) < kOldestVersion) {
      RaiseError(kWrapError, "SDK.GetPowerPointObject",
                 "This API requires PowerPoint " + std::to_string(kOldestVersion) + " or newer.");
    }
    Ref<Dispatch> held = office.App();
    return PowerPointObject{std::move(office), std::move(held)};
  });
}

PowerPointObject PowerPointFromPool() {
  office::OfficeApp office = office::AcquireOfficeApplication(kProgId, /*serverMode=*/true);
  CallByName(office.App(), "WindowState", CallKind::Let, kWindowMinimized);
  Ref<Dispatch> held = office.App();
  return PowerPointObject{std::move(office), std::move(held)};
}

void OpenAddIn(Dispatch& app) {
  RunWrapped("SDK.OpenAddIn", "Could not open Slidr add-in", [&] {
    const office::OfficeAddInSearch search{"SLIDR",
                                           "Path",
                                           "PowerPoint.AddIn\\shell\\open\\command",
                                           "\\PowerPoint.exe",
                                           "\\Addins",
                                           [] { return AddInFileName(); }};
    const office::OfficeAddIn found = office::FindOfficeAddIn(app, search);
    std::string path = found.path;
    if (found.place == office::OfficeAddInPlace::Listed) {
      path = CStr(CallByName(found.entry, "FullName", CallKind::Get));
    }
    if (path.empty()) {
      RaiseError(kWrapError, "SDK.OpenAddIN",
                 "The Slidora add-in is not installed.  Please install the Slidora add-in using "
                 "PowerPoint / Tools | Add-Ins to load Slidr(5)(7)(8).PPA prior to using this "
                 "file.");
    }
    const Variant addIns = CallByName(app, "AddIns", CallKind::Get);
    CallByName(ObjectOf(addIns), "Add", CallKind::Method, path);
  });
}

Variant RunMacro(Dispatch& app, const std::string& macro, std::vector<Variant>& elements) {
  std::vector<Variant> array;
  array.reserve(elements.size() + 1);
  array.emplace_back();  // element 0 stays empty
  for (Variant& e : elements) array.push_back(std::move(e));
  Variant args[] = {Variant(AddInFileName() + "!" + macro), Variant(std::move(array))};
  Variant result = app.Invoke("Run", CallKind::Method, Args(args));
  // By reference: what the macro left in the array comes back.
  elements.clear();
  if (args[1].type() == VarType::Array) {
    const std::vector<Variant>& back = args[1].AsArray();
    for (size_t i = 1; i < back.size(); ++i) elements.push_back(back[i]);
  }
  return result;
}

void SetSession(Dispatch& app, const core::Session& session) {
  RunWrapped("SDK.SetPPTSession", "Error setting session.", [&] {
    if (PowerPointVersion(app) < kSessionMacroVersion) return;
    const auto values = office::GetSessionValues(session);
    std::vector<Variant> elements(values.begin(), values.end());
    RunMacro(app, "SetSession", elements);
  });
}

void GetSession(Dispatch& app, core::Session& session) {
  RunWrapped("SDK.GetPPTSession", "Error getting session.", [&] {
    // Without the session macros there is nothing to take back: the Session,
    // and so the thread's current user, stays as it is.
    if (PowerPointVersion(app) < kSessionMacroVersion) return;
    std::vector<Variant> elements(office::kSessionValueCount, Variant(""));
    RunMacro(app, "GetSession", elements);
    if (elements.size() < office::kSessionValueCount) RaiseRuntimeError(kSubscriptOutOfRange);
    office::SetSessionValues(session, std::span<const Variant, office::kSessionValueCount>(
                                          elements.data(), office::kSessionValueCount));
  });
}

void DeleteSession(Dispatch& app) {
  RunWrapped("SDK.DeleteSession", "Error deleting Session.", [&] {
    if (PowerPointVersion(app) < kSessionMacroVersion) return;
    CallByName(app, "Run", CallKind::Method, AddInFileName() + "!DeleteSession");
  });
}

std::string MainWindowClass(int16_t version) {
  switch (version) {
    case 8:
      return "PP97FrameClass";
    case 9:
      return "PP9FrameClass";
    case 10:
      return "PP10FrameClass";
    default:
      return {};
  }
}

}  // namespace brevora::slides::powerpoint
