// create_object_probe: a program of the tests that links only the platform
// library, so that it reaches the suite's classes as another program of the
// suite does: through HKEY_CLASSES_ROOT.
//   create_object_probe <ProgID> [<method> [<text argument>...]]
// Creates the object by its ProgID and prints "created <ProgID>"; then calls
// the method with the texts and prints "returned" or "error <number>:
// <description>". Exit status 0 when the object was created, else 1 (with the
// error on stderr).
#include <cstdio>
#include <string>
#include <vector>

#include "platform/automation/call_by_name.h"
#include "platform/automation/class_registry.h"
#include "platform/error/error.h"
#include "platform/text/codepage.h"

int main(int argc, char** argv) {
  using namespace brevora;
  if (argc < 2) {
    std::fputs("usage: create_object_probe <ProgID> [<method> [<text>...]]\n", stderr);
    return 2;
  }
  Ref<Dispatch> object;
  try {
    object = CreateObject(argv[1]);
  } catch (...) {
    const AutomationError e = CurrentError();
    std::fprintf(stderr, "error %d: %s\n", e.number(), text::CpToUtf8(e.description()).c_str());
    return 1;
  }
  std::printf("created %s\n", argv[1]);
  if (argc < 3) return 0;
  std::vector<Variant> args;
  for (int i = 3; i < argc; ++i) args.emplace_back(text::Utf8ToCp(argv[i]));
  try {
    object->Invoke(argv[2], CallKind::Method, Args(args));
    std::printf("returned\n");
  } catch (...) {
    const AutomationError e = CurrentError();
    std::printf("error %d: %s\n", e.number(), text::CpToUtf8(e.description()).c_str());
  }
  return 0;
}
