// The program albumet as a user runs it on an X display (this test runs under
// xvfb-run): its window and dialogs closed with their close boxes, their
// buttons and keys, and the program then ending with status 0. The ASan suite
// runs it too, so a window deleted while its own event still runs shows up.
#include <X11/keysym.h>
#include <gtest/gtest.h>

#include <chrono>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "core/users_test_support.h"
#include "platform/fs/files.h"
#include "testing/spawn.h"
#include "testing/x11_desktop.h"

namespace brevora::album {
namespace {

using namespace std::chrono_literals;
using brevora::testing::SpawnedProgram;
using brevora::testing::X11Desktop;

constexpr auto kAppear = 20s;

// A HotSync user with a folder of its own.
void AddUser(int32_t id, const std::string& name) {
  core::test::AddPalmUser(id, name, name);
  fs::MakeFolder(core::test::PalmFolder() + "/" + name);
}

class Albumet : public ::testing::Test {
 protected:
  // `withUser`: a HotSync user is there before the program starts, so the
  // presentation windows open with one.
  void Start(bool withUser) {
    ASSERT_TRUE(desktop_.Connected()) << "no X display: run under xvfb-run";
    core::test::SeedPalmDesktop(core::test::PalmFolder());
    if (withUser) AddUser(7, "Ann");
    program_ = std::make_unique<SpawnedProgram>(ALBUMET_PROGRAM, std::vector<std::string>{},
                                                brevora::testing::StandardStreams{});
    ASSERT_TRUE(program_->started());
    main_ = desktop_.WaitForWindow("Albumet", kAppear);
    ASSERT_NE(main_, 0u) << "the window never showed";
  }

  void SetUp() override { Start(true); }

  // Opens a menu's entry with the keyboard, as a user does: Alt and the
  // menu's letter, then the entry's letter; the window titled `title` that
  // it shows, or 0.
  unsigned long Choose(unsigned long menuKey, unsigned long itemKey, const char* title) {
    return desktop_.OpenWithKeys(main_, {{menuKey, true}, {itemKey}}, title);
  }

  void CloseAndExpectStatusZero() {
    desktop_.PressCloseBox(main_);
    EXPECT_EQ(program_->Wait(30s), 0);
  }

  X11Desktop desktop_;
  std::unique_ptr<SpawnedProgram> program_;
  unsigned long main_ = 0;
};

TEST_F(Albumet, TheCloseBoxEndsIt) { CloseAndExpectStatusZero(); }

TEST_F(Albumet, ItsDialogsCloseEveryWayAndTheProgramGoesOn) {
  enum class Close { kCloseBox, kReturn, kEscape };
  const struct {
    unsigned long menu, item;
    const char* title;
    Close close;
  } cases[] = {
      {XK_h, XK_a, "About Albumet", Close::kCloseBox},
      {XK_h, XK_a, "About Albumet", Close::kReturn},
      {XK_f, XK_a, "Save Slidora Presentation", Close::kCloseBox},
      {XK_f, XK_a, "Save Slidora Presentation", Close::kEscape},
      {XK_f, XK_o, "Open Slidora Presentation", Close::kCloseBox},
      {XK_f, XK_o, "Open Slidora Presentation", Close::kEscape},
      {XK_a, XK_a, "Select Image to Add...", Close::kCloseBox},
      {XK_a, XK_a, "Select Image to Add...", Close::kEscape},
  };
  for (const auto& c : cases) {
    const unsigned long dialog = Choose(c.menu, c.item, c.title);
    ASSERT_NE(dialog, 0u) << c.title << " never showed; windows: " << desktop_.Titles();
    switch (c.close) {
      case Close::kCloseBox:
        desktop_.PressCloseBox(dialog);
        EXPECT_TRUE(desktop_.WaitUntilNoWindow(c.title, kAppear)) << c.title;
        break;
      case Close::kReturn:
        EXPECT_TRUE(desktop_.CloseWithKey(c.title, XK_Return)) << c.title;
        break;
      case Close::kEscape:
        EXPECT_TRUE(desktop_.CloseWithKey(c.title, XK_Escape)) << c.title;
        break;
    }
    EXPECT_TRUE(program_->Running()) << c.title;
  }
  CloseAndExpectStatusZero();
}

// The presentation windows read the users when they open: a user made after
// the first one closed shows in the next.
class AlbumetWithoutUsers : public Albumet {
 protected:
  void SetUp() override { Start(false); }
};

TEST_F(AlbumetWithoutUsers, AUserMadeAfterTheFirstWindowShowsInTheNext) {
  ASSERT_NE(Choose(XK_f, XK_a, "Brevora"), 0u)
      << desktop_.Titles();  // "There are no users defined ..."
  ASSERT_TRUE(desktop_.CloseWithKey("Brevora", XK_Return));
  const unsigned long first = desktop_.WaitForWindow("Save Slidora Presentation", kAppear);
  ASSERT_NE(first, 0u) << desktop_.Titles();
  desktop_.PressCloseBox(first);
  ASSERT_TRUE(desktop_.WaitUntilNoWindow("Save Slidora Presentation", kAppear));

  AddUser(7, "Ann");
  desktop_.Focus(main_);
  desktop_.Type(XK_f, true);
  std::this_thread::sleep_for(500ms);
  desktop_.Type(XK_a);
  // The window with its user, or the message that there is none before it.
  const auto deadline = std::chrono::steady_clock::now() + kAppear;
  while (desktop_.WindowsTitled("Save Slidora Presentation").empty() &&
         desktop_.WindowsTitled("Brevora").empty() && std::chrono::steady_clock::now() < deadline) {
    std::this_thread::sleep_for(20ms);
  }
  EXPECT_TRUE(desktop_.WindowsTitled("Brevora").empty()) << "the user list was not read again";
  EXPECT_FALSE(desktop_.WindowsTitled("Save Slidora Presentation").empty()) << desktop_.Titles();
}

}  // namespace
}  // namespace brevora::album
