// What the send-tool window lists for Send To trees, and which target each
// line stands for.
#include "phonesync/send_to_list.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "phonesync/sync_test_support.h"
#include "testing/temp_home.h"

namespace brevora::bvsync {
namespace {

namespace stdfs = std::filesystem;

struct Line {
  std::string text;
  int32_t itemData;
  std::string path;  // relative to Send To
  bool operator==(const Line&) const = default;
};

std::ostream& operator<<(std::ostream& out, const Line& l) {
  return out << "{" << l.text << ", " << l.itemData << ", " << l.path << "}";
}

std::vector<Line> Listed(const SendToList& list, const std::string& sendTo) {
  std::vector<Line> lines;
  for (size_t row = 0; row < list.Lines().size(); ++row) {
    std::string path = list.PathOfLine(static_cast<int>(row));
    if (path.rfind(sendTo + "/", 0) == 0) path = path.substr(sendTo.size() + 1);
    lines.push_back({list.Lines()[row].text, list.Lines()[row].itemData, path});
  }
  return lines;
}

// Entries of a Send To tree (Linux paths below `root`): a trailing "/" makes a
// folder, "->" a link.
void Build(const std::string& root, const std::vector<std::string>& entries) {
  stdfs::create_directories(root);
  for (const std::string& e : entries) {
    const size_t arrow = e.find(" -> ");
    if (arrow != std::string::npos) {
      stdfs::create_symlink(e.substr(arrow + 4), root + "/" + e.substr(0, arrow));
    } else if (e.back() == '/') {
      stdfs::create_directories(root + "/" + e);
    } else {
      std::ofstream(root + "/" + e) << "x";  // the name as the folder holds it, a '\\' included
    }
  }
}

TEST(SendToList, Trees) {
  struct Case {
    const char* what;
    std::vector<std::string> entries;
    std::vector<Line> lines;
  };
  const Case cases[] = {
      {"a Bluetooth folder of launchers",
       {"Bluetooth/", "Bluetooth/Phone A.desktop", "Bluetooth/Phone B.desktop"},
       {{"(bluetooth)Phone A", 1, "Bluetooth/Phone A.desktop"},
        {"(bluetooth)Phone B", 1, "Bluetooth/Phone B.desktop"}}},
      {"an infrared launcher in Send To itself",
       {"Infrared Recipient.desktop", "Mail Recipient.desktop", "Documents/"},
       {{"Infrared Recipient", 1, "Infrared Recipient.desktop"}}},
      {"matches first, then each kind folder; extensions other than .desktop stay",
       {"My Bluetooth Devices/", "My Bluetooth Devices/sender",
        "My Bluetooth Devices/Phone.DESKTOP", "IrDA Infrared/", "IrDA Infrared/beam.sh",
        "bluetooth-send", "Infrared.lnk"},
       {{"Infrared.lnk", 0, "Infrared.lnk"},
        {"(bluetooth)bluetooth-send", 0, "bluetooth-send"},
        {"beam.sh", 0, "IrDA Infrared/beam.sh"},
        {"(bluetooth)Phone", 1, "My Bluetooth Devices/Phone.DESKTOP"},
        {"(bluetooth)sender", 0, "My Bluetooth Devices/sender"}}},
      {"folders, hidden entries and other entries inside kind folders are not listed; links are",
       {"Bluetooth/", "Bluetooth/Nested/", "Bluetooth/.hidden.desktop", "Bluetooth/Phone.desktop",
        "Bluetooth/Linked Phone -> /usr/bin/true", "Bluetooth/Dangling -> /no/such/file",
        "Bluetooth/Phone folder -> /tmp", ".Bluetooth hidden/", ".Bluetooth hidden/x.desktop"},
       {{"(bluetooth)Dangling", 0, "Bluetooth/Dangling"},
        {"(bluetooth)Linked Phone", 0, "Bluetooth/Linked Phone"},
        {"(bluetooth)Phone folder", 0, "Bluetooth/Phone folder"},
        {"(bluetooth)Phone", 1, "Bluetooth/Phone.desktop"}}},
      {"a name holding both words is a kind folder of each kind",
       {"Bluetooth and Infrared/", "Bluetooth and Infrared/Phone.desktop"},
       {{"Phone", 1, "Bluetooth and Infrared/Phone.desktop"},
        {"(bluetooth)Phone", 1, "Bluetooth and Infrared/Phone.desktop"}}},
      {"a link to a folder is a target, not a kind folder",
       {"Real/", "Real/inside.desktop", "Bluetooth Drop -> Real"},
       {{"(bluetooth)Bluetooth Drop", 0, "Bluetooth Drop"}}},
      {"nothing that matches", {"Desktop.desktop", "Mail/"}, {}},
      {"a name with a '\\' or a control character is no name of the folder: its path would lead "
       "elsewhere",
       {"Bluetooth/", "Bluetooth\\..\\..\\tool.desktop", "Bluetooth/Phone\\x.desktop",
        "Bluetooth/Phone\nline", "Infrared\\Beam", "Bluetooth\\x/", "Bluetooth\\x/inside",
        "Bluetooth/Phone.desktop"},
       {{"(bluetooth)Phone", 1, "Bluetooth/Phone.desktop"}}},
  };
  for (const Case& c : cases) {
    const std::string sendTo = testing::MakeTempDir("cases") + "/SendTo";
    Build(sendTo, c.entries);
    SendToList list;
    list.LoadDeviceList(sendTo);
    EXPECT_EQ(Listed(list, sendTo), c.lines) << c.what;
    stdfs::remove_all(sendTo);
  }
}

// Equal lines keep their own targets: the second of two equal lines gives the
// second target.
TEST(SendToList, EqualTitlesMapByPosition) {
  const std::string sendTo = testing::MakeTempDir("equal") + "/SendTo";
  Build(sendTo, {"Bluetooth/", "Bluetooth/Phone.desktop", "Work Bluetooth/",
                 "Work Bluetooth/Phone.desktop"});
  SendToList list;
  list.LoadDeviceList(sendTo);
  ASSERT_EQ(list.Lines().size(), 2u);
  EXPECT_EQ(list.Lines()[0].text, list.Lines()[1].text);
  EXPECT_EQ(list.PathOfLine(0), sendTo + "/Bluetooth/Phone.desktop");
  EXPECT_EQ(list.PathOfLine(1), sendTo + "/Work Bluetooth/Phone.desktop");
  EXPECT_EQ(list.PathOfLine(-1), "") << "nothing selected";
  EXPECT_EQ(list.PathOfLine(2), "");
}

// No Send To folder lists nothing (never the root or the working folder).
TEST(SendToList, NoSendToFolderListsNothing) {
  EXPECT_EQ(GetSendToFolder(), "");
  const std::string old = stdfs::current_path();
  const std::string work = testing::MakeTempDir("work");
  Build(work, {"Bluetooth/", "Bluetooth/Phone.desktop", "Infrared.desktop"});
  stdfs::current_path(work);
  SendToList list;
  list.LoadDeviceList(GetSendToFolder());
  list.LoadDeviceList("");
  EXPECT_TRUE(list.Lines().empty());
  list.LoadDeviceList(testing::TempHome() + "/missing");
  EXPECT_TRUE(list.Lines().empty());
  stdfs::current_path(old);

  Build(test::SendToFolder(), {});
  EXPECT_EQ(GetSendToFolder(), test::SendToFolder());
}

}  // namespace
}  // namespace brevora::bvsync
