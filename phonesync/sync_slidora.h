#pragma once
// SyncSlidora: the presentation conduit of the phone sync engine. Init asks
// the user for a send target and lists the device user's presentations that
// are marked modified; Sync hands each to the target and, once it arrived,
// clears its modified mark. Install sends one given file the same way without
// looking at users or marks.
//
// The presentations are the ".pdb" files (any case) of the category folders
// in the user's "slidr" folder, category folders and files in listing order;
// files lying in "slidr" itself are not considered. A ".pdb" that is not a
// presentation or cannot be read is skipped with a line in the event log.
// Presentations are opened for their header only (no records, no pictures)
// through the connectivity Session, late-bound.
//
// Errors are collected in ErrorDesc, each after CR LF. Init starts a run with
// an empty ErrorDesc, so a run shows only its own errors.
#include <memory>
#include <string>
#include <vector>

#include "phonesync/ibvsync.h"
#include "phonesync/send_to_picker.h"

namespace brevora::bvsync {

// One file to send.
struct InstallFile {
  std::string fileName;  // the name with its extension, without its folder
  std::string filePath;  // its full path
};

class SyncSlidora : public IBVSync {
 public:
  static constexpr const char* kDescription = "Slidora synchronization conduit";
  static constexpr const char* kId = "Slidora";

  explicit SyncSlidora(std::shared_ptr<SendToPicker> picker);

  bool Init(const std::string& userName, SyncDir direction, const Ref<Dispatch>& core,
            const Ref<ISyncProgress>& progress) override;
  bool Sync() override;
  // Does nothing; the next Init replaces what this run holds.
  void Cleanup() override;

  // Sends `file` (a system path) through the target the user picks; a failed
  // send adds "Unable to install file" to ErrorDesc. Nothing is marked.
  void Install(const std::string& file);

  // Adds CR LF and `message` to ErrorDesc; an empty message empties it.
  void AddError(const std::string& message);

  const std::vector<InstallFile>& Files() const { return files_; }
  const std::string& SyncPath() const { return syncPath_; }
  SyncDir Direction() const { return direction_; }
  const Ref<ISyncProgress>& Progress() const { return progress_; }

 protected:
  ~SyncSlidora() override;

 private:
  bool IsModifiedPresentation(const std::string& path);
  bool MarkSynchronized(const InstallFile& file);
  Ref<Dispatch> NewPresentation();

  std::shared_ptr<SendToPicker> picker_;
  Ref<ISyncProgress> progress_;
  Ref<Dispatch> core_;
  SyncDir direction_ = SyncDir::sdSynchronize;
  std::string userName_;
  std::vector<InstallFile> files_;
  std::string syncPath_;  // the chosen target; "" means nothing to do
};

}  // namespace brevora::bvsync
