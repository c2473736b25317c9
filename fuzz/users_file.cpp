// Fuzzes the HotSync user list where the file reaches it: the bytes as the
// HotSync folder's "users.txt", read by ReadUsers (the root from the
// registry, as every caller finds it), then a user added with AddUser. The
// list read holds what the format promises: each id once, 0..2147483647, a
// name that is not empty, a directory that is a plain name (it can't lead out
// of the HotSync folder); it is what ParseUserList makes of the same text.
// After AddUser, the list holds the added user once, with its name and
// directory, after every other user as it was, in the same order; when the
// id was listed the user is replaced.
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "fuzz/file_input.h"
#include "platform/fs/paths.h"
#include "platform/hotsync/user_list.h"
#include "platform/registry/registry.h"

namespace brevora::fuzz {
namespace {

using hotsync::PalmUser;

std::string& Root() {
  static std::string root;
  return root;
}

}  // namespace

std::vector<Seed> Seeds(const std::string&) {
  return {
      {"two.txt", "1\tAlice Smith\tSmithA\n2\tBob\tBob\n"},
      {"crlf.txt", "3\tRen\xC3\xA9\tRene\r\n\r\n7\tExample\tExample\r\n"},
      {"refused.txt",
       "x\tNo id\tnoid\n4\t\tnoname\n5\tUp\t..\n6\tSlash\ta/b\n4\tAgain\tagain\n"
       "2147483647\tLast\tlast\n2147483648\tToo big\tbig\n"},
      {"no_end.txt", "12\tNo line end\tNoEnd"},
  };
}

}  // namespace brevora::fuzz

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  using namespace brevora;
  fuzz::MakeWorkFolder();
  fuzz::Root() = fuzz::WorkFolder() + "/hotsync";
  std::filesystem::create_directories(fuzz::Root());
  registry::SetValue(registry::Hive::CurrentUser, "Software\\U.S. Robotics\\Pilot Desktop\\Core",
                     "Path", registry::Value::String(fuzz::Root()));
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace brevora;
  using namespace brevora::fuzz;
  using hotsync::PalmUser;
  const std::string path = Root() + "/" + hotsync::kUsersFileName;
  WriteInput("../hotsync/users.txt", data, size);
  const std::string_view text(reinterpret_cast<const char*>(data), size);

  std::vector<PalmUser> users;
  Must("reading the users", [&] { users = hotsync::ReadUsers(); });
  Check(users == hotsync::ParseUserList(text), "the file is read otherwise than its text");
  for (std::size_t i = 0; i < users.size(); ++i) {
    const PalmUser& u = users[i];
    Check(u.id >= 0, "a negative id");
    Check(!u.name.empty(), "a user without a name");
    Check(fs::IsPlainName(u.directory), "a directory that is not a plain name");
    for (std::size_t j = 0; j < i; ++j) Check(users[j].id != u.id, "an id listed twice");
  }

  // An id from the file when it lists one (a replacement), else a new one.
  const PalmUser added{users.empty() ? 7 : users[size % users.size()].id, "Fuzz Added",
                       "FuzzAdded"};
  Must("adding a user", [&] { hotsync::AddUser(added); });
  std::vector<PalmUser> expected;
  for (const PalmUser& u : users) {
    if (u.id != added.id) expected.push_back(u);
  }
  expected.push_back(added);
  std::vector<PalmUser> after;
  Must("reading the users again", [&] { after = hotsync::ReadUsers(); });
  Check(after == expected,
        "the list after AddUser is not the old one with the user added or replaced");
  return 0;
}
