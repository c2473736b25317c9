#include "frontend/file_import.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <set>
#include <system_error>

#include "core/file_mode.h"
#include "core/session.h"
#include "doc/document.h"
#include "doc/sdk_document.h"
#include "frontend/category_folders.h"
#include "frontend/category_names.h"
#include "frontend/name_validator.h"
#include "frontend/tabrel_pc.h"
#include "platform/error/error.h"
#include "platform/fs/file_error.h"
#include "platform/fs/files.h"
#include "platform/fs/folder_lock.h"
#include "platform/fs/paths.h"
#include "platform/fs/temp_folder.h"
#include "platform/services/message_box.h"
#include "sheet/sdk.h"
#include "sheet/workbook.h"
#include "slides/sdk_presentation.h"

namespace brevora::frontend {
namespace {

namespace stdfs = std::filesystem;
using core::AddFileModeExtension;
using services::MsgButtons;
using services::MsgIcon;
using services::MsgResult;
using services::ShowCritical;

constexpr const char* kImporting = "Please wait while importing document...";
constexpr const char* kUnknownType =
    "Unknown file type.  Please make sure file type is either .XLS, .TBR., .DOC, .TXT, .SCV, .PPT, "
    "or .PDB.";

MsgResult Ask(const std::string& text, const std::string& title, MsgButtons buttons) {
  return services::ShowMessage({text, title, buttons, MsgIcon::Question});
}

// The import's scratch folders in a category (".import-XXXXXX.scratch").
fs::TempFolder::Options Staging(const std::string& category) {
  return {.where = category, .prefix = "import", .scratch = true};
}

bool SameFile(const std::string& a, const std::string& b) {
  std::error_code error;
  return stdfs::equivalent(fs::NativePath(a), fs::NativePath(b), error);
}

// Why `source` can't be imported, "" when it is a regular file that can be
// read. It is opened without waiting (a FIFO would otherwise hold the window
// until some writer came) and judged by what was opened.
std::string SourceProblem(const std::string& source) {
  const std::string native = fs::NativePath(source);
  const int fd = open(native.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
  if (fd < 0) return errno == ENOENT || errno == ENOTDIR ? "was not found." : "can't be read.";
  struct stat st {};
  const bool regular = fstat(fd, &st) == 0 && S_ISREG(st.st_mode);
  close(fd);
  return regular ? std::string() : "is not a file that can be imported.";
}

// "Could not successfully add this <what>." and why, naming the file.
std::string Refusal(const std::string& what, const std::string& source, const std::string& why) {
  return "Could not successfully add this " + what + ".\r\n\r\n'" + source + "' " + why;
}

// Whether the copy of a desktop file at `staged` is one its own reader takes
// whole (a workbook with its cells, a document with its text): "" when it is,
// else why not. (A presentation database is not copied as it is: it is read
// and written again.) Nothing is raised.
std::string UnreadableCopy(int type, const std::string& staged, const Ref<core::Session>& session) {
  const char* const why =
      type == kTypeTbr ? "is not a Tabulyn workbook." : "is not a Scrivane document.";
  try {
    if (type == kTypeTbr) {
      const Ref<sheet::Workbook> workbook = MakeRef<sheet::Workbook>();
      workbook->SetSession(session);
      const bool read =
          workbook->OpenFromDisk(staged, /*readCells=*/true, /*updateFromLink=*/false);
      workbook->CloseWorkbook();
      return read ? std::string() : why;
    }
    if (type == kTypeScv) {
      const Ref<doc::Document> document = MakeRef<doc::Document>();
      document->SetSession(session);
      const bool read =
          document->OpenFromDisk(staged, /*readDocument=*/true, /*updateFromLink=*/false);
      document->CloseDocument();
      return read ? std::string() : why;
    }
    return {};
  } catch (...) {
    return why;
  }
}

// Whether the import of `type` runs a converter (an Office one, or the
// presentation's copy, which unpacks its pictures beside the file).
bool IsConversion(int type) {
  return type == kTypeXls || type == kTypeDoc || type == kTypePpt || type == kTypePresentationPdb;
}

// Removes what is in the folder `path`, and nothing above it. Nothing is raised.
void EmptyFolder(const std::string& path) {
  std::error_code error;
  for (stdfs::directory_iterator entry(fs::NativePath(path), error), end; !error && entry != end;
       entry.increment(error)) {
    std::error_code ignored;
    stdfs::remove_all(entry->path(), ignored);
  }
}

// Removes the scratch folders that imports killed midway left in the
// categories of `home`. The caller holds the lock of `home`.
void RemoveStagingLeftovers(const std::string& home) {
  try {
    for (const std::string& category : fs::ListFolder(home, fs::ListKind::Folders)) {
      fs::TempFolder::RemoveLeftovers(Staging(fs::JoinPath(home, category)));
    }
  } catch (...) {
    // A home that can't be listed: the import itself will say what is wrong.
  }
}

}  // namespace

// kCancelled ends the import as it stands; after kCancelledRefill the list is
// refilled all the same; kFailed is reported as the import that failed.
enum class FileImporter::Outcome : int { kMade, kCancelled, kCancelledRefill, kFailed };

// The user's answer to a conversion's question: the link path (empty for a
// copy) of an .xls or .doc file, whether a .ppt file is linked.
struct FileImporter::Choice {
  std::string link;
  bool linked = false;
};

int FileModeOfType(int type) {
  if (type == kTypeXls || type == kTypeTbr) return core::kTabulynMode;
  if (type >= kTypeDoc && type <= kTypeHtml) return core::kScrivaneMode;
  if (type == kTypePpt || type == kTypePresentationPdb) return core::kSlidoraMode;
  return -1;
}

// The batch's hold on one mode folder: its lock, the names of its categories
// as the batch's imports see them, the batch's scratch folder in the category
// it imports into, and the folders whose new names are not yet synced, which
// its end syncs before the lock goes. An import keeps what it uses of it, so
// that a nested one that moves the batch on takes nothing from under it.
struct FileImporter::Hold {
  explicit Hold(const std::string& folder) : home(folder), lock(folder), names(folder) {
    // The holder may remove what an import killed midway left in the categories.
    RemoveStagingLeftovers(home);
  }
  ~Hold() {
    staging.reset();
    for (const std::string& folder : renamedInto) fs::SyncFolder(folder);
  }
  Hold(const Hold&) = delete;
  Hold& operator=(const Hold&) = delete;

  // The scratch folder in `folder`, made when the batch has none there (or it
  // was removed meanwhile).
  std::shared_ptr<const fs::TempFolder> StagingIn(const std::string& folder) {
    if (!staging || stagingFolder != folder || !fs::FolderExists(staging->Path())) {
      staging.reset();
      staging = std::make_shared<const fs::TempFolder>(Staging(folder));
      stagingFolder = folder;
    }
    return staging;
  }

  const std::string home;
  const fs::FolderLock lock;
  CategoryNames names;
  std::set<std::string> renamedInto;
  std::shared_ptr<const fs::TempFolder> staging;
  std::string stagingFolder;
};

FileImporter::FileImporter(TabrelPC& app, ImportWindow& window) : app_(app), window_(window) {}
FileImporter::~FileImporter() = default;

FileImporter::Batch::Batch(FileImporter& importer) : importer_(importer) { ++importer_.batches_; }

FileImporter::Batch::~Batch() {
  if (--importer_.batches_ > 0) return;
  importer_.hold_.reset();
}

std::shared_ptr<FileImporter::Hold> FileImporter::HoldOn(const std::string& home) {
  if (hold_ && hold_->home == home) return hold_;
  hold_.reset();  // one lock at a time: no two batches wait for each other
  hold_ = std::make_shared<Hold>(home);
  return hold_;
}

void FileImporter::BringFileIn(const std::string& path) {
  const Batch batch(*this);  // of its own, unless one is running
  try {
    if (!sdk_) sdk_ = MakeRef<sheet::SDK>();
    if (!sdkDocument_) sdkDocument_ = MakeRef<doc::SDK_Document>();
    sdk_->SetSession(app_.Session());
    sdkDocument_->SetSession(app_.Session());
    window_.SetStatusText(kImporting);
    Import(fs::StripQuotes(path));
  } catch (...) {
    const AutomationError error = CurrentError();
    window_.SetBusy(false);
    window_.HideWait(true);
    window_.SetEnabled(true);
    ShowCritical(error.description(), " Tabulyn");
  }
  window_.SetStatusText("");
}

void FileImporter::Import(const std::string& source) {
  const int type = window_.FileType(source);
  const int typeMode = FileModeOfType(type);
  const int mode = typeMode >= 0 ? typeMode : app_.Session()->FileMode();
  const std::string name = fs::StripExtension(fs::FileNamePart(source));
  const std::size_t max = MaxDocumentName(mode);
  if (const NameFault fault = CheckName(name, max); fault != NameFault::kNone) {
    services::ShowMessage({NameFaultMessage(fault, max, "document"), "", MsgButtons::Ok});
    return;
  }
  if (typeMode < 0) {
    ShowCritical(kUnknownType);
    return;
  }
  const std::string what = typeMode == core::kTabulynMode ? "workbook" : "document";
  if (const std::string problem = SourceProblem(source); !problem.empty()) {
    ShowCritical(Refusal(what, source, problem));
    return;
  }
  if (app_.Session()->FileMode() != typeMode) window_.SwitchFileMode(typeMode + 1);

  const std::string category = window_.CurrentCategory();
  if (category.empty()) {
    services::ShowMessage({"Category is blank", "", MsgButtons::Ok});
    return;
  }
  const std::string home = app_.HomeDirectory();
  const std::shared_ptr<Hold> holding = HoldOn(home);
  Hold& hold = *holding;
  const std::string fileName = AddFileModeExtension(name, static_cast<int16_t>(typeMode));
  const std::string folder = CategoryFolder(home, category);
  std::string target = fs::JoinPath(folder, fileName);
  bool replace = false;
  if (const std::optional<DuplicateDocument> found = hold.names.FindElsewhere(fileName, category)) {
    if (Ask("This " + what + " already exists in the category: '" + found->category +
                "'.  Do you want to overwrite?",
            "Overwrite workbook", MsgButtons::YesNo) != MsgResult::Yes) {
      return;
    }
    target = found->path;
    replace = true;
  } else if (const std::optional<std::string> held = hold.names.Find(category, fileName)) {
    if (Ask("This " + what + " already exists.  Do you want to overwrite it?", "Brevora",
            MsgButtons::YesNo) == MsgResult::No) {
      return;
    }
    target = fs::JoinPath(folder, *held);
    replace = true;
  }

  window_.SetBusy(true);
  Outcome outcome = Outcome::kMade;
  const std::optional<Choice> choice = AskHow(type, source, outcome);
  if (choice) outcome = MakeInPlace(type, source, target, replace, *choice, hold);
  if (outcome == Outcome::kMade && !replace) hold.names.Add(category, fileName);
  if (outcome == Outcome::kFailed) {
    ShowCritical(type == kTypeTbr ? "Could not successfully add this workbook."
                                  : "Could not successfully add this document.");
  }
  if (outcome != Outcome::kCancelled) window_.RefillFiles(category, name);
  window_.SetBusy(false);
}

std::optional<FileImporter::Choice> FileImporter::AskHow(int type, const std::string& source,
                                                         Outcome& cancelled) {
  switch (type) {
    case kTypeXls:
    case kTypeDoc: {
      const bool sheet = type == kTypeXls;
      const MsgResult answer = Ask(std::string(sheet ? "Do you want to link to this spreadsheet '"
                                                     : "Do you want to link to this document '") +
                                       source + "'?\r\n\r\nClick 'No' to make a copy for " +
                                       (sheet ? "Tabulyn?" : "Scrivane?"),
                                   "Brevora", MsgButtons::YesNoCancel);
      if (answer == MsgResult::Cancel) {
        cancelled = Outcome::kCancelledRefill;
        return std::nullopt;
      }
      return Choice{answer == MsgResult::Yes ? source : std::string(), false};
    }
    case kTypePpt: {
      const std::optional<bool> linked = window_.PresentationOptions(source);
      if (!linked) {
        window_.SetBusy(false);
        cancelled = Outcome::kCancelled;
        return std::nullopt;
      }
      return Choice{*linked ? source : std::string(), *linked};
    }
    default:
      return Choice{};
  }
}

FileImporter::Outcome FileImporter::MakeInPlace(int type, const std::string& source,
                                                const std::string& target, bool replace,
                                                const Choice& choice, Hold& hold) {
  if (replace && SameFile(source, target)) {
    // Copying a file onto itself would empty it: it is only marked.
    app_.MakeDirty(target);
    return Outcome::kMade;
  }
  const std::shared_ptr<const fs::TempFolder> staging = hold.StagingIn(fs::FolderPart(target));
  // What this import leaves in the batch's scratch folder goes with it. A file
  // that was loaded or copied leaves nothing once it is moved out; a
  // conversion may leave work files beside its target (a presentation's
  // pictures).
  struct Emptied {
    const std::string path;
    bool needed = true;
    ~Emptied() {
      if (needed) EmptyFolder(path);
    }
  } emptied{staging->Path()};
  const std::string stagedName = fs::FileNamePart(target);
  const std::string staged = fs::JoinPath(staging->Path(), stagedName);
  const Outcome outcome = Make(type, source, staged, choice);
  if (outcome != Outcome::kMade) return outcome;
  if (!fs::FileExists(staged)) return Outcome::kFailed;
  if (const std::string why = UnreadableCopy(type, staged, app_.Session()); !why.empty()) {
    ShowCritical(Refusal(type == kTypeTbr ? "workbook" : "document", source, why));
    return Outcome::kCancelledRefill;
  }
  // The new name is synced with the others when the batch lets go.
  staging->MoveOut(stagedName, target, replace, fs::TempFolder::NameSync::kByCaller);
  hold.renamedInto.insert(fs::FolderPart(target));
  emptied.needed = IsConversion(type);
  return Outcome::kMade;
}

FileImporter::Outcome FileImporter::Make(int type, const std::string& source,
                                         const std::string& staged, const Choice& choice) {
  switch (type) {
    case kTypeXls:
    case kTypeDoc: {
      const bool sheet = type == kTypeXls;
      window_.SetEnabled(false);
      window_.ShowWait(sheet ? "Please wait.  Converting spreadsheet..."
                             : "Please wait.  Converting document...",
                       false);
      if (sheet) {
        sdk_->XLSToTBRExtSync(source, staged, choice.link);
      } else {
        sdkDocument_->DOCToSCVExtSync(source, staged, choice.link);
      }
      window_.HideWait(false);
      window_.SetEnabled(true);
      return Outcome::kMade;
    }
    case kTypeTbr:
    case kTypeScv:
      try {
        fs::CopyFile(source, staged, /*replace=*/false);
        app_.MakeDirty(staged);
        return Outcome::kMade;
      } catch (...) {
        return Outcome::kFailed;
      }
    case kTypeTxt:
    case kTypeDocumentPdb:
    case kTypeHtml:
      try {
        Ref<doc::Document> document = MakeRef<doc::Document>();
        document->SetSession(app_.Session());
        const bool loaded = type == kTypeTxt           ? document->OpenFromTextFile(source)
                            : type == kTypeDocumentPdb ? document->OpenFromPDB(source)
                                                       : document->OpenFromHTMLFile(source);
        if (!loaded) return Outcome::kFailed;
        document->WriteToDisk(staged);
        document->CloseDocument();
        app_.MakeDirty(staged);
        return Outcome::kMade;
      } catch (...) {
        return Outcome::kFailed;
      }
    case kTypePpt: {
      if (!sdkPresentation_) sdkPresentation_ = MakeRef<slides::SDK_Presentation>();
      sdkPresentation_->SetSession(app_.Session());
      window_.SetEnabled(false);
      window_.ShowWait(choice.linked ? "Please wait.  Converting presentation..."
                                     : "Please wait. Converting presentation...",
                       true);
      sdkPresentation_->PPTToPDBExtSync(source, staged, choice.link);
      window_.HideWait(true);
      window_.SetEnabled(true);
      return Outcome::kMade;
    }
    case kTypePresentationPdb:
      if (!sdkPresentation_) sdkPresentation_ = MakeRef<slides::SDK_Presentation>();
      sdkPresentation_->SetSession(app_.Session());
      sdkPresentation_->CopyPDBToExternal(source, staged);
      return Outcome::kMade;
    default:
      return Outcome::kCancelled;
  }
}

}  // namespace brevora::frontend
