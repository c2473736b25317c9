#include "platform/qt/display.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <optional>
#include <string>
#include <vector>

namespace brevora::qt {
namespace {

// Sets (or, for nullopt, unsets) environment variables for a scope.
class Environment {
 public:
  void Set(const char* name, std::optional<std::string> value) {
    const char* old = std::getenv(name);
    saved_.push_back({name, old ? std::optional<std::string>(old) : std::nullopt});
    if (value) {
      setenv(name, value->c_str(), 1);
    } else {
      unsetenv(name);
    }
  }
  ~Environment() {
    for (auto it = saved_.rbegin(); it != saved_.rend(); ++it) {
      if (it->second) {
        setenv(it->first, it->second->c_str(), 1);
      } else {
        unsetenv(it->first);
      }
    }
  }

 private:
  std::vector<std::pair<const char*, std::optional<std::string>>> saved_;
};

TEST(DisplayAvailable, FollowsQtsPlatformAndTheSession) {
  using V = std::optional<std::string>;
  const V none;
  // An X display number no server listens on.
  const V noServer = ":4711";
  const struct {
    V platform, display, wayland;
    bool expected;
  } cases[] = {
      {none, none, none, false},
      {"offscreen", none, none, true},
      {"minimal:enable_fonts", none, none, true},
      {none, noServer, none, false},
      {"xcb", noServer, none, false},
      {"xcb", none, "wayland-0", false},
      {none, none, "wayland-0", true},
      {"wayland", none, "wayland-0", true},
      {"wayland", noServer, none, false},
      {"wayland;xcb", noServer, none, false},
      {"xcb;offscreen", noServer, none, true},
  };
  for (const auto& c : cases) {
    Environment env;
    env.Set("QT_QPA_PLATFORM", c.platform);
    env.Set("DISPLAY", c.display);
    env.Set("WAYLAND_DISPLAY", c.wayland);
    EXPECT_EQ(DisplayAvailable(), c.expected)
        << c.platform.value_or("-") << " " << c.display.value_or("-") << " "
        << c.wayland.value_or("-");
  }
}

}  // namespace
}  // namespace brevora::qt
