#pragma once
// The faults of the handheld that every conduit's HotSync must survive, as one
// typed suite that each conduit's host tests instantiate (TextTest, Tabulyn,
// Scrivane): every call of a HotSync failing in turn, the handheld full after
// every size in turn, the HotSync killed in every call in turn, and a database
// list that breaks off. Whatever happens, nothing is lost and no handheld
// database is half written; the next HotSync ends where an uninterrupted one
// would have, and a killed one leaves nothing behind. Each sweep runs on
// handhelds in step with the desktop and on handhelds from another desktop
// (a slow sync).
//
// A conduit's host tests supply a fixture class C (a ::testing::Test run
// through the `hotsync` program, with the members device_, userFolder_ and
// session_) with these members, public; ConduitTest (conduit_fixture.h)
// gives it those three and FromAnotherDesktop, Sync, LastRunHas and LogFile
// (protected, which serves for them):
//   static constexpr const char* kProduct        the log's product word
//   static std::vector<uint64_t> RoomSizes()      the device-full sizes, rising
//   static constexpr int kFullRuns                at least this many of them fail
//   void Prepare()                                both sides as the HotSync under
//                                                 test finds them
//   void FromAnotherDesktop()                     the handheld last synced elsewhere
//   brevora::testing::ProgramResult Sync(const std::vector<std::string>& extra)
//   bool LastRunHas(const std::string& line) const
//   std::string LogFile() const
//   Outcome() const                               what the HotSync leaves on both
//                                                 sides, comparable and printable
//   void ExpectNothingLost(const decltype(Outcome())& uninterrupted, const std::string& what)
//   void ExpectNoHalfDatabase(const std::string& what)
// and instantiates the suite in this namespace:
//   INSTANTIATE_TYPED_TEST_SUITE_P(Tabulyn, FaultSweeps, FaultSweepsOf<TabulynFaults>,
//   FaultSweepNames);
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <utility>
#include <vector>

#include "platform/hotsync/host/host_commands.h"
#include "testing/handheld_folder.h"
#include "testing/run_program.h"
#include "testing/temp_home.h"

namespace brevora::conduit::testing {

// The desktop's HotSync state (the HotSync folder and the registry of the
// test's home) and a device folder, copied aside and put back.
class SavedHotSync {
 public:
  void Save(const std::string& device) {
    namespace stdfs = std::filesystem;
    device_ = device;
    copy_ = brevora::testing::MakeTempDir("pristine");
    for (const char* part : {"HotSync", "registry"}) {
      const std::string from = brevora::testing::TempHome() + "/" + part;
      if (stdfs::exists(from))
        stdfs::copy(from, copy_ + "/" + part, stdfs::copy_options::recursive);
    }
    stdfs::copy(device_, copy_ + "/device", stdfs::copy_options::recursive);
  }
  void Restore() const {
    namespace stdfs = std::filesystem;
    for (const char* part : {"HotSync", "registry"}) {
      const std::string to = brevora::testing::TempHome() + "/" + part;
      stdfs::remove_all(to);
      if (stdfs::exists(copy_ + "/" + part))
        stdfs::copy(copy_ + "/" + part, to, stdfs::copy_options::recursive);
    }
    stdfs::remove_all(device_);
    stdfs::copy(copy_ + "/device", device_, stdfs::copy_options::recursive);
  }

 private:
  std::string device_;
  std::string copy_;
};

// What a HotSync left behind: the hidden files of the device folder and of
// the user's folder (temporary files of writes), but the locks.
inline std::vector<std::string> HotSyncLeftovers(const std::string& device,
                                                 const std::string& userFolder) {
  std::vector<std::string> files = brevora::testing::HiddenFiles(device);
  for (const std::string& f : brevora::testing::HiddenFiles(userFolder))
    files.push_back("user/" + f);
  return files;
}

// One conduit's fixture with the handheld in step or from another desktop.
template <class Conduit, bool kOtherDesktop>
struct FaultSweep {
  using Fixture = Conduit;
  static constexpr bool kFromAnotherDesktop = kOtherDesktop;
};

template <class Conduit>
using FaultSweepsOf = ::testing::Types<FaultSweep<Conduit, false>, FaultSweep<Conduit, true>>;

struct FaultSweepNames {
  template <class Sweep>
  static std::string GetName(int) {
    return Sweep::kFromAnotherDesktop ? "FromAnotherDesktop" : "InStep";
  }
};

template <class Sweep>
class FaultSweeps : public Sweep::Fixture {
 protected:
  using Conduit = typename Sweep::Fixture;
  using Result = decltype(std::declval<const Conduit&>().Outcome());

  // More calls than any HotSync of the suite makes.
  static constexpr int kMostCalls = 5000;

  void SetUp() override {
    Conduit::SetUp();
    if (this->HasFatalFailure()) return;
    this->Prepare();
    if (Sweep::kFromAnotherDesktop) this->FromAnotherDesktop();
    saved_.Save(this->device_);
    ASSERT_EQ(this->Sync({}).status, 0);
    ASSERT_TRUE(this->LastRunHas(Line("OK"))) << this->LogFile();
    uninterrupted_ = this->Outcome();
    Restore();
  }

  static std::string Line(const char* what) { return std::string(what) + " " + Conduit::kProduct; }

  void Restore() {
    this->session_.reset();
    saved_.Restore();
  }

  // After the HotSync under test: nothing of it is lost and no database is
  // half written; the next HotSync ends where the uninterrupted one did.
  void ExpectCompletedByTheNext(const std::string& what) {
    this->ExpectNothingLost(uninterrupted_, what);
    this->ExpectNoHalfDatabase(what);
    const brevora::testing::ProgramResult next = this->Sync({});
    ASSERT_EQ(next.status, 0) << what << ": " << next.err << this->LogFile();
    EXPECT_TRUE(this->LastRunHas(Line("OK"))) << what << "\n" << this->LogFile();
    EXPECT_EQ(this->Outcome(), uninterrupted_) << what << "\n" << this->LogFile();
  }

  std::vector<std::string> Leftovers() const {
    return HotSyncLeftovers(this->device_, this->userFolder_);
  }

  SavedHotSync saved_;
  Result uninterrupted_;
};

TYPED_TEST_SUITE_P(FaultSweeps);

TYPED_TEST_P(FaultSweeps, EveryCallOfAHotSyncMayFail) {
  int reached = 0;
  for (int n = 1; n < this->kMostCalls; ++n) {
    this->Restore();
    const auto failed = this->Sync({"--fail-call", std::to_string(n)});
    ASSERT_EQ(failed.status,
              this->LastRunHas(this->Line("Failed")) ? hotsync::host::kConduitFailedStatus : 0)
        << failed.err;
    if (failed.err.find("was not reached") != std::string::npos) break;
    ++reached;
    this->ExpectCompletedByTheNext("call " + std::to_string(n));
    if (this->HasFailure()) break;
  }
  EXPECT_GT(reached, 50);
}

// Killed in every call in turn (among them the moment a new database is
// made), then one normal HotSync: it ends as an uninterrupted one, and
// nothing of the killed run is left anywhere.
TYPED_TEST_P(FaultSweeps, AHotSyncKilledAtAnyMomentIsCompletedByTheNext) {
  int killed = 0;
  for (int n = 1; n < this->kMostCalls; ++n) {
    this->Restore();
    const auto run = this->Sync({"--kill-call", std::to_string(n)});
    if (run.err.find("was not reached") != std::string::npos) break;
    const std::string what = "killed in call " + std::to_string(n);
    ASSERT_EQ(run.status, -1) << what << ": " << run.err;
    ++killed;
    this->ExpectCompletedByTheNext(what);
    EXPECT_TRUE(this->Leftovers().empty())
        << what << ": " << ::testing::PrintToString(this->Leftovers());
    if (this->HasFailure()) break;
  }
  EXPECT_GT(killed, 50);
}

TYPED_TEST_P(FaultSweeps, AFullHandheldLeavesNoHalfDatabase) {
  int full = 0;
  for (const uint64_t room : TypeParam::Fixture::RoomSizes()) {
    this->Restore();
    const int status = this->Sync({"--device-full", std::to_string(room)}).status;
    if (!this->LastRunHas(this->Line("Failed"))) {
      ASSERT_EQ(status, 0);
      break;
    }
    ASSERT_EQ(status, hotsync::host::kConduitFailedStatus);
    ++full;
    this->ExpectCompletedByTheNext(std::to_string(room) + " bytes of room");
    if (this->HasFailure()) break;
  }
  EXPECT_GE(full, TypeParam::Fixture::kFullRuns);
}

TYPED_TEST_P(FaultSweeps, ACutListDeletesNothing) {
  const auto before = this->Outcome();
  ASSERT_EQ(this->Sync({"--cut-list", "3"}).status, hotsync::host::kConduitFailedStatus);
  EXPECT_EQ(this->Outcome(), before);
  EXPECT_TRUE(
      this->LastRunHas(std::string("Info ") + TypeParam::Fixture::kProduct +
                       " - The list of the handheld's databases could not be read to its end."));
  EXPECT_TRUE(this->LastRunHas(this->Line("Failed")));
  this->ExpectCompletedByTheNext("after a cut list");
}

REGISTER_TYPED_TEST_SUITE_P(FaultSweeps, EveryCallOfAHotSyncMayFail,
                            AHotSyncKilledAtAnyMomentIsCompletedByTheNext,
                            AFullHandheldLeavesNoHalfDatabase, ACutListDeletesNothing);

}  // namespace brevora::conduit::testing
