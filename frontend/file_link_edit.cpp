#include "frontend/file_link_edit.h"

#include "core/file_mode.h"
#include "core/module_state.h"
#include "frontend/form_factory.h"
#include "frontend/show_dialog.h"
#include "platform/automation/call_by_name.h"
#include "platform/automation/convert.h"
#include "platform/error/error.h"
#include "platform/fs/paths.h"

namespace brevora::frontend {
namespace {

// The late-bound names of one kind's link members.
struct LinkMembers {
  const char* fileName;
  const char* modTime;
  const char* syncMethod;
  const char* close;
};

constexpr LinkMembers kMembers[] = {
    {"LinkedXLSFileName", "LinkedXLSFileModDateTime", "LinkedXLSSyncMethod", "CloseWorkbook"},
    {"LinkedDOCFileName", "LinkedDOCFileModDateTime", "LinkedDOCSyncMethod", "CloseDocument"},
    {"LinkedPPTFileName", "LinkedPPTFileModDateTime", "LinkedPPTSyncMethod", "ClosePresentation"}};

constexpr int kPresentationMode = 2;

// Closes the file object on every path out; a failing close never hides the
// error that ended the edit.
class OpenedFile {
 public:
  OpenedFile(Ref<Dispatch> object, const char* close) : object_(std::move(object)), close_(close) {}
  ~OpenedFile() {
    try {
      CallByName(object_, close_, CallKind::Method);
    } catch (...) {
    }
  }
  OpenedFile(const OpenedFile&) = delete;
  OpenedFile& operator=(const OpenedFile&) = delete;

 private:
  Ref<Dispatch> object_;
  const char* close_;
};

}  // namespace

std::string ListRowPath(std::string_view home, std::string_view category, std::string_view rowName,
                        int mode) {
  if (!fs::IsPlainName(category) || !fs::IsPlainName(rowName)) RaiseRuntimeError(52);
  const std::string file = core::AddFileModeExtension(rowName, static_cast<int16_t>(mode));
  return std::string(home) + std::string(category) + "\\" + file;
}

LinkDialog PropertiesDialog() {
  return [](const LinkSettings& start) -> std::optional<LinkSettings> {
    const Ref<Form> dialog = Forms()->Create("frmProperties");
    CallByName(*dialog, "LinkTo", CallKind::Let, start.linkTo);
    CallByName(*dialog, "SyncOption", CallKind::Let, start.syncOption);
    Utility::ShowDialog(*dialog);
    if (core::Module().gDialogCancelled) return std::nullopt;
    return LinkSettings{CStr(CallByName(*dialog, "LinkTo", CallKind::Get)),
                        CInt(CallByName(*dialog, "SyncOption", CallKind::Get))};
  };
}

std::optional<LinkColumns> EditFileLink(core::Session& session, int mode, const std::string& path,
                                        const LinkDialog& dialog) {
  Ref<Dispatch> object;
  switch (mode) {
    case 0:
      object = session.GetWorkbook();
      break;
    case 1:
      object = session.GetDocument();
      break;
    case kPresentationMode:
      object = session.GetPresentation();
      break;
    default:
      return std::nullopt;
  }
  const LinkMembers& names = kMembers[mode];
  const OpenedFile opened(object, names.close);
  if (!CBool(CallByName(object, "OpenFromDisk", CallKind::Method, path, false, false)))
    return std::nullopt;

  // The link as the file holds it; an unlinked file starts at "Synchronize",
  // as its row shows no method.
  LinkSettings start;
  start.linkTo = CStr(CallByName(object, names.fileName, CallKind::Get));
  if (!start.linkTo.empty())
    start.syncOption = CInt(CallByName(object, names.syncMethod, CallKind::Get));
  const std::optional<LinkSettings> chosen = dialog(start);
  if (!chosen) return std::nullopt;

  if (mode == kPresentationMode) {
    CallByName(object, "OpenFromDisk", CallKind::Method, std::string(), true, false);
  }
  if (CStr(CallByName(object, names.fileName, CallKind::Get)) != chosen->linkTo) {
    CallByName(object, names.modTime, CallKind::Let, 0.0);
  }
  CallByName(object, names.fileName, CallKind::Let, chosen->linkTo);
  // After the name: emptying the name clears the method, and the file keeps
  // the option the user checked.
  CallByName(object, names.syncMethod, CallKind::Let, chosen->syncOption);
  CallByName(object, "IsModified", CallKind::Let, true);
  CallByName(object, "WriteToDisk", CallKind::Method, std::string(), false);

  LinkColumns columns;
  columns.linkedFile = CStr(CallByName(object, names.fileName, CallKind::Get));
  if (!columns.linkedFile.empty())
    columns.syncText = CStr(CallByName(object, "SyncMethodText", CallKind::Method));
  return columns;
}

}  // namespace brevora::frontend
