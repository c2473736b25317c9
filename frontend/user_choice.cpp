#include "frontend/user_choice.h"

#include "core/session.h"
#include "frontend/tabrel_pc.h"
#include "platform/error/error.h"
#include "platform/services/message_box.h"
#include "platform/text/case.h"

namespace brevora::frontend {
namespace {

constexpr int32_t kNotInstalled = kObjectError + 1;

}  // namespace

std::vector<UserEntry> UserEntries(core::UserManager& users) {
  std::vector<UserEntry> entries;
  const Ref<core::UserCollection> list = users.GetUsers();
  if (!list) return entries;
  for (const Ref<core::DeviceUser>& user : *list) {
    if (user) entries.push_back({user->UserName(), user->UID()});
  }
  return entries;
}

int SelectedUserIndex(const std::vector<UserEntry>& entries, int32_t currentId,
                      const std::string& currentName) {
  if (entries.empty()) return -1;
  int selected = 0;
  for (std::size_t i = 0; i < entries.size(); ++i) {
    if (entries[i].uid == currentId || text::EqualsNoCase(entries[i].name, currentName)) {
      selected = static_cast<int>(i);
    }
  }
  return selected;
}

UserChoice ChooseUser(TabrelPC& app, const std::vector<UserEntry>& entries, int index) {
  UserChoice choice;
  if (index < 0 || index >= static_cast<int>(entries.size())) {
    choice.done = true;  // nothing selected: the lists are refilled all the same
    return choice;
  }
  for (int i = index; i < static_cast<int>(entries.size()); ++i) {
    const UserEntry& entry = entries[i];
    try {
      core::Session& session = *app.Session();
      const Ref<core::DeviceUser> user = session.GetUserManager()->GetUserByName(entry.name);
      choice.index = i;
      if (user && user->UserType() == core::DeviceUser::kPhoneDevice) {
        app.SetUserName(entry.name);
        app.SetUserID(entry.uid);
        choice.phone = true;
      } else if (session.IsRivorOdurovMode()) {
        app.SetUserName(entry.name);
        app.SetUserID(0);
      } else {
        app.SetUserID(entry.uid);
      }
      choice.done = true;
      return choice;
    } catch (...) {
      const AutomationError error = CurrentError();
      const std::string id =
          "This user id '" + std::to_string(entry.uid) + "' is not properly installed.  ";
      if (error.number() != kNotInstalled) {
        services::ShowCritical(error.description());
        return {i, false, false};
      }
      if (i + 1 == static_cast<int>(entries.size())) {
        services::ShowCritical(
            id +
            "Please manually choose another user in the 'User:' list and check your Users in "
            "Palm Desktop.");
        return {i, false, false};
      }
      services::ShowCritical(id + "Automatically switching to the next user in the 'User:' list.");
    }
  }
  return choice;
}

AutomationError LoadUsersError(const AutomationError& error, const std::string& step) {
  if (error.number() == kWrapError) {
    return AutomationError(kWrapError, error.source(), error.description() + "\r\n" + step);
  }
  return AutomationError(kWrapError, "frmSave.LoadUsers",
                         "Error in Load Users.\r\n" + error.description() + "\r\n" + step);
}

void RaiseNoUsers() {
  RaiseError(kWrapError, "frmSave.LoadUsers",
             "There are no users defined to use Brevora Server.  Please use RivorOdurov Management "
             "Console to "
             "associate users with the Brevora Server Conduit.  See the Brevora Server "
             "documentation for more "
             "details.");
}

}  // namespace brevora::frontend
