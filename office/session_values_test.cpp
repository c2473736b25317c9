#include "office/session_values.h"

#include <gtest/gtest.h>

#include "core/module_state.h"
#include "core/on_fresh_thread.h"
#include "core/session.h"
#include "core/user_manager.h"

namespace brevora::office {
namespace {

Ref<core::DeviceUser> AddUser(core::Session& session, int32_t id, std::string name) {
  Ref<core::DeviceUser> user = MakeRef<core::DeviceUser>();
  user->SetUID(id);
  user->SetUserName(std::move(name));
  session.GetUserManager()->GetUsers()->Add(user);
  return user;
}

TEST(SessionValues, NamesInTheirFixedOrder) {
  const char* expected[] = {"SERVERMODE",   "FRIENDLYNAME", "FILEMODE", "USERID",
                            "USERNAME",     "PARAM1",       "PARAM2",   "PARAM3",
                            "ERRORMESSAGE", "ERRORNUMBER"};
  for (int i = 0; i < kSessionValueCount; ++i) EXPECT_STREQ(kSessionValueNames[i], expected[i]);
}

TEST(SessionValues, SentInOrderWithTheParametersAsTheyAre) {
  core::OnFreshThread([] {
    Ref<core::Session> session = core::GlobalSession();
    AddUser(*session, 42, "Anna");
    session->SetUserName("Anna");
    session->SetFileMode(1);
    session->SetParameter1(Variant(int32_t{5}));
    session->SetParameter3(Variant("c"));
    session->SetErrorMessage("none");
    session->SetErrorNumber(-3);
    const auto values = GetSessionValues(*session);
    EXPECT_EQ(values[0], Variant(false));
    EXPECT_EQ(values[1], Variant(""));
    EXPECT_EQ(values[2], Variant(int32_t{1}));
    EXPECT_EQ(values[3], Variant(int32_t{42}));
    EXPECT_EQ(values[4], Variant("Anna"));
    EXPECT_EQ(values[5], Variant(int32_t{5}));
    EXPECT_TRUE(values[6].IsEmpty());
    EXPECT_EQ(values[7], Variant("c"));
    EXPECT_EQ(values[8], Variant("none"));
    EXPECT_EQ(values[9], Variant(int32_t{-3}));
  });
}

TEST(SessionValues, TakenBackThroughTheSettersParametersAsText) {
  core::OnFreshThread([] {
    Ref<core::Session> session = core::GlobalSession();
    AddUser(*session, 42, "Anna");
    AddUser(*session, 43, "Bert");
    session->SetUserName("Anna");
    const Variant back[kSessionValueCount] = {
        Variant(false), Variant(""), Variant(int16_t{2}), Variant(int32_t{43}), Variant("Bert"),
        Variant(7.5),   Variant(),   Variant("x"),        Variant("failed"),    Variant("32760")};
    SetSessionValues(*session, back);
    EXPECT_FALSE(session->IsServerMode());
    EXPECT_EQ(session->FileMode(), 2);
    EXPECT_EQ(session->UserName(), "Bert");
    EXPECT_EQ(session->Parameter1(), Variant("7.5"));
    EXPECT_EQ(session->Parameter2(), Variant(""));
    EXPECT_EQ(session->Parameter3(), Variant("x"));
    EXPECT_EQ(session->ErrorMessage(), "failed");
    EXPECT_EQ(session->ErrorNumber(), 32760);
  });
}

TEST(SessionValues, EmptyValuesResetTheSessionButKeepTheUser) {
  core::OnFreshThread([] {
    Ref<core::Session> session = core::GlobalSession();
    AddUser(*session, 42, "Anna");
    session->SetUserName("Anna");
    session->SetFileMode(2);
    session->SetErrorNumber(9);
    session->SetErrorMessage("old");
    session->SetParameter1(Variant(int32_t{1}));
    const Variant empty[kSessionValueCount] = {};
    SetSessionValues(*session, empty);
    EXPECT_EQ(session->FileMode(), 0);
    EXPECT_EQ(session->ErrorNumber(), 0);
    EXPECT_EQ(session->ErrorMessage(), "");
    EXPECT_EQ(session->Parameter1(), Variant(""));
    EXPECT_FALSE(session->IsServerMode());
    EXPECT_EQ(session->UserName(), "Anna");  // 0 and "" select nobody else
  });
}

}  // namespace
}  // namespace brevora::office
