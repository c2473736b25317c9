#include "platform/automation/member_table.h"

#include <gtest/gtest.h>

#include <functional>

#include "platform/automation/call_by_name.h"
#include "platform/automation/convert.h"
#include "testing/caught_error.h"

namespace brevora {
namespace {

using ::brevora::testing::NumberOf;

// A small class with the kinds of member the object models have.
class Frame : public Dispatchable<Frame> {
 public:
  static const MemberTable<Frame>& Members() {
    static const MemberTable<Frame> table{
        {"Title", CallKind::Get, [](Frame& f, Args) { return Variant(f.title); }},
        {"Title", CallKind::Let, [](Frame& f, Args a) { f.title = CStr(a[0]); }},
        {"Parent", CallKind::Get, [](Frame& f, Args) { return Variant(f.parent); }},
        {"Parent", CallKind::Set, [](Frame& f, Args a) { f.parent = a[0].AsObject(); }},
        // Fills four 16-bit by-reference arguments.
        {"GetFrozenCells", CallKind::Method,
         [](Frame&, Args a) {
           for (int i = 0; i < 4; ++i) a[i] = Variant(static_cast<int16_t>(i + 1));
           return Variant();
         },
         4},
        // One required and one optional argument; says whether the second was given.
        {"Open", CallKind::Method,
         [](Frame& f, Args a) {
           f.title = CStr(a[0]);
           return Variant(!a[1].IsMissing());
         },
         1, 2},
        {"Count", CallKind::Method, [](Frame&, Args) { return Variant(3); }}};
    return table;
  }

  std::string title;
  Ref<Dispatch> parent;
};

TEST(Dispatch, MembersByNameWithoutRegardToCase) {
  auto frame = MakeRef<Frame>();
  CallByName(frame, "TITLE", CallKind::Let, "Sheet 1");
  EXPECT_EQ(frame->title, "Sheet 1");
  EXPECT_EQ(CallByName(frame, "title", CallKind::Get), Variant("Sheet 1"));
  // A method call finds a property get and the other way round.
  EXPECT_EQ(CallByName(frame, "Title", CallKind::Method), Variant("Sheet 1"));
  EXPECT_EQ(CallByName(frame, "count", CallKind::Get), Variant(3));
}

TEST(Dispatch, ByReferenceArgumentsAreWrittenBack) {
  auto frame = MakeRef<Frame>();
  Variant args[4] = {Variant(int16_t{0}), Variant(int16_t{0}), Variant(int16_t{0}),
                     Variant(int16_t{0})};
  frame->Invoke("GetFrozenCells", CallKind::Method, args);
  for (int i = 0; i < 4; ++i) EXPECT_EQ(args[i], Variant(static_cast<int16_t>(i + 1)));
}

TEST(Dispatch, OptionalArgumentsArriveMissingAndByRefSurvivesPadding) {
  auto frame = MakeRef<Frame>();
  Variant one[1] = {Variant("a.tbr")};
  EXPECT_EQ(frame->Invoke("Open", CallKind::Method, one), Variant(false));
  EXPECT_EQ(frame->title, "a.tbr");
  EXPECT_EQ(CallByName(frame, "Open", CallKind::Method, "b.tbr", true), Variant(true));
  Variant missing[2] = {Variant("c.tbr"), Variant::Missing()};
  EXPECT_EQ(frame->Invoke("Open", CallKind::Method, missing), Variant(false));
}

TEST(Dispatch, SetTakesObjects) {
  auto frame = MakeRef<Frame>();
  auto parent = MakeRef<Frame>();
  CallByName(frame, "Parent", CallKind::Set, parent);
  EXPECT_EQ(frame->parent, Ref<Dispatch>(parent));
  EXPECT_EQ(CallByName(frame, "Parent", CallKind::Get), Variant(parent));
  EXPECT_EQ(&ObjectOf(CallByName(frame, "Parent", CallKind::Get)), parent.get());
}

TEST(Dispatch, ErrorNumbers) {
  auto frame = MakeRef<Frame>();
  struct Case {
    std::function<void()> f;
    int number;
    const char* what;
  };
  const Case cases[] = {
      {[&] { CallByName(frame, "Nope", CallKind::Method); }, 438, "unknown member"},
      {[&] { CallByName(frame, "Count", CallKind::Let, 4); }, 438, "read-only property"},
      {[&] { CallByName(frame, "Title", CallKind::Set, 4); }, 438, "Set on a Let property"},
      {[&] { CallByName(frame, "Title", CallKind::Get, 1); }, 450, "too many arguments"},
      {[&] { CallByName(frame, "Open", CallKind::Method); }, 450, "too few arguments"},
      {[&] { CallByName(frame, "Open", CallKind::Method, Variant::Missing()); }, 449,
       "required argument missing"},
      {[&] { CallByName(Ref<Frame>(), "Title", CallKind::Get); }, 91, "Nothing"},
      {[] { ObjectOf(Variant(5)); }, 424, "not an object"},
      {[] { ObjectOf(Variant::Nothing()); }, 91, "Nothing in a Variant"},
      {[] {
         auto plain = MakeRef<Dispatch>();
         CallByName(plain, "Anything", CallKind::Method);
       },
       438, "a Dispatch without members"},
  };
  for (const Case& c : cases) EXPECT_EQ(NumberOf(c.f), c.number) << c.what;
}

TEST(Dispatch, ObjectsHandedToASet) {
  auto frame = MakeRef<Frame>();
  EXPECT_EQ(ObjectArg<Frame>(Variant(frame)), frame);
  EXPECT_EQ(ObjectOrNothing<Frame>(Variant(frame)), frame);
  EXPECT_EQ(ObjectOrNothing<Frame>(Variant::Nothing()), nullptr);
  auto plain = MakeRef<Dispatch>();
  struct Case {
    std::function<void()> f;
    int number;
    const char* what;
  };
  const Case cases[] = {
      {[] { ObjectArg<Frame>(Variant(5)); }, 424, "not an object"},
      {[] { ObjectArg<Frame>(Variant::Nothing()); }, 91, "Nothing"},
      {[&] { ObjectArg<Frame>(Variant(plain)); }, 13, "another class"},
      {[] { ObjectOrNothing<Frame>(Variant(5)); }, 424, "not an object, Nothing allowed"},
      {[&] { ObjectOrNothing<Frame>(Variant(plain)); }, 13, "another class, Nothing allowed"},
  };
  for (const Case& c : cases) EXPECT_EQ(NumberOf(c.f), c.number) << c.what;
}

}  // namespace
}  // namespace brevora
