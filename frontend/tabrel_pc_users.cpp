// TabrelPC: the current user's name and id as the add-ins set and read them,
// the cell-count warning threshold and which products are installed.
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <string>
#include <vector>

#include "core/registry_helpers.h"
#include "core/session.h"
#include "core/user_manager.h"
#include "frontend/tabrel_pc.h"
#include "platform/error/error.h"
#include "platform/hotsync/user_install.h"

namespace brevora::frontend {
namespace {

constexpr const char* kUserName = "UserName";
constexpr const char* kUserID = "UserID";
constexpr const char* kCellWarn = "CellWarn";
constexpr int32_t kDefaultCellWarn = 1500;
constexpr int32_t kNotInstalledError = kObjectError + 1;

// The number a stored "UserID" text starts with: blanks, an optional sign and
// the digits up to the first other character. No digits, or a number outside
// 32 bits, is no user id: 0.
int32_t LeadingNumber(const std::string& text) {
  std::size_t i = text.find_first_not_of(' ');
  if (i == std::string::npos) return 0;
  bool negative = false;
  if (text[i] == '+' || text[i] == '-') negative = text[i++] == '-';
  long long value = 0;
  for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
    value = value * 10 + (text[i] - '0');
    if (value > static_cast<long long>(INT32_MAX) + 1) return 0;
  }
  if (negative) value = -value;
  return value < INT32_MIN || value > INT32_MAX ? 0 : static_cast<int32_t>(value);
}

// The process's current folder, put back on request (the Palm user calls may
// move it on other systems; the folder the caller had is kept whatever they do).
class CurrentFolder {
 public:
  CurrentFolder() {
    std::vector<char> buffer(PATH_MAX);
    if (getcwd(buffer.data(), buffer.size())) path_ = buffer.data();
  }
  void Restore() const {
    if (!path_.empty() && chdir(path_.c_str()) != 0) {
      // Nothing to go back to (the folder was removed): stay where we are.
    }
  }

 private:
  std::string path_;
};

bool ProductInstalled(const char* productKey) {
  try {
    return !core::GetRegistryString(productKey, "Version").empty();
  } catch (...) {
    return false;
  }
}

}  // namespace

void TabrelPC::SetUserName(std::string_view name) {
  core::Session& session = S();
  if (!session.IsServerMode() && !session.GetUserManager()->GetNokiaDesktop()->IsInstalled()) {
    RaiseError(380, "Brevora",
               "Do not Let the UserName property unless using RivorOdurov or Nokia Desktop.");
  }
  core::SetRegistryString(session.RegistryKey(), kUserName, Variant(std::string(name)));
  session.SetUserName(name);
}

std::string TabrelPC::UserName() {
  core::Session& session = S();
  if (session.UserName().empty()) {
    session.SetUserName(core::GetRegistryString(session.RegistryKey(), kUserName));
  }
  return session.UserName();
}

void TabrelPC::SetUserID(int32_t id) {
  const CurrentFolder folder;
  core::Session& session = S();
  core::SetRegistryString(session.RegistryKey(), kUserID, Variant(std::to_string(id)));
  session.SetUserID(id);
  core::UserManager& users = *session.GetUserManager();
  if (!users.GetPalmDesktop()->IsInstalled() || session.IsRivorOdurovMode() ||
      users.GetNokiaDesktop()->IsInstalled()) {
    return;
  }
  if (UmIsUserInstalled(id) == 1) return;
  if (UmSetUserInstall(id, 1) >= 0) {
    users.ReloadUsers();  // the Palm users again, the one just installed among them
    session.SetUserID(id);
    return;
  }
  users.SetCurrentUser(nullptr);  // no user is current: UserID reads 0
  folder.Restore();
  RaiseError(
      kNotInstalledError, "Brevora",
      "This user id '" + std::to_string(id) +
          "' is not properly installed.  Try changing to a different user in the 'User:' list "
          "and check the user configuration using Palm Desktop.");
}

int32_t TabrelPC::UserID() {
  core::Session& session = S();
  if (session.UserID() != 0) return session.UserID();
  const int32_t stored = LeadingNumber(core::GetRegistryString(session.RegistryKey(), kUserID));
  core::UserManager& users = *session.GetUserManager();
  if (!users.GetPalmDesktop()->IsInstalled()) return 0;
  if (UmIsUserInstalled(stored) == 1) {
    session.SetUserID(stored);
    return stored;
  }
  if (!users.GetNokiaDesktop()->IsInstalled()) users.SetCurrentUser(nullptr);
  return 0;
}

int32_t TabrelPC::WarnThreshold() const {
  const int32_t value = core::GetRegistryWord(S().RegistryKey(), kCellWarn, 0);
  return value == 0 ? kDefaultCellWarn : value;
}

void TabrelPC::SetWarnThreshold(int32_t value) {
  core::SetRegistryWord(S().RegistryKey(), kCellWarn, std::to_string(value));
}

bool TabrelPC::InstalledTabulyn() const { return ProductInstalled("Software\\Orvanex\\Tabulyn"); }
bool TabrelPC::InstalledScrivane() const { return ProductInstalled("Software\\Orvanex\\Scrivane"); }
bool TabrelPC::InstalledSlidora() const { return ProductInstalled("Software\\Orvanex\\Slidora"); }

}  // namespace brevora::frontend
