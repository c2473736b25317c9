// Splitting a launcher's arguments as the support library writes them: the
// quoting table, and the words of real launchers through ResolveIt.
#include "phonesync/argument_words.h"

#include <gtest/gtest.h>

#include "phonesync/shortcut.h"
#include "phonesync/sync_test_support.h"
#include "testing/temp_home.h"

namespace brevora::bvsync {
namespace {

using Words = std::vector<std::string>;

TEST(SplitArguments, QuotingRules) {
  struct Case {
    const char* text;
    Words words;
  };
  const Case cases[] = {
      {"", {}},
      {"   \t ", {}},
      {"a b\tc", {"a", "b", "c"}},
      {"  lead  trail  ", {"lead", "trail"}},
      {"\"two words\" x", {"two words", "x"}},
      {"\"\"", {""}},
      {"a \"\" b", {"a", "", "b"}},
      {"pre\"mid dle\"post", {"premid dlepost"}},
      {"\\\"quote\\\"", {"\"quote\""}},
      {"C:\\path\\to\\file", {"C:\\path\\to\\file"}},
      {"\"ends in backslash\\\\\"", {"ends in backslash\\"}},
      {"a\\\\\\\"b", {"a\\\"b"}},
      {"\"unclosed quote here", {"unclosed quote here"}},
      {"$(touch x); rm", {"$(touch", "x);", "rm"}},
  };
  for (const Case& c : cases) EXPECT_EQ(SplitArguments(c.text), c.words) << c.text;
}

// Whatever words a launcher's Exec line holds, the resolver's argument text
// splits back into exactly those words.
TEST(SplitArguments, LauncherWordsComeBackWhole) {
  struct Case {
    const char* exec;
    Words arguments;
  };
  const Case cases[] = {
      {"/usr/bin/sender", {}},
      {"/usr/bin/sender %f", {}},
      {"/usr/bin/sender    %U   ", {}},
      {"/usr/bin/sender --to phone %f", {"--to", "phone"}},
      {"/usr/bin/sender \"two words\" \"\" 'single'", {"two words", "", "'single'"}},
      {"/usr/bin/sender \"say \\\"hi\\\"\" back\\\\slash", {"say \"hi\"", "back\\slash"}},
      {"/usr/bin/sender \"ends\\\\\\\\\" 100%%", {"ends\\", "100%"}},
      {"/usr/bin/sender \"$(touch x); rm -rf y\"", {"$(touch x); rm -rf y"}},
  };
  const std::string dir = testing::MakeTempDir("launchers");
  for (const Case& c : cases) {
    const std::string path = dir + "/phone.desktop";
    test::WriteLauncher(path, c.exec);
    const auto resolved = ResolveShortcut(path);
    ASSERT_TRUE(resolved) << c.exec;
    EXPECT_EQ(resolved->target, "/usr/bin/sender") << c.exec;
    const Words words = resolved->arguments.find_first_not_of(' ') == std::string::npos
                            ? Words{}
                            : SplitArguments(resolved->arguments);
    EXPECT_EQ(words, c.arguments) << c.exec << " -> " << resolved->arguments;
  }
}

}  // namespace
}  // namespace brevora::bvsync
