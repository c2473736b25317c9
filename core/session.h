#pragma once
// Session ("TabulynPC.Session"): the settings of one piece of work and the
// factory of the document objects, the converters and the application object.
//
// It holds the file mode, three free parameters, the error slot the Office
// add-ins fill and the settings key. The current user and the server-mode
// settings live in the user manager, which all Sessions of a thread share, so
// setting them through any Session changes them for the whole thread.
//
// The first Session of a thread (the one module start-up makes, gSession) builds
// the user manager and reads the server settings. Every further Session copies
// the file mode and settings key from gSession and shares its user manager; the
// server settings and the user come with it as they are, nothing is assigned
// again (so making a Session never turns server mode on or writes the registry).
#include <cstdint>
#include <string>
#include <string_view>

#include "platform/automation/member_table.h"
#include "platform/automation/variant.h"

namespace brevora::core {

class Application;
class UserManager;

class Session : public Dispatchable<Session> {
 public:
  static constexpr const char* kProgId = "TabulynPC.Session";
  static constexpr const char* kClsid = "{3C0F6A52-8E1B-4D27-9A64-2B5E7C1D0A01}";
  static constexpr const char* kRegistryKey = "Software\\Orvanex\\Tabulyn";

  static const MemberTable<Session>& Members();

  // A new Session on this thread; starts the module first when it has not run
  // on this thread. Raises what building the user manager raises.
  Session();
  ~Session() override;

  const std::string& ErrorMessage() const { return errorMessage_; }
  void SetErrorMessage(std::string message) { errorMessage_ = std::move(message); }
  int32_t ErrorNumber() const { return errorNumber_; }
  void SetErrorNumber(int32_t number) { errorNumber_ = number; }

  // FileMode: 0 spreadsheets, 1 documents, 2 presentations; not checked.
  int32_t FileMode() const { return fileMode_; }
  void SetFileMode(int32_t mode) { fileMode_ = mode; }

  // Factories: a new object on every call, its Session set to this one. The
  // document and converter classes are created by ProgID ("TabulynPC.Workbook",
  // ...); while a class is not available the call fails with 429.
  Ref<Dispatch> GetDocument();
  Ref<Dispatch> GetPresentation();
  Ref<Dispatch> GetSDK();
  Ref<Dispatch> GetSDKDocument();
  Ref<Dispatch> GetWorkbook();
  Ref<Application> GetTabrelPC();

  // Server settings, kept by the user manager's PalmDesktop.
  bool IsRivorOdurovMode() const;
  bool IsServerMode() const;
  void SetIsServerMode(bool value);
  std::string RivorOdurovFriendlyName() const;
  // Also turns server mode on and writes "ZazerConduit" when not empty.
  void SetRivorOdurovFriendlyName(std::string_view name);

  // Takes the file mode, user manager and settings key of gSession.
  void LoadGlobalSettings();

  const Variant& Parameter1() const { return parameters_[0]; }
  const Variant& Parameter2() const { return parameters_[1]; }
  const Variant& Parameter3() const { return parameters_[2]; }
  void SetParameter1(Variant value) { parameters_[0] = std::move(value); }
  void SetParameter2(Variant value) { parameters_[1] = std::move(value); }
  void SetParameter3(Variant value) { parameters_[2] = std::move(value); }

  // The current user's id and name (0 and "" when none is current). A non-zero
  // id or non-empty name selects that user (nothing when no user matches); 0 and
  // "" change nothing.
  int32_t UserID() const;
  void SetUserID(int32_t id);
  std::string UserName() const;
  void SetUserName(std::string_view name);

  const Ref<UserManager>& GetUserManager() const { return userManager_; }

  // The settings key under HKEY_CURRENT_USER (for the front end; not late-bound).
  const std::string& RegistryKey() const { return registryKey_; }

 private:
  void InitFirstSession();
  Ref<Dispatch> CreateBound(std::string_view progId);
  UserManager& Users() const;

  Ref<UserManager> userManager_;
  int32_t fileMode_ = 0;
  std::string registryKey_;
  Variant parameters_[3];
  int32_t errorNumber_ = 0;
  std::string errorMessage_;
};

}  // namespace brevora::core
