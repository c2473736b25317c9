#include "office/desktop_windows.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/on_fresh_thread.h"
#include "platform/automation/member_table.h"

namespace brevora::office {
namespace {

std::vector<std::string> events;

// A desktop window as the converters see it: Refresh1, late-bound.
class FakeWindow : public Dispatchable<FakeWindow> {
 public:
  explicit FakeWindow(std::string name, bool fail = false) : name_(std::move(name)), fail_(fail) {}
  static const MemberTable<FakeWindow>& Members() {
    static const MemberTable<FakeWindow> table{
        {"Refresh1", CallKind::Method, [](FakeWindow& w, Args) {
           events.push_back("Refresh1 " + w.name_);
           if (w.fail_) RaiseError(91, "", "gone");
         }}};
    return table;
  }

 private:
  std::string name_;
  bool fail_;
};

TEST(DesktopWindowsTest, EveryWindowIsRefreshedInOrderWithMessagesRunAfterEach) {
  core::OnFreshThread([] {
    events.clear();
    RefreshDesktopWindows();  // none open: nothing to do
    SetMessagePump([] { events.push_back("DoEvents"); });
    Ref<Dispatch> a = MakeRef<FakeWindow>("a");
    Ref<Dispatch> b = MakeRef<FakeWindow>("b");
    RegisterDesktopWindow(a);
    RegisterDesktopWindow(b);
    RefreshDesktopWindows();
    EXPECT_EQ(events,
              (std::vector<std::string>{"Refresh1 a", "DoEvents", "Refresh1 b", "DoEvents"}));
    EXPECT_TRUE(UnregisterDesktopWindow(a));
    EXPECT_FALSE(UnregisterDesktopWindow(a));
    EXPECT_EQ(DesktopWindows(), (std::vector<Ref<Dispatch>>{b}));
    UnregisterDesktopWindow(b);
  });
}

TEST(DesktopWindowsTest, TheFirstFailureStopsTheWalk) {
  core::OnFreshThread([] {
    events.clear();
    RegisterDesktopWindow(MakeRef<FakeWindow>("broken", true));
    RegisterDesktopWindow(MakeRef<FakeWindow>("next"));
    EXPECT_THROW(RefreshDesktopWindows(), AutomationError);
    EXPECT_EQ(events, (std::vector<std::string>{"Refresh1 broken"}));
  });
}

TEST(DesktopWindowsTest, WindowsBelongToTheirThread) {
  Ref<Dispatch> window = MakeRef<FakeWindow>("main");
  RegisterDesktopWindow(window);
  core::OnFreshThread([] { EXPECT_TRUE(DesktopWindows().empty()); });
  EXPECT_EQ(DesktopWindows().size(), 1u);
  UnregisterDesktopWindow(window);
}

}  // namespace
}  // namespace brevora::office
