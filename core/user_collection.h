#pragma once
// UserCollection: a list of DeviceUser objects as the user classes hand it out.
// It is a shared object: every holder sees the same list, so items added later
// are seen by all. Late-bound: Count (get), Item (method/get, 1-based position
// or key), Add (item[, key]), Remove (position or key), with the keyed
// collection's errors (9 bad position, 5 unknown key, 457 duplicate key).
#include <cstdint>
#include <string_view>

#include "core/device_user.h"
#include "platform/automation/collection.h"
#include "platform/automation/member_table.h"
#include "platform/automation/object.h"

namespace brevora::core {

class UserCollection : public Dispatchable<UserCollection> {
 public:
  static const MemberTable<UserCollection>& Members();

  int32_t Count() const { return items_.Count(); }
  // 1-based position; 9 outside 1..Count.
  const Ref<DeviceUser>& Item(int32_t index) const { return items_.Item(index); }
  void Add(Ref<DeviceUser> user, std::string_view key = {}) { items_.Add(std::move(user), key); }

  Collection<Ref<DeviceUser>>& Items() { return items_; }
  const Collection<Ref<DeviceUser>>& Items() const { return items_; }
  auto begin() const { return items_.begin(); }
  auto end() const { return items_.end(); }

 private:
  Collection<Ref<DeviceUser>> items_;
};

}  // namespace brevora::core
