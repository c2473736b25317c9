#pragma once
// Showing a folder in the desktop's file manager (what the Windows explorer
// did). The default view starts xdg-open with the folder as its one argument
// (never a shell) and does not wait; without a display it says so on stderr.
// Tests install a RecordingFolderView.
#include <memory>
#include <mutex>
#include <string>
#include <utility>
#include <vector>

namespace brevora::services {

class FolderView {
 public:
  virtual ~FolderView() = default;
  // `folder` is a system path (code page).
  virtual void Show(const std::string& folder) = 0;
};

class XdgOpenFolderView : public FolderView {
 public:
  explicit XdgOpenFolderView(std::string opener = "xdg-open") : opener_(std::move(opener)) {}
  void Show(const std::string& folder) override;

 private:
  std::string opener_;
};

class RecordingFolderView : public FolderView {
 public:
  void Show(const std::string& folder) override;
  std::vector<std::string> shown() const;

 private:
  mutable std::mutex mutex_;
  std::vector<std::string> shown_;
};

std::shared_ptr<FolderView> CurrentFolderView();
// Installs `view` for the process (nullptr: the default); returns the previous one.
std::shared_ptr<FolderView> InstallFolderView(std::shared_ptr<FolderView> view);
void ShowFolder(const std::string& folder);

}  // namespace brevora::services
