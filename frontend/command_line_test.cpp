#include "frontend/command_line.h"

#include <gtest/gtest.h>

namespace brevora::frontend {
namespace {

TEST(ParseCommandLine, ServerSwitchAndFile) {
  const struct {
    const char* command;
    CommandLine expected;
  } cases[] = {
      // A file alone, and no switch at all.
      {"C:\\Data\\budget.tbr", {false, "", "C:\\Data\\budget.tbr"}},
      {"", {false, "", ""}},
      {"  /home/a/b.tbr  ", {false, "", "  /home/a/b.tbr  "}},
      // A quoted name with a blank, then a path.
      {"SERVERCONDUIT=\"My Server\" C:\\budget.tbr", {true, "My Server", "C:\\budget.tbr"}},
      // Blanks after "=", a plain name; lower case works the same; the name keeps its case.
      {"SERVERCONDUIT=   Srv1 /tmp/x.tbr", {true, "Srv1", "/tmp/x.tbr"}},
      {"serverconduit=MyBox /tmp/x.tbr", {true, "MyBox", "/tmp/x.tbr"}},
      // No "=": not a server command; the whole text is the file.
      {"SERVERCONDUIT /tmp/x.tbr", {false, "", "SERVERCONDUIT /tmp/x.tbr"}},
      // Text before the switch stays in the rest.
      {"/tmp/x.tbr SERVERCONDUIT=Srv", {true, "Srv", "/tmp/x.tbr"}},
      {"  /tmp/x.tbr   SERVERCONDUIT=Srv   ", {true, "Srv", "/tmp/x.tbr"}},
      // The "=" of a later switch-like text counts only after the switch.
      {"a=b SERVERCONDUIT=Srv c", {true, "Srv", "a=b c"}},
  };
  for (const auto& c : cases) EXPECT_EQ(ParseCommandLine(c.command), c.expected) << c.command;
}

// Texts that end where a name is still expected: the name runs to the end, and
// nothing is read past the text.
TEST(ParseCommandLine, TextsEndingInsideTheSwitch) {
  const struct {
    const char* command;
    CommandLine expected;
  } cases[] = {
      {"SERVERCONDUIT=", {true, "", ""}},
      {"SERVERCONDUIT=   ", {true, "", ""}},
      {"/tmp/x.tbr SERVERCONDUIT=", {true, "", "/tmp/x.tbr"}},
      {"SERVERCONDUIT=\"", {true, "", ""}},
      {"SERVERCONDUIT=\"Open name /tmp/x.tbr", {true, "Open name /tmp/x.tbr", ""}},
      {"SERVERCONDUIT=Srv", {true, "Srv", ""}},
      {"SERVERCONDUIT=S", {true, "S", ""}},
      // An empty quoted name is empty; the file after it is kept.
      {"SERVERCONDUIT=\"\" /tmp/x.tbr", {true, "", "/tmp/x.tbr"}},
      {"SERVERCONDUIT=\"  padded  \" f", {true, "padded", "f"}},
  };
  for (const auto& c : cases) EXPECT_EQ(ParseCommandLine(c.command), c.expected) << c.command;
}

}  // namespace
}  // namespace brevora::frontend
