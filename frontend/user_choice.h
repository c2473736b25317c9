#pragma once
// The handheld users as the window's user box shows them, and what choosing
// one does: it becomes the application object's current user. A Palm user that
// is not installed (and can't be installed) is passed over for the next one in
// the box, each user tried once, until one is taken or the box ends.
#include <cstdint>
#include <string>
#include <vector>

#include "core/user_manager.h"

namespace brevora::frontend {

class TabrelPC;

struct UserEntry {
  std::string name;  // DeviceUser.UserName, the box's text
  int32_t uid = 0;   // DeviceUser.UID, the entry's item data
  bool operator==(const UserEntry&) const = default;
};

// The users in the user manager's order.
std::vector<UserEntry> UserEntries(core::UserManager& users);

// The entry to select: the last whose id equals `currentId` or whose name
// equals `currentName` without regard to case; 0 when none matches; -1 for no
// entries.
int SelectedUserIndex(const std::vector<UserEntry>& entries, int32_t currentId,
                      const std::string& currentName);

// What choosing a user came to.
struct UserChoice {
  int index = -1;      // the entry that is now the current user; -1: none
  bool phone = false;  // that user is a phone device
  bool done = false;   // the lists may be refilled (false after a reported error)
};

// Makes entry `index` the current user of `app`: a phone by name and id, a
// Palm user by id (by name with id 0 in RivorOdurov mode). A Palm user that is
// not installed is reported and the next entry tried; after the last one the
// user is asked to choose another. Other errors are shown with their
// description. Messages are titled "Brevora" with the critical icon.
UserChoice ChooseUser(TabrelPC& app, const std::vector<UserEntry>& entries, int index);

// The error LoadUsers raises for `error` at step `step`: a 32760 keeps its
// number and source, its description followed by CR LF and the step; any other
// becomes 32760 "frmSave.LoadUsers" "Error in Load Users." CR LF description
// CR LF step.
AutomationError LoadUsersError(const AutomationError& error, const std::string& step);

// Raised by LoadUsers when the user box stays empty.
[[noreturn]] void RaiseNoUsers();

}  // namespace brevora::frontend
