#include "platform/automation/collection.h"
#include "testing/caught_error.h"

#include <gtest/gtest.h>

#include <functional>

namespace brevora {
namespace {

using ::brevora::testing::NumberOf;

std::string Order(const Collection<std::string>& c) {
  std::string out;
  for (const std::string& s : c) out += s;
  return out;
}

TEST(Collection, ItemsByPositionAndKeyWithoutRegardToCase) {
  Collection<std::string> c;
  c.Add("a", "K1");
  c.Add("b");
  c.Add("c", "Slide\xC9");
  EXPECT_EQ(c.Count(), 3);
  EXPECT_EQ(c.Item(2), "b");
  EXPECT_EQ(c.Item("k1"), "a");
  EXPECT_EQ(c.Item("SLIDE\xE9"), "c");  // code-page letters fold too
  EXPECT_EQ(c.Item(Variant(3)), "c");
  EXPECT_EQ(c.Item(Variant(1.5)), "b");  // positions round like CLng
  EXPECT_EQ(c.Item(Variant("K1")), "a");
  EXPECT_EQ(c.Find("nothing"), nullptr);
  EXPECT_EQ(Order(c), "abc");
}

TEST(Collection, ContainsAKeyWithoutRegardToCase) {
  Collection<int> c;
  c.Add(1, "K12");
  EXPECT_TRUE(c.Contains("k12"));
  EXPECT_FALSE(c.Contains("K13"));
}

TEST(Collection, AddBeforeAndAfterByPositionOrKey) {
  Collection<std::string> c;
  c.Add("b", "B");
  c.Add("d", "D");
  c.Add("a", "", Variant(1));
  c.Add("c", "", Variant(), Variant("b"));
  c.Add("e", "", Variant::Missing(), Variant(4));
  EXPECT_EQ(Order(c), "abcde");
  EXPECT_EQ(c.Item("D"), "d");
}

TEST(Collection, RemoveByPositionOrKeyKeepsOrderAndKeys) {
  Collection<std::string> c;
  for (std::string s : {"a", "b", "c", "d"}) c.Add(s, "k" + s);
  c.Remove(2);
  c.Remove("KC");
  c.Remove(Variant("kd"));
  EXPECT_EQ(Order(c), "a");
  EXPECT_EQ(NumberOf([&] { c.Item("kb"); }), 5);
  c.Add("b", "kb");  // the key is free again
  EXPECT_EQ(c.Item(2), "b");
}

TEST(Collection, ErrorNumbers) {
  Collection<std::string> c;
  c.Add("a", "K");
  struct Case {
    std::function<void()> f;
    int number;
    const char* what;
  };
  const Case cases[] = {
      {[&] { c.Add("x", "k"); }, 457, "duplicate key"},
      {[&] { c.Item("missing"); }, 5, "unknown key"},
      {[&] { c.Remove("missing"); }, 5, "remove unknown key"},
      {[&] { c.Item(0); }, 9, "position 0"},
      {[&] { c.Item(2); }, 9, "position past Count"},
      {[&] { c.Remove(-1); }, 9, "negative position"},
      {[&] { c.Item(Variant()); }, 9, "Empty is position 0"},
      {[&] { c.Item(Variant::Nothing()); }, 91, "Nothing as index"},
      {[&] { c.Add("x", "", Variant(5)); }, 5, "before a bad position"},
      {[&] { c.Add("x", "", Variant(), Variant("nope")); }, 5, "after an unknown key"},
      {[&] { c.Add("x", "", Variant(1), Variant(1)); }, 5, "both before and after"},
  };
  for (const Case& t : cases) EXPECT_EQ(NumberOf(t.f), t.number) << t.what;
  EXPECT_EQ(Order(c), "a");  // failed calls changed nothing
}

TEST(Collection, ManyKeyedItems) {
  Collection<int> c;
  const int n = 20000;
  for (int i = 0; i < n; ++i) c.Add(i, "K" + std::to_string(i));
  long sum = 0;
  for (int i = 1; i <= c.Count(); ++i) sum += c.Item(i);
  EXPECT_EQ(sum, static_cast<long>(n) * (n - 1) / 2);
  EXPECT_EQ(c.Item("k12345"), 12345);
  c.Remove("K0");
  EXPECT_EQ(c.Item(1), 1);
  EXPECT_EQ(c.Item("K19999"), 19999);
}

TEST(Collection, RemovedItemIsReleasedAfterTheCollectionIsConsistent) {
  struct Watch {
    std::function<void()> onEnd;
    ~Watch() {
      if (onEnd) onEnd();
    }
  };
  Collection<std::unique_ptr<Watch>> c;
  c.Add(std::make_unique<Watch>(), "w");
  int countSeen = -1;
  c.Item("w")->onEnd = [&] { countSeen = c.Count(); };
  c.Remove("w");
  EXPECT_EQ(countSeen, 0);
}

}  // namespace
}  // namespace brevora
