// A user is installed exactly when the HotSync user list holds its id.
#include "platform/hotsync/user_install.h"

#include <vector>

#include "platform/hotsync/user_list.h"

namespace {

bool IsListed(int32_t id) noexcept {
  try {
    for (const brevora::hotsync::PalmUser& user : brevora::hotsync::ReadUsers()) {
      if (user.id == id) return true;
    }
  } catch (...) {
    // An unreadable list lists nobody.
  }
  return false;
}

}  // namespace

extern "C" {

int32_t UmIsUserInstalled(int32_t id) { return IsListed(id) ? 1 : 0; }

int32_t UmSetUserInstall(int32_t id, int32_t flag) {
  if (flag == 0) return -1;
  return IsListed(id) ? 0 : -1;
}

}  // extern "C"
