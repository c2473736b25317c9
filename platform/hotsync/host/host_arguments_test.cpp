#include "platform/hotsync/host/host_arguments.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace brevora::hotsync::host {
namespace {

using Kind = HostCommandLine::Kind;

std::optional<std::string> Resolve(const std::string& library) {
  if (library == "missing.so") return std::nullopt;
  return "/opt/" + library;
}

HostCommandLine Parse(const std::vector<std::string>& args) {
  return ParseHostCommandLine(args, Resolve);
}

TEST(HostArguments, RefusedLinesSayWhy) {
  struct Case {
    std::vector<std::string> args;
    Kind kind;
    std::string problem;
  };
  const std::string han = "\xE4\xB8\xAD";  // no code-page character
  const Case cases[] = {
      {{}, Kind::kUsage, ""},
      {{"bogus"}, Kind::kUsage, "unknown command bogus"},
      {{"sync"}, Kind::kUsage, "sync needs --device"},
      {{"sync", "--device"}, Kind::kUsage, "--device needs a value"},
      {{"sync", "--device", "d", "--device", "e"}, Kind::kUsage, "--device is given twice"},
      {{"sync", "--device", "d", "--cancel"}, Kind::kUsage, "unknown argument --cancel"},
      {{"sync", "--device", "d", "--user", ""},
       Kind::kUsage,
       "--user needs a name the code page can hold"},
      {{"sync", "--device", "d", "--user", han},
       Kind::kUsage,
       "--user needs a name the code page can hold"},
      {{"sync", "--device", "d", "--fail-call", "0"},
       Kind::kUsage,
       "--fail-call needs a number from 1"},
      {{"sync", "--device", "d", "--kill-call", "1x"},
       Kind::kUsage,
       "--kill-call needs a number from 1"},
      {{"sync", "--device", "d", "--device-full", "-1"},
       Kind::kUsage,
       "--device-full needs a number of bytes"},
      {{"sync", "--device", "d", "--cut-list", "4294967296"},
       Kind::kUsage,
       "--cut-list needs a number of entries"},
      {{"configure", "--user", "u"}, Kind::kUsage, "configure needs --user and --conduit"},
      {{"configure", "--user", han, "--conduit", "c"},
       Kind::kUsage,
       "names must be ones the code page can hold"},
      {{"configure", "--user", "u", "--conduit", "c", "--cancel", "--choice", "1"},
       Kind::kUsage,
       "--cancel goes alone"},
      {{"configure", "--user", "u", "--conduit", "c", "--default"},
       Kind::kUsage,
       "--default goes with --choice"},
      {{"configure", "--user", "u", "--conduit", "c", "--choice", "4"},
       Kind::kUsage,
       "--choice needs 0, 1, 2 or 3"},
      {{"register", "--name", "n", "--library", "l.so", "--directory", "d"},
       Kind::kUsage,
       "register needs --creator"},
      {{"register", "--name", han, "--library", "missing.so", "--directory", "d", "--creator",
        "CCCC"},
       Kind::kFailure,
       "missing.so: no such library"},
      {{"register", "--name", han, "--library", "l.so", "--directory", "d", "--creator", "CCCC"},
       Kind::kUsage,
       "names must be ones the code page can hold"},
  };
  for (const Case& c : cases) {
    const HostCommandLine line = Parse(c.args);
    EXPECT_EQ(line.kind, c.kind) << c.problem;
    EXPECT_EQ(line.problem, c.problem);
  }
}

TEST(HostArguments, AcceptedLinesGiveTheirRequest) {
  EXPECT_EQ(Parse({"--help"}).kind, Kind::kHelp);
  EXPECT_EQ(Parse({"-h", "sync"}).kind, Kind::kHelp);

  const HostCommandLine sync =
      Parse({"sync", "--kill-call", "9", "--user", "Ren\xC3\xA9", "--device", "/tmp/palm",
             "--fail-call", "3", "--device-full", "0", "--cut-list", "2"});
  ASSERT_EQ(sync.kind, Kind::kSync);
  EXPECT_EQ(sync.sync.device, "/tmp/palm");
  EXPECT_EQ(sync.sync.user, "Ren\xE9");
  EXPECT_EQ(sync.sync.faults.failCall, 3u);
  EXPECT_EQ(sync.sync.faults.deviceFullAfter, 0u);
  EXPECT_EQ(sync.sync.faults.cutListAfter, 2u);
  EXPECT_EQ(sync.sync.faults.killCall, 9u);

  const HostCommandLine asked = Parse({"configure", "--conduit", "Tabulyn", "--user", "Bob"});
  ASSERT_EQ(asked.kind, Kind::kConfigure);
  EXPECT_EQ(asked.configure.user, "Bob");
  EXPECT_EQ(asked.configure.conduit, "Tabulyn");
  EXPECT_FALSE(asked.configure.scripted);

  const HostCommandLine chosen =
      Parse({"configure", "--user", "Bob", "--conduit", "T", "--default", "--choice", "2"});
  ASSERT_EQ(chosen.kind, Kind::kConfigure);
  EXPECT_TRUE(chosen.configure.scripted);
  ASSERT_TRUE(chosen.configure.answer.has_value());
  EXPECT_EQ(chosen.configure.answer->choice, 2);
  EXPECT_TRUE(chosen.configure.answer->makeDefault);

  const HostCommandLine cancelled =
      Parse({"configure", "--user", "Bob", "--conduit", "T", "--cancel"});
  EXPECT_TRUE(cancelled.configure.scripted);
  EXPECT_FALSE(cancelled.configure.answer.has_value());

  const HostCommandLine reg = Parse({"register", "--creator", "TBRL", "--directory", "tabrel",
                                     "--library", "libtabrel.so", "--name", "Tabulyn"});
  ASSERT_EQ(reg.kind, Kind::kRegister);
  EXPECT_EQ(reg.conduit, (ConduitRegistration{"Tabulyn", "/opt/libtabrel.so", "tabrel", "TBRL"}));
}

}  // namespace
}  // namespace brevora::hotsync::host
