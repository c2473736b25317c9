// A library of classes built on its own and loaded only through the registry
// (HKEY_CLASSES_ROOT + dlopen) by class_registry_test.
#include "platform/automation/class_registry.h"
#include "platform/automation/convert.h"
#include "platform/automation/member_table.h"

namespace {

using namespace brevora;

class Counter : public Dispatchable<Counter> {
 public:
  static const MemberTable<Counter>& Members() {
    static const MemberTable<Counter> table{
        {"Add", CallKind::Method,
         [](Counter& c, Args a) { return Variant(c.total_ += CLng(a[0])); }, 1},
        {"Total", CallKind::Get, [](Counter& c, Args) { return Variant(c.total_); }},
        // Doubles its by-reference argument in place.
        {"Twice", CallKind::Method, [](Counter&, Args a) { a[0] = Variant(CLng(a[0]) * 2); }, 1},
        {"Fail", CallKind::Method,
         [](Counter&, Args a) { RaiseError(CLng(a[0]), CStr(a[1]), CStr(a[2])); }, 3}};
    return table;
  }

 private:
  int32_t total_ = 0;
};

class Broken : public Dispatch {
 public:
  Broken() { RaiseError(kObjectError + 7, "Broken.Class_Initialize", "Cannot start."); }
};

const ClassRegistration counterClass("BrevoraTest.Counter",
                                     "{6A1C0E52-1D3B-4C0A-9E51-0000000000C1}",
                                     [] { return Ref<Dispatch>(MakeRef<Counter>()); });
// Registered only in the library itself, not in HKEY_CLASSES_ROOT: usable by
// ProgID once the library is loaded.
const ClassRegistration sideClass("BrevoraTest.Side", "{6A1C0E52-1D3B-4C0A-9E51-0000000000C2}",
                                  [] { return Ref<Dispatch>(MakeRef<Counter>()); });
const ClassRegistration brokenClass("BrevoraTest.Broken", "{6A1C0E52-1D3B-4C0A-9E51-0000000000C3}",
                                    [] { return Ref<Dispatch>(MakeRef<Broken>()); });

}  // namespace

BREVORA_EXPORT_OBJECTS()
