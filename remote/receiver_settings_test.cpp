#include "remote/receiver_settings.h"

#include <gtest/gtest.h>

#include "platform/registry/registry.h"

namespace brevora::remote {
namespace {

TEST(ReceiverSettings, KeepsThePortUnderTheCompanyKey) {
  EXPECT_EQ(LoadComPort(), "");
  SaveComPort("/dev/rfcomm0");
  EXPECT_EQ(LoadComPort(), "/dev/rfcomm0");
  const auto stored = registry::QueryValue(registry::Hive::CurrentUser,
                                           "Software\\Keelbrook\\VantaPC\\Settings", "ComPort");
  ASSERT_TRUE(stored);
  EXPECT_EQ(stored->text, "/dev/rfcomm0");
  // A value of another type reads as no port.
  registry::SetValue(registry::Hive::CurrentUser, kSettingsKey, kComPortValue,
                     registry::Value::DWord(3));
  EXPECT_EQ(LoadComPort(), "");
}

TEST(ReceiverSettings, ReadsTheCommandLine) {
  struct Case {
    std::vector<std::string> args;
    StartupAction action;
  };
  const Case cases[] = {
      {{}, StartupAction::kShow},
      {{"-start"}, StartupAction::kStart},
      {{"-stop"}, StartupAction::kStop},
      {{"-stop", "-start"}, StartupAction::kStart},  // -start wins wherever it stands
      {{"x-starty"}, StartupAction::kStart},         // anywhere in the command line
      {{"--stop"}, StartupAction::kStop},
      {{"-Start"}, StartupAction::kShow},
      {{"start"}, StartupAction::kShow},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ParseCommandLine(c.args), c.action) << (c.args.empty() ? "" : c.args[0]);
  }
}

}  // namespace
}  // namespace brevora::remote
