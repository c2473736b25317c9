#include "platform/qt/qt_help_viewer.h"

#include <gtest/gtest.h>

#include <fstream>

#include "platform/services/message_box.h"
#include "platform/services/service_slot.h"
#include "testing/temp_home.h"

namespace brevora::qt {
namespace {

TEST(QtHelpViewer, OpensAHelpFileThatIsThereAndSaysSoWhenItIsNot) {
  const std::string there = testing::MakeTempDir("help") + "/SCRIV.HLP";
  std::ofstream(there) << "help";
  auto messages = std::make_shared<services::RecordingMessageBox>();
  services::ScopedService<services::MessageBox> scope(services::InstallMessageBox, messages);
  auto opener = std::make_shared<services::RecordingHelpViewer>();
  QtHelpViewer viewer(opener);

  const services::HelpRequest present{there, services::kHelpContext, 726};
  viewer.Show(present);
  ASSERT_EQ(opener->requests().size(), 1u);
  EXPECT_EQ(opener->requests()[0], present);
  EXPECT_TRUE(messages->shown().empty());

  const struct {
    std::string file;
    std::string named;
  } missing[] = {{"VARNIX.HLP", "VARNIX.HLP"}, {"/nowhere/SLIDR.HLP", "SLIDR.HLP"}, {"", "(none)"}};
  for (const auto& m : missing) {
    viewer.Show({m.file, services::kHelpFinder, 0});
    ASSERT_FALSE(messages->shown().empty());
    EXPECT_EQ(messages->shown().back(),
              (services::Message{
                  "Help is not available: the help file \"" + m.named + "\" is not installed.",
                  "Brevora", services::MsgButtons::Ok, services::MsgIcon::Information}));
  }
  EXPECT_EQ(messages->shown().size(), 3u);
  EXPECT_EQ(opener->requests().size(), 1u);
}

}  // namespace
}  // namespace brevora::qt
