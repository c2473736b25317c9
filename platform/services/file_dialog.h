#pragma once
// File dialogs: how code outside a form asks the user for a file to open or a
// name to save under. The installed implementation answers with the chosen
// file's system path, or nothing when the user cancelled. The default has no
// display to ask on: it says so on stderr and answers as a cancel. A Qt program
// installs its dialog; tests install a ScriptedFileDialog.
#include <deque>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

namespace brevora::services {

enum class FileDialogKind { Open, Save };

struct FileRequest {
  FileDialogKind kind = FileDialogKind::Open;
  std::string title;     // code page; "" for the dialog's own
  std::string fileName;  // the initial file name or path (system path), may be ""
  // Visual Basic's filter text: description and patterns in pairs separated by
  // "|" ("Pictures (*.png)|*.png|All Files|*.*"); "" for all files.
  std::string filter;
  bool operator==(const FileRequest&) const = default;
};

class FileDialog {
 public:
  virtual ~FileDialog() = default;
  virtual std::optional<std::string> Show(const FileRequest& request) = 0;
};

// Writes the request's title to stderr and answers as a cancel.
class NoFileDialog : public FileDialog {
 public:
  std::optional<std::string> Show(const FileRequest& request) override;
};

// Records every request; answers from the scripted queue, then as a cancel.
class ScriptedFileDialog : public FileDialog {
 public:
  std::optional<std::string> Show(const FileRequest& request) override;
  // The next answer: a path, or std::nullopt for a cancel.
  void Answer(std::optional<std::string> path);
  std::vector<FileRequest> requests() const;

 private:
  mutable std::mutex mutex_;
  std::vector<FileRequest> requests_;
  std::deque<std::optional<std::string>> answers_;
};

std::shared_ptr<FileDialog> CurrentFileDialog();
// Installs `dialog` for the process (nullptr: the default); returns the previous one.
std::shared_ptr<FileDialog> InstallFileDialog(std::shared_ptr<FileDialog> dialog);
std::optional<std::string> ShowFileDialog(const FileRequest& request);

}  // namespace brevora::services
