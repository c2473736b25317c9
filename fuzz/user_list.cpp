// Fuzzes the HotSync user list ("users.txt"): ParseUserList never raises, and
// every user it keeps holds to the list's rules: a distinct id of 0 or more, a
// name, and a directory that is a plain name inside the root.
#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_set>
#include <vector>

#include "fuzz/fuzz_target.h"
#include "platform/fs/paths.h"
#include "platform/hotsync/user_list.h"

namespace brevora::fuzz {

std::vector<Seed> Seeds(const std::string&) {
  return {
      {"two.txt", "3\tSmith J\tSmithJ\n7\tAnna\tAnna\n"},
      {"crlf.txt", "1\tJos\xC3\xA9\tJose\r\n2\tOpen last line\tLast"},
      {"mixed.txt", "007\tBond\tBond\nbroken line\n\n2147483647\tMax\tMax\n7\tDuplicate\tOther\n"},
  };
}

}  // namespace brevora::fuzz

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace brevora::fuzz;
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  Must("reading a user list", [&] {
    std::unordered_set<int32_t> ids;
    for (const brevora::hotsync::PalmUser& user : brevora::hotsync::ParseUserList(text)) {
      Check(user.id >= 0 && ids.insert(user.id).second, "a user id is negative or listed twice");
      Check(!user.name.empty(), "a user has no name");
      Check(brevora::fs::IsPlainName(user.directory), "a user's directory leaves the root");
    }
  });
  return 0;
}
