#pragma once
// FileImporter: brings an existing desktop file into the current category of
// the main window (BringFileIn), whether it came from "Add File...", a drop on
// the file list or the host's command line. The file's type picks the file
// mode (the window switches to it); the file is then converted (.xls, .doc,
// .ppt through the Office converters), loaded (.txt, .htm/.html, a document
// .pdb) or copied (.tbr, .scv, a presentation .pdb) into the category folder
// under its own name and the mode's extension.
//
// Only a regular file is imported: a missing file, a folder, a FIFO or a
// device is refused at once (never opened in a way that waits). The new file
// is made in a scratch folder beside the target (platform/fs/temp_folder.h),
// under the target's own name (a presentation's database name is its file
// name), and moved over the target only once it is complete and marked
// modified; a copied desktop file (.tbr, .scv) must also be one its own reader
// takes whole (a presentation .pdb is read and written again, not copied). A failed conversion, load, write, mark or
// check leaves an existing target as it was and nothing behind; the move makes
// the new name durable (the file's data, then the category folder).
// One import at a time per user's mode folder (a FolderLock on the home folder,
// taken after the questions); the holder removes the scratch folders that a
// killed import left in its categories. Several files imported in one go (a
// drop) are a Batch: its imports share one scratch folder in the category
// they go to, and the leftovers are removed once per mode folder, by the
// batch's first import there. A file imported onto itself is only
// marked. The name is checked by the name validator against the mode's maximum
// (30 workbooks, 31 otherwise). Everything is reported in message boxes;
// nothing is raised.
#include <memory>
#include <optional>
#include <set>
#include <string>

#include "platform/automation/object.h"

namespace brevora::sheet {
class SDK;
}
namespace brevora::doc {
class SDK_Document;
}
namespace brevora::slides {
class SDK_Presentation;
}
namespace brevora::fs {
class TempFolder;
}

namespace brevora::frontend {

class TabrelPC;

// The file type codes of the window's GetFileType.
enum FileTypeCode : int {
  kTypeUnknown = 0,
  kTypeXls = 1,
  kTypeTbr = 2,
  kTypeDoc = 3,
  kTypeScv = 4,
  kTypeTxt = 5,
  kTypeDocumentPdb = 6,
  kTypeHtml = 7,
  kTypePpt = 8,
  kTypePresentationPdb = 9,
};

// The file mode a type code belongs to (0, 1, 2), or -1 for kTypeUnknown.
int FileModeOfType(int type);

// What the import needs of the window.
class ImportWindow {
 public:
  virtual ~ImportWindow() = default;
  // frmSave.GetFileType of a path.
  virtual int FileType(const std::string& path) = 0;
  // Presses file-mode button `button` (mode + 1) and applies that mode.
  virtual void SwitchFileMode(int button) = 0;
  virtual std::string CurrentCategory() = 0;
  virtual void SetStatusText(const std::string& text) = 0;
  // The wait window (force: also in the stand-alone role).
  virtual void ShowWait(const std::string& text, bool force) = 0;
  virtual void HideWait(bool force) = 0;
  virtual void SetEnabled(bool enabled) = 0;
  // The hourglass pointer on or off.
  virtual void SetBusy(bool busy) = 0;
  // frmSlidr_Options shown modally with the link box for `pptPath`: whether
  // the user ticked the link box, nothing after Cancel.
  virtual std::optional<bool> PresentationOptions(const std::string& pptPath) = 0;
  // InitWorkbooks(category, False), then the list item whose text is `name` selected.
  virtual void RefillFiles(const std::string& category, const std::string& name) = 0;
};

class FileImporter {
 public:
  FileImporter(TabrelPC& app, ImportWindow& window);
  ~FileImporter();
  FileImporter(const FileImporter&) = delete;
  FileImporter& operator=(const FileImporter&) = delete;

  // BringFileIn: imports the file at `path` (double quotes are dropped).
  // Outside a Batch it is a batch of its own.
  void BringFileIn(const std::string& path);

  // The imports made while one lives are one batch (batches nest: the
  // outermost counts). Its end removes the batch's scratch folder. It must not
  // outlive the importer.
  class Batch {
   public:
    explicit Batch(FileImporter& importer);
    ~Batch();
    Batch(const Batch&) = delete;
    Batch& operator=(const Batch&) = delete;

   private:
    FileImporter& importer_;
  };

 private:
  // The import proper; errors are raised to BringFileIn's handler.
  void Import(const std::string& source);
  enum class Outcome : int;
  struct Choice;
  // The question a conversion asks first (link or copy, the presentation
  // options); nothing, with `cancelled` set, when the user cancelled.
  std::optional<Choice> AskHow(int type, const std::string& source, Outcome& cancelled);
  // Under the lock of `home`: makes the new content in a scratch folder beside
  // `target`, checks a copied desktop file with its own reader and moves it in.
  Outcome MakeInPlace(int type, const std::string& source, const std::string& home, const std::string& target,
                      bool replace, const Choice& choice);
  // Makes the target's new content from the source, by type, at `staged`.
  Outcome Make(int type, const std::string& source, const std::string& staged, const Choice& choice);
  // The batch's scratch folder in `folder`, made when the batch has none there
  // (or another import removed it as a killed one's). Under the lock.
  const fs::TempFolder& StagingIn(const std::string& folder);

  TabrelPC& app_;
  ImportWindow& window_;
  Ref<sheet::SDK> sdk_;
  Ref<doc::SDK_Document> sdkDocument_;
  Ref<slides::SDK_Presentation> sdkPresentation_;

  // The batch: how many Batch objects live, the mode folders whose leftovers
  // it removed, its scratch folder and the folder that holds it.
  int batches_ = 0;
  std::set<std::string> cleanedHomes_;
  std::unique_ptr<fs::TempFolder> staging_;
  std::string stagingFolder_;
};

}  // namespace brevora::frontend
