#include "slides/sdk_presentation.h"

#include <utility>

#include "core/application.h"
#include "core/file_mode.h"
#include "core/session.h"
#include "office/addin_session.h"
#include "office/desktop_windows.h"
#include "office/office_app.h"
#include "office/office_object.h"
#include "platform/automation/call_by_name.h"
#include "platform/automation/class_registry.h"
#include "platform/automation/convert.h"
#include "platform/error/error.h"
#include "platform/fs/files.h"
#include "platform/fs/paths.h"
#include "slides/powerpoint_app.h"
#include "slides/presentation.h"

namespace brevora::slides {
namespace {

const ClassRegistration kRegistration(SDK_Presentation::kProgId, SDK_Presentation::kClsid,
                                      [] { return Ref<Dispatch>(MakeRef<SDK_Presentation>()); });

// The public methods' error handlers: source and message.
struct Handler {
  const char* source;
  const char* message;
};
constexpr Handler kPPTToPDBExt{"SDK.PPTToPDB", "Error converting from PPT to PDB."};
constexpr Handler kCopyPDBToDesktop{"SDK.PDBToSLD", "Error converting from PDB to SLD."};
constexpr Handler kCopyPDBToExternal{"SDK.PDBToSLDExt_Sync", "Error converting from PDB to SLD."};
constexpr Handler kDesktopPDBToExternal{"SDK.SLDToPDB", "Error converting from SLD To PDB."};
constexpr Handler kDesktopPDBToPPT{"SDK.DesktopPDBToPPT", "Error converting from SLD To PDB."};
constexpr Handler kPDBToPPTExt{"SDK.PDBToPPT", "Error converting from PDB To PPT."};
constexpr Handler kOpenPPTPresentation{"SDK.OpenPPTPresentation", "Error opening Presentation."};
constexpr Handler kOpenPresentation{"SDK.OpenPresentation", "Error opening Presentation."};
constexpr Handler kRemoveFromUser{"SDK.RemoveFromUser", "Error removing from user."};
constexpr Handler kSavePresentation{"SDK.SavePresentation", "Error saving Presentation."};
constexpr Handler kPPTToPDBExtSync{"SDK.PPTToSLDExt", "Error converting PPT to SLD."};
constexpr Handler kPDBToPPTExtSync{"SDK.SLDToPPTExt_Sync", "Error converting SLD to PPT."};
constexpr Handler kPPTToPDB{"SDK.PPTToSLD", "Error converting PPT to SLD."};

// The handler's error for an open step that answered False without an error.
[[noreturn]] void RaiseNotOpened(const Handler& handler) {
  RaiseError(kWrapError, handler.source, std::string(handler.message) + "\r\n");
}

}  // namespace

const MemberTable<SDK_Presentation>& SDK_Presentation::Members() {
  using M = CallKind;
  using S = SDK_Presentation;
  static const MemberTable<SDK_Presentation> table{
      {"PPTToPDBExt", M::Method, [](S& s, Args a) { s.PPTToPDBExt(CStr(a[0]), CStr(a[1])); }, 2},
      {"copyPDBToDesktop", M::Method,
       [](S& s, Args a) { s.CopyPDBToDesktop(CStr(a[0]), CStr(a[1]), CStr(a[2]), CStr(a[3])); }, 4},
      {"copyPDBToExternal", M::Method,
       [](S& s, Args a) { s.CopyPDBToExternal(CStr(a[0]), CStr(a[1])); }, 2},
      {"DesktopPDBToExternal", M::Method,
       [](S& s, Args a) { s.DesktopPDBToExternal(CStr(a[0]), CStr(a[1]), CStr(a[2]), CStr(a[3])); },
       4},
      {"DesktopPDBToPPT", M::Method,
       [](S& s, Args a) { s.DesktopPDBToPPT(CStr(a[0]), CStr(a[1]), CStr(a[2]), CStr(a[3])); }, 4},
      {"PDBToPPTExt", M::Method, [](S& s, Args a) { s.PDBToPPTExt(CStr(a[0]), CStr(a[1])); }, 2},
      {"OpenPPTPresentation", M::Method, [](S& s, Args a) { s.OpenPPTPresentation(CStr(a[0])); },
       1},
      {"OpenPresentation", M::Method,
       [](S& s, Args a) { s.OpenPresentation(CStr(a[0]), CStr(a[1]), CStr(a[2])); }, 3},
      {"RemoveFromUser", M::Method,
       [](S& s, Args a) { s.RemoveFromUser(CStr(a[0]), CStr(a[1]), CStr(a[2])); }, 3},
      {"SavePresentation", M::Method,
       [](S& s, Args a) { s.SavePresentation(CStr(a[0]), CStr(a[1]), CStr(a[2])); }, 3},
      {"Session", M::Set, [](S& s, Args a) { s.SetSession(ObjectOrNothing<core::Session>(a[0])); }},
      {"Session", M::Get, [](S& s, Args) { return Variant(s.Session()); }},
      {"PPTToPDBExt_Sync", M::Method,
       [](S& s, Args a) { s.PPTToPDBExtSync(CStr(a[0]), CStr(a[1]), CStr(a[2])); }, 3},
      {"PDBToPPTExt_Sync", M::Method,
       [](S& s, Args a) { s.PDBToPPTExtSync(CStr(a[0]), CStr(a[1]), CStr(a[2])); }, 3},
      {"PPTToPDB", M::Method,
       [](S& s, Args a) { s.PPTToPDB(CStr(a[0]), CStr(a[1]), CStr(a[2]), CStr(a[3])); }, 4},
      {"Refresh", M::Method, [](S& s, Args) { s.Refresh(); }}};
  return table;
}

SDK_Presentation::SDK_Presentation() = default;
SDK_Presentation::~SDK_Presentation() = default;

void SDK_Presentation::SetSession(Ref<core::Session> session) { HoldSession(std::move(session)); }

// ---- In process ---------------------------------------------------------------------

namespace {

Ref<Presentation> NewPresentation(const Ref<core::Session>& session) {
  Ref<Presentation> p = MakeRef<Presentation>();
  p->SetSession(session);
  return p;
}

}  // namespace

void SDK_Presentation::PPTToPDBExt(std::string_view pptFileName, std::string_view pdbFileName) {
  RunWrapped(kPPTToPDBExt.source, kPPTToPDBExt.message, [&] {
    Ref<Presentation> p = NewPresentation(App().Session());
    if (!p->OpenFromPPT(pptFileName)) RaiseNotOpened(kPPTToPDBExt);
    p->WriteToPDB(pdbFileName);
  });
}

void SDK_Presentation::PDBToPPTExt(std::string_view pdbFileName, std::string_view pptFileName) {
  RunWrapped(kPDBToPPTExt.source, kPDBToPPTExt.message, [&] {
    Ref<Presentation> p = NewPresentation(App().Session());
    if (p->OpenFromPDB(pdbFileName)) PDBToPPTExtSync(pdbFileName, pptFileName, "");
  });
}

void SDK_Presentation::CopyPDBToDesktop(std::string_view pdbFile, std::string_view user,
                                        std::string_view category, std::string_view presentation) {
  RunWrapped(kCopyPDBToDesktop.source, kCopyPDBToDesktop.message, [&] {
    Ref<slides::Presentation> p = NewPresentation(App().Session());
    if (p->OpenFromPDB(pdbFile)) p->WriteToUser(user, category, presentation);
  });
}

void SDK_Presentation::CopyPDBToExternal(std::string_view pdbFile, std::string_view sldFile) {
  RunWrapped(kCopyPDBToExternal.source, kCopyPDBToExternal.message, [&] {
    // Any database may be dropped on the window; only presentations are copied.
    if (!Presentation::FileIsPresentation(pdbFile)) return;
    Ref<Presentation> p = NewPresentation(App().Session());
    if (p->OpenFromPDB(pdbFile)) p->WriteToDisk(sldFile);
  });
}

void SDK_Presentation::DesktopPDBToExternal(std::string_view user, std::string_view category,
                                            std::string_view presentation,
                                            std::string_view databaseFile) {
  RunWrapped(kDesktopPDBToExternal.source, kDesktopPDBToExternal.message, [&] {
    Ref<Presentation> p = NewPresentation(App().Session());
    if (!p->OpenFromUser(user, category, presentation)) RaiseNotOpened(kDesktopPDBToExternal);
    p->WriteToPDB(databaseFile);
  });
}

void SDK_Presentation::DesktopPDBToPPT(std::string_view user, std::string_view category,
                                       std::string_view presentation, std::string_view pptFile) {
  RunWrapped(kDesktopPDBToPPT.source, kDesktopPDBToPPT.message, [&] {
    Ref<Presentation> p = NewPresentation(App().Session());
    if (!p->OpenFromUser(user, category, presentation)) RaiseNotOpened(kDesktopPDBToPPT);
    p->WriteToPPT(pptFile);
  });
}

void SDK_Presentation::RemoveFromUser(std::string_view user, std::string_view category,
                                      std::string_view presentation) {
  try {
    core::Application& app = App();
    app.SetFileMode(core::kSlidoraMode);
    if (!user.empty()) app.SetCurrentUser(user);
    // The names come from callers: they must not lead out of the user's folder.
    if (!(category.empty() || fs::IsPlainName(category)) || !fs::IsPlainName(presentation)) {
      RaiseError(kWrapError, kRemoveFromUser.source,
                 "Invalid category or presentation name: '" + std::string(category) + "', '" +
                     std::string(presentation) + "'.");
    }
    const std::string folder = app.HomeDirectory() + std::string(category);
    const std::string name = core::AddFileModeExtension(presentation, core::kSlidoraMode);
    RemoveStoredFile((category.empty() ? folder : folder + "/") + name);
    Refresh();
  } catch (...) {
    // Every error, 32760 included, gets this method's message in front.
    throw WrapAlways(CurrentError(), kRemoveFromUser.source, kRemoveFromUser.message);
  }
}

void SDK_Presentation::Refresh() { RefreshDesktop("SDK.Refresh", "  Please close and reopen  "); }

// ---- Inside PowerPoint -----------------------------------------------------------------

void SDK_Presentation::OpenPPTPresentation(std::string_view file) {
  RunWrapped(kOpenPPTPresentation.source, kOpenPPTPresentation.message, [&] {
    powerpoint::PowerPointObject ppt = powerpoint::GetPowerPointObject();
    Dispatch& app = *ppt.app;
    ShowPowerPoint(app);
    const Variant presentations = CallByName(app, "Presentations", CallKind::Get);
    CallByName(ObjectOf(presentations), "Open", CallKind::Method, file);
    ppt.holder.LeaveRunning();  // the user works on in it
  });
}

void SDK_Presentation::OpenPresentation(std::string_view user, std::string_view category,
                                        std::string_view presentation) {
  RunWrapped(kOpenPresentation.source, kOpenPresentation.message, [&] {
    RunSequence(Use::Open, "OpenPresentation", {Variant(category), Variant(presentation)}, user);
  });
}

void SDK_Presentation::SavePresentation(std::string_view user, std::string_view category,
                                        std::string_view presentation) {
  RunWrapped(kSavePresentation.source, kSavePresentation.message, [&] {
    RunSequence(Use::Save, "SavePresentation", {Variant(category), Variant(presentation)}, user);
  });
}

void SDK_Presentation::PPTToPDBExtSync(std::string_view pptFile, std::string_view sldFile,
                                       std::string_view link) {
  RunWrapped(kPPTToPDBExtSync.source, kPPTToPDBExtSync.message, [&] {
    RunSequence(Use::Sync, "PPTToPDBExt", {Variant(pptFile), Variant(sldFile), Variant(link)}, {});
  });
}

void SDK_Presentation::PDBToPPTExtSync(std::string_view sldFile, std::string_view pptFile,
                                       std::string_view options) {
  RunWrapped(kPDBToPPTExtSync.source, kPDBToPPTExtSync.message, [&] {
    RunSequence(Use::Sync, "PDBToPPTExt", {Variant(sldFile), Variant(pptFile), Variant(options)},
                {});
  });
}

void SDK_Presentation::PPTToPDB(std::string_view pptFile, std::string_view user,
                                std::string_view category, std::string_view presentation) {
  RunWrapped(kPPTToPDB.source, kPPTToPDB.message, [&] {
    RunSequence(Use::Sync, "PPTToPDB", {Variant(pptFile), Variant(category), Variant(presentation)},
                user);
  });
}

office::OfficeObject SDK_Presentation::TakePowerPoint(Use use) {
  if (use == Use::Sync && OperationSession().IsServerMode())
    return powerpoint::PowerPointFromPool();
  return powerpoint::GetPowerPointObject();
}

Variant SDK_Presentation::RunSequence(Use use, const char* macro, std::vector<Variant> args,
                                      std::string_view user) {
  core::Session& session = OperationSession();
  // Given back on every path by how it was obtained (see the class comment).
  powerpoint::PowerPointObject ppt = TakePowerPoint(use);
  const Ref<Dispatch> app = ppt.app;
  // Only a PowerPoint this call started is hidden: the user's own stays as it is.
  if (use != Use::Open && ppt.holder.Origin() == office::OfficeAppOrigin::Started) {
    HidePowerPointWindow(*app);
  }
  powerpoint::OpenAddIn(*app);
  if (!user.empty()) App().SetCurrentUser(user);
  office::ClearErrorSlot(session);
  powerpoint::SetSession(*app, session);
  const Variant result = powerpoint::RunMacro(*app, macro, args);
  powerpoint::GetSession(*app, session);
  if (use != Use::Save) powerpoint::DeleteSession(*app);
  if (use == Use::Sync) {
    ppt.holder.Release();
  } else {
    if (CBool(result)) ShowPowerPoint(*app);
    ppt.holder.LeaveRunning();
  }
  office::RaiseErrorSlot(session);
  return result;
}

void SDK_Presentation::HidePowerPointWindow(Dispatch& app) {
  const std::string windowClass = powerpoint::MainWindowClass(powerpoint::PowerPointVersion(app));
  if (windowClass.empty()) return;
  // No window of another program can be hidden by its class here; the request
  // is recorded.
  hiddenWindowClasses_.push_back(windowClass);
}

void SDK_Presentation::ShowPowerPoint(Dispatch& app) {
  CallByName(app, "Visible", CallKind::Let, true);
  CallByName(app, "WindowState", CallKind::Let, powerpoint::kWindowNormal);
}

}  // namespace brevora::slides
