#include "core/session.h"

#include "core/application.h"
#include "core/module_state.h"
#include "core/palm_desktop.h"
#include "core/registry_helpers.h"
#include "core/user_manager.h"
#include "platform/automation/class_registry.h"
#include "platform/automation/convert.h"
#include "platform/error/error.h"

namespace brevora::core {

namespace {

constexpr const char* kConduitKey = "Software\\Orvanex";
constexpr const char* kConduitValue = "ZazerConduit";

const ClassRegistration registration(Session::kProgId, Session::kClsid,
                                     [] { return Ref<Dispatch>(MakeRef<Session>()); });

}  // namespace

const MemberTable<Session>& Session::Members() {
  using M = CallKind;
  static const MemberTable<Session> table{
      {"ErrorMessage", M::Let, [](Session& s, Args a) { s.SetErrorMessage(CStr(a[0])); }},
      {"ErrorMessage", M::Get, [](Session& s, Args) { return Variant(s.ErrorMessage()); }},
      {"ErrorNumber", M::Let, [](Session& s, Args a) { s.SetErrorNumber(CLng(a[0])); }},
      {"ErrorNumber", M::Get, [](Session& s, Args) { return Variant(s.ErrorNumber()); }},
      {"GetDocument", M::Method, [](Session& s, Args) { return Variant(s.GetDocument()); }},
      {"GetPresentation", M::Method, [](Session& s, Args) { return Variant(s.GetPresentation()); }},
      {"GetSDK", M::Method, [](Session& s, Args) { return Variant(s.GetSDK()); }},
      {"GetSDK_Document", M::Method, [](Session& s, Args) { return Variant(s.GetSDKDocument()); }},
      {"GetWorkbook", M::Method, [](Session& s, Args) { return Variant(s.GetWorkbook()); }},
      {"FileMode", M::Let, [](Session& s, Args a) { s.SetFileMode(CLng(a[0])); }},
      {"FileMode", M::Get, [](Session& s, Args) { return Variant(s.FileMode()); }},
      {"GetTabrelPC", M::Method, [](Session& s, Args) { return Variant(s.GetTabrelPC()); }},
      {"IsRivorOdurovMode", M::Get,
       [](Session& s, Args) { return Variant(s.IsRivorOdurovMode()); }},
      {"IsServerMode", M::Let, [](Session& s, Args a) { s.SetIsServerMode(CBool(a[0])); }},
      {"IsServerMode", M::Get, [](Session& s, Args) { return Variant(s.IsServerMode()); }},
      {"LoadGlobalSettings", M::Method, [](Session& s, Args) { s.LoadGlobalSettings(); }},
      {"Parameter2", M::Let, [](Session& s, Args a) { s.SetParameter2(a[0]); }},
      {"Parameter2", M::Get, [](Session& s, Args) { return s.Parameter2(); }},
      {"Parameter3", M::Let, [](Session& s, Args a) { s.SetParameter3(a[0]); }},
      {"Parameter3", M::Get, [](Session& s, Args) { return s.Parameter3(); }},
      {"Parameter1", M::Let, [](Session& s, Args a) { s.SetParameter1(a[0]); }},
      {"Parameter1", M::Get, [](Session& s, Args) { return s.Parameter1(); }},
      {"RivorOdurovFriendlyName", M::Let,
       [](Session& s, Args a) { s.SetRivorOdurovFriendlyName(CStr(a[0])); }},
      {"RivorOdurovFriendlyName", M::Get,
       [](Session& s, Args) { return Variant(s.RivorOdurovFriendlyName()); }},
      {"UserID", M::Let, [](Session& s, Args a) { s.SetUserID(CLng(a[0])); }},
      {"UserID", M::Get, [](Session& s, Args) { return Variant(s.UserID()); }},
      {"UserManager", M::Get, [](Session& s, Args) { return Variant(s.GetUserManager()); }},
      {"UserName", M::Let, [](Session& s, Args a) { s.SetUserName(CStr(a[0])); }},
      {"UserName", M::Get, [](Session& s, Args) { return Variant(s.UserName()); }}};
  return table;
}

Session::Session() {
  EnsureModuleStarted();
  if (Module().gSession) {
    LoadGlobalSettings();
  } else {
    InitFirstSession();  // the thread's global Session, made by Main
  }
}

Session::~Session() = default;

void Session::InitFirstSession() {
  userManager_ = MakeRef<UserManager>();
  registryKey_ = kRegistryKey;
  fileMode_ = 0;
  if (userManager_->GetPalmDesktop()->RivorOdurovInstalled()) {
    SetRivorOdurovFriendlyName(GetRegistryString(kConduitKey, kConduitValue));
  } else {
    SetRivorOdurovFriendlyName("");
    SetIsServerMode(false);
  }
}

void Session::LoadGlobalSettings() {
  const Ref<Session> global = Module().gSession;
  if (!global) RaiseRuntimeError(91);
  if (global.get() == this) return;
  // Copied as they are: the user and the server settings come with the shared
  // user manager. Assigning them again through the setters would switch server
  // mode back on for the whole thread and rewrite the registry.
  fileMode_ = global->fileMode_;
  userManager_ = global->userManager_;
  registryKey_ = global->registryKey_;
}

Ref<Dispatch> Session::CreateBound(std::string_view progId) {
  Ref<Dispatch> object = CreateObject(progId);
  Variant self[] = {Variant(Ref<Session>(this))};
  object->Invoke("Session", CallKind::Set, self);
  return object;
}

Ref<Dispatch> Session::GetDocument() { return CreateBound("TabulynPC.Document"); }
Ref<Dispatch> Session::GetPresentation() { return CreateBound("TabulynPC.Presentation"); }
Ref<Dispatch> Session::GetSDK() { return CreateBound("TabulynPC.SDK"); }
Ref<Dispatch> Session::GetSDKDocument() { return CreateBound("TabulynPC.SDK_Document"); }
Ref<Dispatch> Session::GetWorkbook() { return CreateBound("TabulynPC.Workbook"); }

Ref<Application> Session::GetTabrelPC() {
  Ref<Application> app = NewApplication();
  app->SetSession(Ref<Session>(this));
  return app;
}

UserManager& Session::Users() const {
  if (!userManager_) RaiseRuntimeError(91);
  return *userManager_;
}

bool Session::IsRivorOdurovMode() const { return Users().GetPalmDesktop()->IsRivorOdurovMode(); }
bool Session::IsServerMode() const { return Users().GetPalmDesktop()->IsServerMode(); }
void Session::SetIsServerMode(bool value) { Users().GetPalmDesktop()->SetIsServerMode(value); }

std::string Session::RivorOdurovFriendlyName() const {
  return Users().GetPalmDesktop()->RivorOdurovFriendlyName();
}

void Session::SetRivorOdurovFriendlyName(std::string_view name) {
  Users().GetPalmDesktop()->SetRivorOdurovFriendlyName(name);
}

int32_t Session::UserID() const { return Users().CurrentUser()->UID(); }

void Session::SetUserID(int32_t id) {
  if (id == 0) return;
  Users().SetCurrentUser(Users().GetUserByID(id));
}

std::string Session::UserName() const { return Users().CurrentUser()->UserName(); }

void Session::SetUserName(std::string_view name) {
  if (name.empty()) return;
  Users().SetCurrentUser(Users().GetUserByName(name));
}

}  // namespace brevora::core
