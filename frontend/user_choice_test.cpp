// The user box: its entries and selection, and choosing users, with users of
// the HotSync list, users gone from it since the list was read, and phones.
#include "frontend/user_choice.h"

#include <gtest/gtest.h>

#include "core/on_fresh_thread.h"
#include "core/session.h"
#include "frontend/frontend_test_support.h"
#include "frontend/tabrel_pc.h"
#include "frontend/window_test_home.h"
#include "platform/fs/files.h"

namespace brevora::frontend {
namespace {

using core::OnFreshThread;

// Users 7 Anna, 3 Smith J, 5 Bo in the HotSync list.
void SeedThreeUsers() {
  test::AddDesktopUser(7, "Anna", "anna");
  test::AddDesktopUser(3, "Smith J", "smith");
  test::AddDesktopUser(5, "Bo", "bo");
}

// The HotSync list from now on holds only these ids (the box keeps the users it read).
void KeepOnlyListed(const std::string& lines) {
  fs::AtomicWrite(core::test::PalmFolder() + "/users.txt", lines);
}

TEST(UserChoice, EntriesAndTheSelectedOne) {
  const std::vector<UserEntry> entries{{"Anna", 7}, {"Smith J", 3}, {"anna", 9}};
  EXPECT_EQ(SelectedUserIndex(entries, 3, ""), 1);
  EXPECT_EQ(SelectedUserIndex(entries, 0, "ANNA"), 2);  // the last match wins
  EXPECT_EQ(SelectedUserIndex(entries, 42, "Nobody"), 0);
  EXPECT_EQ(SelectedUserIndex({}, 3, "Anna"), -1);
}

TEST(UserChoice, PhonesComeFirstThenPalmUsers) {
  SeedThreeUsers();
  registry::ImportRegedit(core::test::kNokiaSuite);
  OnFreshThread([] {
    Ref<TabrelPC> app = MakeRef<TabrelPC>();
    const std::vector<UserEntry> entries = UserEntries(*app->Session()->GetUserManager());
    ASSERT_EQ(entries.size(), 5u);
    EXPECT_EQ(entries[0].name, "Nokia 3650 Anna");
    EXPECT_EQ(entries[2], (UserEntry{"Anna", 7}));
    // A phone is chosen by name and id and shows the phone buttons.
    const UserChoice phone = ChooseUser(*app, entries, 0);
    EXPECT_EQ(phone.index, 0);
    EXPECT_TRUE(phone.phone);
    EXPECT_TRUE(phone.done);
    EXPECT_EQ(app->Session()->UserName(), "Nokia 3650 Anna");
  });
}

TEST(UserChoice, AUserGoneFromTheListIsPassedOverOnce) {
  SeedThreeUsers();
  OnFreshThread([] {
    test::RecordedMessages messages;
    Ref<TabrelPC> app = MakeRef<TabrelPC>();
    const std::vector<UserEntry> entries = UserEntries(*app->Session()->GetUserManager());
    ASSERT_EQ(entries.size(), 3u);
    KeepOnlyListed("7\tAnna\tanna\n5\tBo\tbo\n");

    // In the middle: the next user is taken.
    const UserChoice middle = ChooseUser(*app, entries, 1);
    EXPECT_EQ(middle.index, 2);
    EXPECT_TRUE(middle.done);
    EXPECT_EQ(app->Session()->UserName(), "Bo");
    ASSERT_EQ(messages->shown().size(), 1u);
    EXPECT_EQ(
        messages->shown()[0],
        (services::Message{
            "This user id '3' is not properly installed.  Automatically switching to the next "
            "user in the 'User:' list.",
            "Brevora", services::MsgButtons::Ok, services::MsgIcon::Critical}));

    // Last in the box: the user is asked to choose; nothing more is tried.
    KeepOnlyListed("7\tAnna\tanna\n");
    const UserChoice last = ChooseUser(*app, entries, 1);
    EXPECT_EQ(last.index, 2);
    EXPECT_FALSE(last.done);
    ASSERT_EQ(messages->shown().size(), 3u);
    EXPECT_EQ(messages->shown()[2].text,
              "This user id '5' is not properly installed.  Please manually choose another user in "
              "the 'User:' list "
              "and check your Users in Palm Desktop.");
  });
}

TEST(UserChoice, EveryUserGoneTriesEachOnceAndStops) {
  SeedThreeUsers();
  OnFreshThread([] {
    test::RecordedMessages messages;
    Ref<TabrelPC> app = MakeRef<TabrelPC>();
    const std::vector<UserEntry> entries = UserEntries(*app->Session()->GetUserManager());
    KeepOnlyListed("");
    const UserChoice none = ChooseUser(*app, entries, 0);
    EXPECT_FALSE(none.done);
    EXPECT_EQ(messages->shown().size(), 3u);  // one message per user, no more
  });
}

TEST(UserChoice, LoadUsersErrors) {
  const AutomationError wrapped = LoadUsersError(AutomationError(5, "x", "Bad call"), "step");
  EXPECT_EQ(wrapped.number(), 32760);
  EXPECT_EQ(wrapped.source(), "frmSave.LoadUsers");
  EXPECT_EQ(wrapped.description(), "Error in Load Users.\r\nBad call\r\nstep");
  const AutomationError passed =
      LoadUsersError(AutomationError(32760, "Inner", "Inner failed"), "step");
  EXPECT_EQ(passed.source(), "Inner");
  EXPECT_EQ(passed.description(), "Inner failed\r\nstep");
  const AutomationError none = test::ErrorOf([] { RaiseNoUsers(); });
  EXPECT_EQ(none.number(), 32760);
  EXPECT_EQ(none.description().rfind("There are no users defined to use Brevora Server.", 0), 0u);
}

}  // namespace
}  // namespace brevora::frontend
