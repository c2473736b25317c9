#include "platform/automation/per_thread.h"

#include <gtest/gtest.h>

#include <atomic>
#include <string>
#include <thread>

namespace brevora {
namespace {

std::atomic<int> made{0};
std::atomic<int> ended{0};

struct ModuleState {
  ModuleState() { ++made; }
  ~ModuleState() { ++ended; }
  std::string helpFile;
  int calls = 0;
};

ModuleState& State() { return PerThread<ModuleState>(); }

TEST(PerThread, EachThreadHasItsOwnStateMadeOnFirstUseAndEndedWithTheThread) {
  State().helpFile = "main.chm";
  const int madeBefore = made, endedBefore = ended;
  std::string seenA, seenB;
  auto work = [](std::string name, std::string& seen) {
    seen = State().helpFile;  // fresh: empty
    State().helpFile = name;
    ++State().calls;
    seen += "|" + State().helpFile + "|" + std::to_string(State().calls);
  };
  std::thread a(work, "a.chm", std::ref(seenA));
  std::thread b(work, "b.chm", std::ref(seenB));
  a.join();
  b.join();
  EXPECT_EQ(seenA, "|a.chm|1");
  EXPECT_EQ(seenB, "|b.chm|1");
  EXPECT_EQ(made - madeBefore, 2);
  EXPECT_EQ(ended - endedBefore, 2);
  EXPECT_EQ(State().helpFile, "main.chm");  // the main thread's is untouched
}

// State whose destructor looks at the state again, as a terminate step may.
struct SelfReferring {
  ~SelfReferring() { lookedAtEmpty = PerThread<SelfReferring>().value.empty(); }
  std::string value;
  static inline std::atomic<bool> lookedAtEmpty{false};
};

TEST(PerThread, TeardownThatLooksAtTheStateFindsItFresh) {
  std::thread t([] { PerThread<SelfReferring>().value = "set"; });
  t.join();
  EXPECT_TRUE(SelfReferring::lookedAtEmpty);
}

}  // namespace
}  // namespace brevora
