#include "album/presentation_chooser.h"

#include <vector>

#include "platform/automation/convert.h"
#include "platform/automation/variant.h"

namespace brevora::album {
namespace {

// Calls `member` with the path by reference (and the other arguments after
// it), and reads the path back.
bool AskWithPath(Dispatch& application, const char* member, std::string& path,
                 std::vector<Variant> args) {
  args.insert(args.begin(), Variant(path));
  const Variant answer = application.Invoke(member, CallKind::Method, Args(args));
  path = CStr(args[0]);
  return CBool(answer);
}

}  // namespace

bool ApplicationChooser::FileToSave(Dispatch& application, std::string& path) {
  return AskWithPath(application, "GetFileToSave_Slidora", path, {});
}

bool ApplicationChooser::FileToOpen(Dispatch& application, std::string& path) {
  return AskWithPath(application, "GetFileToOpen_Slidora", path, {Variant(false)});
}

}  // namespace brevora::album
