#include <gtest/gtest.h>

#include <fstream>
#include <string>

#include "platform/hotsync/device_identity.h"
#include "testing/temp_home.h"

namespace brevora::hotsync {
namespace {

TEST(DeviceIdentity, TheFileRoundTrips) {
  const DeviceIdentity alice{"Alice Caf\xE9", 42, "0123456789abcdef"};
  const auto text = FormatIdentity(alice);
  ASSERT_TRUE(text);
  EXPECT_EQ(*text,
            "brevora-handheld 1\nuser Alice Caf\xC3\xA9\nuserid 42\ndesktop 0123456789abcdef\n");
  EXPECT_EQ(ParseIdentity(*text), alice);
  const DeviceIdentity fresh{"Bob", 0, ""};
  EXPECT_EQ(FormatIdentity(fresh), "brevora-handheld 1\nuser Bob\nuserid 0\n");
  EXPECT_EQ(ParseIdentity(*FormatIdentity(fresh)), fresh);

  const std::string folder = testing::MakeTempDir("device");
  EXPECT_EQ(ReadIdentity(folder), std::nullopt);
  WriteIdentity(folder, alice);
  EXPECT_EQ(ReadIdentity(folder), alice);
  EXPECT_THROW(WriteIdentity(folder, {"", 1, ""}), std::exception);
  EXPECT_EQ(ReadIdentity(folder), alice);
}

TEST(DeviceIdentity, AnythingElseIsNoIdentity) {
  const std::string good = "brevora-handheld 1\nuser Alice\nuserid 42\ndesktop 0123456789abcdef\n";
  auto replaced = [&](const std::string& from, const std::string& to) {
    std::string text = good;
    text.replace(text.find(from), from.size(), to);
    return text;
  };
  const std::string refused[] = {
      "",
      good.substr(0, good.size() - 1),
      replaced("brevora-handheld 1", "brevora-handheld 2"),
      replaced("user Alice", "user "),
      replaced("user Alice", "user Al\tice"),
      replaced("user Alice", "user " + std::string(64, 'a')),
      replaced("user Alice", "user \xE4\xB8\xAD"),  // not in the code page
      replaced("user Alice", "user \xFF"),          // not UTF-8
      replaced("userid 42", "userid -1"),
      replaced("userid 42", "userid 042"),
      replaced("userid 42", "userid 2147483648"),
      replaced("desktop 0123456789abcdef", "desktop 0123456789ABCDEF"),
      replaced("desktop 0123456789abcdef", "desktop 0123"),
      good + "extra\n",
      good + std::string(4096, ' '),
  };
  for (const std::string& text : refused) EXPECT_EQ(ParseIdentity(text), std::nullopt) << text;
  const std::string folder = testing::MakeTempDir("device");
  std::ofstream(folder + "/identity.txt") << "garbage";
  EXPECT_EQ(ReadIdentity(folder), std::nullopt);
}

}  // namespace
}  // namespace brevora::hotsync
