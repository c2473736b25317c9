#include "office/office_addin.h"

#include "core/registry_helpers.h"
#include "platform/automation/call_by_name.h"
#include "platform/automation/convert.h"
#include "platform/error/error.h"
#include "platform/fs/files.h"
#include "platform/fs/paths.h"
#include "platform/text/case.h"

namespace brevora::office {

namespace {

constexpr int32_t kInvalidCall = 5;

bool StartsWithNoCase(std::string_view text, std::string_view prefix) {
  return text.size() >= prefix.size() && text::EqualsNoCase(text.substr(0, prefix.size()), prefix);
}

}  // namespace

Ref<Dispatch> FindListedAddIn(Dispatch& app, std::string_view prefix) {
  const Variant addIns =
      CallByName(app, "AddIns", CallKind::Get);  // holds the list while we walk it
  const int32_t count = CLng(CallByName(ObjectOf(addIns), "Count", CallKind::Get));
  const std::string upperPrefix = text::UCase(prefix);
  for (int32_t i = 1; i <= count; ++i) {
    const Variant item = CallByName(ObjectOf(addIns), "Item", CallKind::Method, i);
    const std::string name = text::UCase(CStr(CallByName(ObjectOf(item), "Name", CallKind::Get)));
    if (name.starts_with(upperPrefix)) return Ref<Dispatch>(&ObjectOf(item));
  }
  return nullptr;
}

std::string FindAddInInFolder(std::string_view folder, std::string_view prefix) {
  if (folder.empty()) return {};
  const std::string withSeparator = fs::WithSeparator(folder);
  if (!fs::FolderExists(withSeparator)) return {};
  for (const std::string& name : fs::ListFolder(withSeparator, fs::ListKind::Files)) {
    if (StartsWithNoCase(name, prefix)) return withSeparator + name;
  }
  return {};
}

std::string FindAddInFromCommand(std::string_view commandKey, std::string_view programName,
                                 std::string_view subFolder,
                                 const std::function<std::string()>& fileName) {
  const std::string command =
      fs::StripQuotes(core::GetRegistryString(commandKey, "", registry::Hive::ClassesRoot));
  if (command.empty()) return {};
  const size_t at = text::LCase(command).find(text::LCase(programName));
  // The program's folder is the text before its name; without the name there
  // is no folder to take.
  if (at == std::string::npos) RaiseRuntimeError(kInvalidCall);
  const std::string path = command.substr(0, at) + std::string(subFolder) + "\\" +
                           (fileName ? fileName() : std::string());
  bool exists = false;
  try {
    exists = fs::FileExists(path);
  } catch (const AutomationError&) {
    // A name the file system cannot hold is no add-in.
  }
  return exists ? path : std::string();
}

OfficeAddIn FindOfficeAddIn(Dispatch& app, const OfficeAddInSearch& search) {
  OfficeAddIn found;
  if (Ref<Dispatch> entry = FindListedAddIn(app, search.prefix)) {
    found.place = OfficeAddInPlace::Listed;
    found.entry = std::move(entry);
    return found;
  }
  const std::string folder = CStr(CallByName(app, search.folderProperty, CallKind::Get));
  found.path = FindAddInInFolder(folder, search.prefix);
  if (!found.path.empty()) {
    found.place = OfficeAddInPlace::Folder;
    return found;
  }
  found.path = FindAddInFromCommand(search.commandKey, search.programName, search.subFolder,
                                    search.fileName);
  if (!found.path.empty()) found.place = OfficeAddInPlace::Registry;
  return found;
}

}  // namespace brevora::office
