#include "platform/automation/variant.h"

#include <gtest/gtest.h>

#include <functional>

#include "platform/automation/dispatch.h"
#include "platform/error/error.h"
#include "testing/caught_error.h"

namespace brevora {
namespace {

class Probe : public Dispatch {
 public:
  explicit Probe(int* alive) : alive_(alive) { ++*alive_; }
  ~Probe() override { --*alive_; }

 private:
  int* alive_;
};

using ::brevora::testing::NumberOf;

TEST(Variant, EachConstructorGivesItsKind) {
  struct Case {
    Variant value;
    VarType type;
  };
  const Case cases[] = {
      {Variant(), VarType::Empty},
      {Variant::Null(), VarType::Null},
      {Variant::Missing(), VarType::Missing},
      {Variant(true), VarType::Boolean},
      {Variant(int16_t{5}), VarType::Integer},
      {Variant(5), VarType::Long},
      {Variant(5.0), VarType::Double},
      {Variant::Date(1.5), VarType::Date},
      {Variant("text"), VarType::String},
      {Variant(std::string("text")), VarType::String},
      {Variant::Nothing(), VarType::Object},
      {Variant(std::vector<uint8_t>{1, 2}), VarType::Bytes},
      {Variant(std::vector<Variant>{Variant(1), Variant("a")}), VarType::Array},
  };
  for (const Case& c : cases) EXPECT_EQ(c.value.type(), c.type) << TypeName(c.type);
}

TEST(Variant, AccessorOfAnotherKindIsTypeMismatch) {
  EXPECT_EQ(NumberOf([] { (void)Variant(5).AsString(); }), 13);
  EXPECT_EQ(NumberOf([] { (void)Variant("5").AsLong(); }), 13);
  EXPECT_EQ(NumberOf([] { (void)Variant(int16_t{5}).AsLong(); }), 13);
  EXPECT_EQ(NumberOf([] { (void)Variant().AsObject(); }), 13);
  EXPECT_EQ(Variant::Date(2.25).AsDate(), 2.25);
}

TEST(Variant, CopiesArraysDeeplyAndSharesObjects) {
  int alive = 0;
  {
    Variant a(std::vector<Variant>{Variant(1), Variant(MakeRef<Probe>(&alive))});
    Variant b = a;
    b.AsArray()[0] = Variant(2);
    EXPECT_EQ(a.AsArray()[0], Variant(1));
    EXPECT_EQ(a.AsArray()[1], b.AsArray()[1]);  // the same object
    EXPECT_EQ(alive, 1);
    EXPECT_EQ(a.AsArray()[1].AsObject()->RefCount(), 2);
  }
  EXPECT_EQ(alive, 0);  // the last reference ran the destructor
}

TEST(Variant, EqualityNeedsTheSameKind) {
  EXPECT_EQ(Variant(1), Variant(1));
  EXPECT_NE(Variant(1), Variant(int16_t{1}));
  EXPECT_NE(Variant(1.0), Variant::Date(1.0));
  EXPECT_NE(Variant(), Variant::Missing());
  EXPECT_EQ(Variant::Nothing(), Variant::Nothing());
}

TEST(Ref, ReleasesDeterministicallyAndMovesWithoutCounting) {
  int alive = 0;
  Ref<Probe> a = MakeRef<Probe>(&alive);
  Ref<Dispatch> b = a;
  EXPECT_EQ(a->RefCount(), 2);
  Ref<Dispatch> c = std::move(b);
  EXPECT_EQ(a->RefCount(), 2);
  EXPECT_FALSE(b);
  a.Reset();
  EXPECT_EQ(alive, 1);
  c = nullptr;
  EXPECT_EQ(alive, 0);

  Ref<Probe> d = MakeRef<Probe>(&alive);
  Ref<Dispatch> e = AdoptRef<Dispatch>(Ref<Probe>(d).Detach());
  EXPECT_EQ(d->RefCount(), 2);
  EXPECT_EQ(RefCast<Probe>(e), d);
  e = d;  // self-assignment of the same object keeps it alive
  EXPECT_EQ(d->RefCount(), 2);
}

}  // namespace
}  // namespace brevora
