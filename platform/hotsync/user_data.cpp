// The Palm user-data calls over the HotSync user list (user_list.h). Each call
// reads the list as it is now; none keeps state between calls, and none raises.
#include "platform/hotsync/user_data.h"

#include <cstring>
#include <limits>
#include <optional>
#include <string>
#include <vector>

#include "platform/hotsync/user_list.h"

namespace {

using brevora::hotsync::PalmUser;

std::vector<PalmUser> UsersOrNone() noexcept {
  try {
    return brevora::hotsync::ReadUsers();
  } catch (...) {
    return {};
  }
}

std::optional<PalmUser> FindUser(int32_t id) noexcept {
  for (PalmUser& user : UsersOrNone()) {
    if (user.id == id) return std::move(user);
  }
  return std::nullopt;
}

// Copies `text` into the caller's buffer by the calls' buffer rules.
int16_t CopyOut(const std::string& text, char* buffer, int16_t* length) noexcept {
  if (!buffer || !length || *length <= 0) return -1;
  const size_t capacity = static_cast<size_t>(*length);
  if (text.empty()) return 0;
  if (text.size() > capacity || text.size() > static_cast<size_t>(INT16_MAX)) {
    if (text.size() <= static_cast<size_t>(INT16_MAX)) *length = static_cast<int16_t>(text.size());
    return 0;
  }
  std::memcpy(buffer, text.data(), text.size());
  if (text.size() < capacity) buffer[text.size()] = '\0';
  *length = static_cast<int16_t>(text.size());
  return *length;
}

}  // namespace

extern "C" {

int16_t UmGetUserCount(void) {
  const size_t count = UsersOrNone().size();
  return static_cast<int16_t>(count > INT16_MAX ? INT16_MAX : count);
}

int32_t UmGetUserID(int16_t index, int32_t* id) {
  if (!id || index < 0) return -1;
  const std::vector<PalmUser> users = UsersOrNone();
  if (static_cast<size_t>(index) >= users.size()) return -1;
  *id = users[static_cast<size_t>(index)].id;
  return 0;
}

int16_t UmGetUserName(int32_t id, char* buffer, int16_t* length) {
  if (!buffer || !length || *length <= 0) return -1;
  const auto user = FindUser(id);
  return user ? CopyOut(user->name, buffer, length) : 0;
}

int16_t UmGetRootDirectory(char* buffer, int16_t* length) {
  if (!buffer || !length || *length <= 0) return -1;
  std::optional<std::string> root;
  try {
    root = brevora::hotsync::RootDirectory();
  } catch (...) {
    return 0;
  }
  return root ? CopyOut(*root, buffer, length) : 0;
}

int16_t UmGetUserDirectory(int32_t id, char* buffer, int16_t* length) {
  if (!buffer || !length || *length <= 0) return -1;
  const auto user = FindUser(id);
  return user ? CopyOut(user->directory, buffer, length) : 0;
}

}  // extern "C"
