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
// takes whole (a presentation .pdb is read and written again, not copied). A
// failed conversion, load, write, mark or check leaves an existing target as it
// was and nothing behind. A file imported onto itself is only marked. The name
// is checked by the name validator against the mode's maximum (30 workbooks,
// 31 otherwise). Everything is reported in message boxes; nothing is raised.
//
// Imports come in batches: the files of one drop are a Batch, any other import
// a batch of its own. One batch at a time per user's mode folder: the batch
// takes the mode folder's lock (a FolderLock on the home folder) at its first
// import there and keeps it to its end (or until it goes on in another mode
// folder, which it locks only once it has let go of the first, so that two
// batches never each wait for the other). While it holds the lock it removes the
// scratch folders that killed imports left in the categories, lists the
// categories' names once for every name check of its imports (CategoryNames,
// with the names they add), and shares one scratch folder in the category it
// imports into. Each file's data is synced before it is renamed into place, so
// a target is always either as it was or the whole new file; the folders that
// got new names are synced when the batch lets go of the lock, which makes
// those names durable before the batch is done. (A crash within a batch may
// lose the names of its last imports, never a file's content; the sources are
// untouched.)
#include <memory>
#include <optional>
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
  // outermost counts). Its end lets go of the batch's mode folder (see above).
  // It must not outlive the importer.
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
  // The batch's hold on the mode folder it imports into (file_import.cpp).
  struct Hold;
  // The hold on `home`: the one the batch has, else a new one, taken once the
  // batch has let go of any other.
  std::shared_ptr<Hold> HoldOn(const std::string& home);
  // Makes the new content in a scratch folder beside `target`, checks a copied
  // desktop file with its own reader and moves it in. Under the hold's lock.
  Outcome MakeInPlace(int type, const std::string& source, const std::string& target, bool replace,
                      const Choice& choice, Hold& hold);
  // Makes the target's new content from the source, by type, at `staged`.
  Outcome Make(int type, const std::string& source, const std::string& staged,
               const Choice& choice);

  TabrelPC& app_;
  ImportWindow& window_;
  Ref<sheet::SDK> sdk_;
  Ref<doc::SDK_Document> sdkDocument_;
  Ref<slides::SDK_Presentation> sdkPresentation_;

  // The batch: how many Batch objects live, and its hold on a mode folder.
  int batches_ = 0;
  std::shared_ptr<Hold> hold_;
};

}  // namespace brevora::frontend
