#include "platform/automation/class_registry.h"

#include <dlfcn.h>
#include <gtest/gtest.h>

#include <functional>

#include "platform/automation/call_by_name.h"
#include "platform/automation/convert.h"
#include "platform/automation/member_table.h"
#include "platform/registry/registry.h"
#include "testing/caught_error.h"

namespace brevora {
namespace {

constexpr const char* kServer = BREVORA_TEST_SERVER;
constexpr const char* kCounterClsid = "{6A1C0E52-1D3B-4C0A-9E51-0000000000C1}";

using ::brevora::testing::NumberOf;

bool ServerLoaded() {
  void* h = dlopen(kServer, RTLD_NOW | RTLD_NOLOAD);
  if (h) dlclose(h);  // drops only the count NOLOAD added
  return h != nullptr;
}

class Local : public Dispatchable<Local> {
 public:
  explicit Local(int tag) : tag(tag) {}
  static const MemberTable<Local>& Members() {
    static const MemberTable<Local> table{
        {"Tag", CallKind::Get, [](Local& l, Args) { return Variant(l.tag); }}};
    return table;
  }
  int tag;
};

TEST(ClassRegistry, CreatesAClassOfAnotherLibraryThroughTheRegistry) {
  const bool loadedBefore = ServerLoaded();
  if (!loadedBefore) {
    EXPECT_EQ(NumberOf([] { CreateObject("BrevoraTest.Counter"); }), 429);
  }
  RegisterServer("BrevoraTest.Counter", kCounterClsid, kServer);
  EXPECT_EQ(ClsidFromProgId("brevoratest.counter"), kCounterClsid);

  Ref<Dispatch> counter = CreateObject("brevoratest.COUNTER");
  ASSERT_TRUE(counter);
  EXPECT_TRUE(ServerLoaded());
  EXPECT_EQ(counter->RefCount(), 1);
  CallByName(counter, "Add", CallKind::Method, 5);
  CallByName(counter, "add", CallKind::Method, "7");
  EXPECT_EQ(CallByName(counter, "Total", CallKind::Get), Variant(12));

  // By-reference argument written back across the library boundary.
  Variant n[1] = {Variant(21)};
  counter->Invoke("Twice", CallKind::Method, n);
  EXPECT_EQ(n[0], Variant(42));

  // Its other classes are now registered in this process, also those absent
  // from the registry.
  EXPECT_TRUE(CreateObject("BrevoraTest.Side"));
  EXPECT_TRUE(CreateObjectFromClsid(kCounterClsid));
}

TEST(ClassRegistry, ErrorRaisedInsideTheLibraryArrivesIntact) {
  RegisterServer("BrevoraTest.Counter", kCounterClsid, kServer);
  Ref<Dispatch> counter = CreateObject("BrevoraTest.Counter");
  try {
    CallByName(counter, "Fail", CallKind::Method, kWrapError, "SDK.TBRToXLSExt",
               "Error converting TBR to XLS.\r\nFile not found");
    FAIL() << "no error";
  } catch (const AutomationError& e) {
    EXPECT_EQ(e.number(), kWrapError);
    EXPECT_EQ(e.source(), "SDK.TBRToXLSExt");
    EXPECT_EQ(e.description(), "Error converting TBR to XLS.\r\nFile not found");
  }
  // An error of a class's creation passes through CreateObject unchanged.
  registry::SetValue(registry::Hive::ClassesRoot, "BrevoraTest.Broken\\CLSID", "",
                     registry::Value::String("{6A1C0E52-1D3B-4C0A-9E51-0000000000C3}"));
  try {
    CreateObject("BrevoraTest.Broken");
    FAIL() << "no error";
  } catch (const AutomationError& e) {
    EXPECT_EQ(e.number(), kObjectError + 7);
    EXPECT_EQ(e.source(), "Broken.Class_Initialize");
  }
}

TEST(ClassRegistry, NothingToCreateIs429) {
  const std::string missingSo = std::string(BREVORA_TEST_SERVER) + ".absent.so";
  RegisterServer("BrevoraTest.NoLibrary", "{00000000-0000-0000-0000-0000000000A1}", missingSo);
  // A library that does not know the CLSID it is asked for.
  RegisterServer("BrevoraTest.Unknown", "{00000000-0000-0000-0000-0000000000A2}", kServer);
  registry::SetValue(registry::Hive::ClassesRoot, "BrevoraTest.NoClsidKey\\CLSID", "",
                     registry::Value::String("{00000000-0000-0000-0000-0000000000A3}"));
  for (const char* progId : {"BrevoraTest.Nowhere", "BrevoraTest.NoLibrary", "BrevoraTest.Unknown",
                             "BrevoraTest.NoClsidKey", "", "Bad\\Name", "Excel.Application"}) {
    EXPECT_EQ(NumberOf([&] { CreateObject(progId); }), 429) << progId;
  }
  EXPECT_EQ(NumberOf([] { CreateObjectFromClsid("{00000000-0000-0000-0000-0000000000FF}"); }), 429);
  try {
    CreateObject("BrevoraTest.Nowhere");
  } catch (const AutomationError& e) {
    EXPECT_EQ(e.description(), "ActiveX component can't create object");
  }
}

TEST(ClassRegistry, InProcessRegistrationReplaceAndUnregister) {
  RegisterClass("BrevoraTest.Local", "{00000000-0000-0000-0000-0000000000B1}",
                [] { return Ref<Dispatch>(MakeRef<Local>(1)); });
  EXPECT_EQ(CallByName(CreateObject("BREVORATEST.LOCAL"), "Tag", CallKind::Get), Variant(1));
  EXPECT_EQ(CallByName(CreateObjectFromClsid("{00000000-0000-0000-0000-0000000000b1}"), "Tag",
                       CallKind::Get),
            Variant(1));
  // A fake registered again under the same name replaces the first.
  RegisterClass("BrevoraTest.Local", "{00000000-0000-0000-0000-0000000000B2}",
                [] { return Ref<Dispatch>(MakeRef<Local>(2)); });
  EXPECT_EQ(CallByName(CreateObject("BrevoraTest.Local"), "Tag", CallKind::Get), Variant(2));
  EXPECT_EQ(NumberOf([] { CreateObjectFromClsid("{00000000-0000-0000-0000-0000000000B1}"); }), 429);
  EXPECT_EQ(ClsidFromProgId("BrevoraTest.Local"), "{00000000-0000-0000-0000-0000000000B2}");

  UnregisterClass("BrevoraTest.Local");
  EXPECT_EQ(NumberOf([] { CreateObject("BrevoraTest.Local"); }), 429);
  EXPECT_EQ(NumberOf([] { CreateObjectFromClsid("{00000000-0000-0000-0000-0000000000B2}"); }), 429);
  // A factory that gives nothing.
  RegisterClass("BrevoraTest.Null", "", [] { return Ref<Dispatch>(); });
  EXPECT_EQ(NumberOf([] { CreateObject("BrevoraTest.Null"); }), 429);
  UnregisterClass("BrevoraTest.Null");
}

}  // namespace
}  // namespace brevora
