#include "office/addin_session.h"

#include <gtest/gtest.h>

#include <functional>

#include "core/module_state.h"
#include "core/on_fresh_thread.h"
#include "core/session.h"
#include "core/user_manager.h"
#include "testing/caught_error.h"

namespace brevora::office {
namespace {

using ::brevora::testing::ErrorOf;

void AddUser(core::Session& session, int32_t id, std::string name) {
  Ref<core::DeviceUser> user = MakeRef<core::DeviceUser>();
  user->SetUID(id);
  user->SetUserName(std::move(name));
  session.GetUserManager()->GetUsers()->Add(user);
}

using Texts = std::array<std::string, kSessionValueCount>;

TEST(AddInSessionTest, TextsInTheirOrderWithServerModeAsOneOrZero) {
  core::OnFreshThread([] {
    Ref<core::Session> session = core::GlobalSession();
    AddUser(*session, 42, "Anna");
    session->SetUserName("Anna");
    session->SetFileMode(1);
    session->SetParameter1(Variant(int32_t{5}));
    session->SetParameter3(Variant(true));
    session->SetErrorNumber(-3);
    EXPECT_EQ(SessionValueTexts(*session),
              (Texts{"0", "", "1", "42", "Anna", "5", "", "True", "", "-3"}));
    session->SetIsServerMode(true);
    EXPECT_EQ(SessionValueTexts(*session)[0], "1");
  });
}

TEST(AddInSessionTest, TextsComeBackThroughTheSetters) {
  core::OnFreshThread([] {
    Ref<core::Session> session = core::GlobalSession();
    AddUser(*session, 42, "Anna");
    AddUser(*session, 43, "Bert");
    const Texts back = {"1", "", "2", "43", "Bert", "a", "", "c", "failed", "1004 "};
    SetSessionValuesFromTexts(*session, back);
    EXPECT_TRUE(session->IsServerMode());
    EXPECT_EQ(session->FileMode(), 2);
    EXPECT_EQ(session->UserID(), 43);
    EXPECT_EQ(session->Parameter1(), Variant("a"));
    EXPECT_EQ(session->Parameter2(), Variant(""));
    EXPECT_EQ(session->ErrorMessage(), "failed");
    EXPECT_EQ(session->ErrorNumber(), 1004);
    // What a Boolean would have become as text does not read back as on.
    Texts asBoolean = back;
    asBoolean[0] = "True";
    SetSessionValuesFromTexts(*session, asBoolean);
    EXPECT_FALSE(session->IsServerMode());
    // A round trip keeps every value.
    session->SetIsServerMode(true);
    session->SetParameter1(Variant(int32_t{7}));
    const Texts sent = SessionValueTexts(*session);
    SetSessionValuesFromTexts(*session, sent);
    EXPECT_EQ(SessionValueTexts(*session), sent);
    EXPECT_TRUE(session->IsServerMode());
  });
}

TEST(AddInSessionTest, ANumberOutOfRangeOverflows) {
  core::OnFreshThread([] {
    Ref<core::Session> session = core::GlobalSession();
    Texts texts = {"0", "", "0", "99999999999", "", "", "", "", "", "0"};
    EXPECT_EQ(ErrorOf([&] { SetSessionValuesFromTexts(*session, texts); }).number(), 6);
    texts[3] = "0";
    texts[2] = "1e999999";  // no exponent: reads 1
    SetSessionValuesFromTexts(*session, texts);
    EXPECT_EQ(session->FileMode(), 1);
  });
}

TEST(AddInSessionTest, LeadingNumber) {
  const struct {
    const char* text;
    double value;
  } cases[] = {{"12abc", 12}, {"  -3", -3}, {"", 0},  {"x1", 0},    {"2.5", 2.5},
               {"+4", 4},     {".", 0},     {"-", 0}, {"0017", 17}, {"1.5.3", 1.5}};
  for (const auto& c : cases) EXPECT_EQ(LeadingNumber(c.text), c.value) << c.text;
}

TEST(AddInSessionTest, TheErrorSlot) {
  core::OnFreshThread([] {
    Ref<core::Session> session = core::GlobalSession();
    RaiseErrorSlot(*session);  // empty: no error

    session->SetErrorMessage("The file is locked.");
    AutomationError e = ErrorOf([&] { RaiseErrorSlot(*session); });
    EXPECT_EQ(e.number(), kWrapError);  // a message without a number
    EXPECT_EQ(e.source(), "Brevora");
    EXPECT_EQ(e.description(), "The file is locked.");

    session->SetErrorNumber(1004);
    e = ErrorOf([&] { RaiseErrorSlot(*session); });
    EXPECT_EQ(e.number(), 1004);

    session->SetErrorMessage("");
    e = ErrorOf([&] { RaiseErrorSlot(*session); });
    EXPECT_EQ(e.number(), 1004);  // a number without a message

    ClearErrorSlot(*session);
    EXPECT_EQ(session->ErrorNumber(), 0);
    EXPECT_EQ(session->ErrorMessage(), "");
    RaiseErrorSlot(*session);
  });
}

}  // namespace
}  // namespace brevora::office
