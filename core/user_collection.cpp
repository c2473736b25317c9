#include "core/user_collection.h"

#include "platform/automation/convert.h"

namespace brevora::core {

const MemberTable<UserCollection>& UserCollection::Members() {
  using C = UserCollection;
  static const MemberTable<UserCollection> table{
      {"Count", CallKind::Get, [](C& c, Args) { return Variant(c.Count()); }},
      {"Item", CallKind::Method, [](C& c, Args a) { return Variant(c.items_.Item(a[0])); }, 1},
      {"Add", CallKind::Method,
       [](C& c, Args a) {
         const std::string key = a[1].IsMissing() ? std::string() : CStr(a[1]);
         c.items_.Add(DeviceUserOf(a[0]), key);
       },
       1, 2},
      {"Remove", CallKind::Method, [](C& c, Args a) { c.items_.Remove(a[0]); }, 1},
  };
  return table;
}

}  // namespace brevora::core
