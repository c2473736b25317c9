#include "phonesync/sync_slidora.h"

#include "phonesync/send_target.h"
#include "platform/automation/call_by_name.h"
#include "platform/automation/convert.h"
#include "platform/error/error.h"
#include "platform/fs/files.h"
#include "platform/fs/paths.h"
#include "platform/services/event_log.h"

namespace brevora::bvsync {
namespace {

constexpr const char* kUnableToInstall = "Unable to install file";
constexpr const char* kPresentationFolder = "slidr";
constexpr const char* kPresentationExtension = ".pdb";

// The object a late-bound call returned; null for Nothing or no object.
Ref<Dispatch> ObjectResult(const Variant& v) { return v.IsObject() ? v.AsObject() : nullptr; }

void LogSkipped(const std::string& path, const std::string& why) {
  services::WriteToEventLog("Slidora synchronization: " + path + " was not sent: " + why);
}

}  // namespace

SyncSlidora::SyncSlidora(std::shared_ptr<SendToPicker> picker) : picker_(std::move(picker)) {
  SetDescription(kDescription);
  SetId(kId);
}

SyncSlidora::~SyncSlidora() = default;

void SyncSlidora::AddError(const std::string& message) {
  SetErrorDesc(message.empty() ? std::string() : ErrorDesc() + "\r\n" + message);
}

bool SyncSlidora::Init(const std::string& userName, SyncDir direction, const Ref<Dispatch>& core,
                       const Ref<ISyncProgress>& progress) {
  AddError("");
  try {
    syncPath_ = picker_->Choose();
    if (syncPath_.empty()) return false;
    progress_ = progress;
    core_ = core;
    direction_ = direction;
    userName_ = userName;

    const Ref<Dispatch> users = ObjectResult(CallByName(core_, "UserManager", CallKind::Get));
    const Ref<Dispatch> user =
        ObjectResult(CallByName(users, "GetUserByName", CallKind::Method, userName_));
    if (!user) return false;

    files_.clear();
    const std::string home = CStr(CallByName(user, "Path", CallKind::Get));
    // A user without a folder has no presentations (its "slidr" would be
    // looked for wherever the process happens to run).
    const std::string root = home.find_first_not_of(' ') == std::string::npos
                                 ? std::string()
                                 : fs::JoinPath(home, kPresentationFolder);
    std::vector<std::string> categories;
    if (!root.empty() && fs::FolderExists(root))
      categories = fs::ListFolder(root, fs::ListKind::Folders);
    for (const std::string& category : categories) {
      const std::string folder = fs::JoinPath(root, category);
      for (const std::string& name :
           fs::ListFolder(folder, fs::ListKind::Files, kPresentationExtension)) {
        const std::string path = fs::JoinPath(folder, name);
        if (IsModifiedPresentation(path)) files_.push_back({name, path});
      }
    }
    if (files_.empty()) syncPath_.clear();
    return true;
  } catch (...) {
    AddError("Error initializing Slidora conduit");
    return false;
  }
}

bool SyncSlidora::Sync() {
  if (syncPath_.empty()) return false;
  try {
    const TargetKind kind = KindOfTarget(syncPath_);
    for (const InstallFile& file : files_) {
      if (!SendFile(syncPath_, kind, file.filePath)) {
        AddError(kUnableToInstall);
        return false;
      }
      if (!MarkSynchronized(file)) return false;
    }
    return true;
  } catch (...) {
    AddError("Error synchronizing Slidora conduit");
    return false;
  }
}

void SyncSlidora::Cleanup() {}

void SyncSlidora::Install(const std::string& file) {
  try {
    syncPath_ = picker_->Choose();
    if (syncPath_.empty()) return;
    if (!SendFile(syncPath_, KindOfTarget(syncPath_), file)) AddError(kUnableToInstall);
  } catch (...) {
    AddError("Error installing Slidora");
  }
}

Ref<Dispatch> SyncSlidora::NewPresentation() {
  return Ref<Dispatch>(&ObjectOf(CallByName(core_, "GetPresentation", CallKind::Method)));
}

bool SyncSlidora::IsModifiedPresentation(const std::string& path) {
  const Ref<Dispatch> presentation = NewPresentation();
  if (!CBool(CallByName(presentation, "fileIsPresentation", CallKind::Method, path))) {
    LogSkipped(path, "it is not a presentation.");
    return false;
  }
  try {
    if (!CBool(CallByName(presentation, "OpenFromDisk", CallKind::Method, path, false))) {
      LogSkipped(path, "it could not be read.");
      return false;
    }
    return CBool(CallByName(presentation, "IsModified", CallKind::Get));
  } catch (...) {
    LogSkipped(path, "it could not be read.\r\n" + CurrentError().description());
    return false;
  }
}

bool SyncSlidora::MarkSynchronized(const InstallFile& file) {
  const Ref<Dispatch> presentation = NewPresentation();
  try {
    if (!CBool(CallByName(presentation, "OpenFromDisk", CallKind::Method, file.filePath, false))) {
      AddError("Could not open Presentation '" + file.filePath + "'.");
      return false;
    }
    CallByName(presentation, "IsModified", CallKind::Let, false);
    CallByName(presentation, "UpdateHeader", CallKind::Method);
    return true;
  } catch (...) {
    AddError(CurrentError().description());
    return false;
  }
}

}  // namespace brevora::bvsync
