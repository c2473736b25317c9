#include "frontend/file_import.h"

#include <stdlib.h>

#include <filesystem>
#include <system_error>

#include "core/file_mode.h"
#include "platform/fs/files.h"
#include "platform/fs/paths.h"
#include "core/session.h"
#include "doc/document.h"
#include "doc/sdk_document.h"
#include "frontend/category_folders.h"
#include "frontend/name_validator.h"
#include "frontend/tabrel_pc.h"
#include "platform/error/error.h"
#include "platform/fs/file_error.h"
#include "platform/fs/files.h"
#include "platform/fs/paths.h"
#include "platform/services/message_box.h"
#include "sheet/sdk.h"
#include "slides/sdk_presentation.h"

namespace brevora::frontend {
namespace {

namespace stdfs = std::filesystem;
using services::MsgButtons;
using services::MsgIcon;
using services::MsgResult;
using core::AddFileModeExtension;

constexpr const char* kImporting = "Please wait while importing document...";
constexpr const char* kUnknownType =
    "Unknown file type.  Please make sure file type is either .XLS, .TBR., .DOC, .TXT, .SCV, .PPT, or .PDB.";

MsgResult Ask(const std::string& text, const std::string& title, MsgButtons buttons) {
  return services::ShowMessage({text, title, buttons, MsgIcon::Question});
}

void ShowCritical(const std::string& text, const std::string& title = "Brevora") {
  services::ShowMessage({text, title, MsgButtons::Ok, MsgIcon::Critical});
}

// A hidden folder beside the target in which the new file is made under the
// target's own name; it goes, with whatever is left in it, on every path.
class StagingFolder {
 public:
  explicit StagingFolder(const std::string& folder) {
    std::string pattern = fs::NativePath(fs::JoinPath(folder, ".import-XXXXXX"));
    if (!mkdtemp(pattern.data())) fs::RaiseErrno(errno, true);
    native_ = pattern;
    path_ = fs::JoinPath(folder, stdfs::path(native_).filename().string());
  }
  ~StagingFolder() {
    std::error_code ignored;
    stdfs::remove_all(native_, ignored);
  }
  StagingFolder(const StagingFolder&) = delete;
  StagingFolder& operator=(const StagingFolder&) = delete;
  const std::string& path() const { return path_; }

 private:
  std::string native_;
  std::string path_;  // system path
};

bool SameFile(const std::string& a, const std::string& b) {
  std::error_code error;
  return stdfs::equivalent(fs::NativePath(a), fs::NativePath(b), error);
}

// Puts the made file in place of the target: over it when the user agreed to
// replace it, else only where nothing is.
void Commit(const std::string& staged, const std::string& target, bool replace) {
  if (!replace) {
    fs::RenameNoReplace(staged, target);
    return;
  }
  std::error_code error;
  stdfs::rename(fs::NativePath(staged), fs::NativePath(target), error);
  if (error) fs::RaiseErrno(error.value());
}

}  // namespace

// kCancelled ends the import as it stands; after kCancelledRefill the list is
// refilled all the same; kFailed is reported as the import that failed.
enum class FileImporter::Outcome : int { kMade, kCancelled, kCancelledRefill, kFailed };

int FileModeOfType(int type) {
  if (type == kTypeXls || type == kTypeTbr) return core::kTabulynMode;
  if (type >= kTypeDoc && type <= kTypeHtml) return core::kScrivaneMode;
  if (type == kTypePpt || type == kTypePresentationPdb) return core::kSlidoraMode;
  return -1;
}

FileImporter::FileImporter(TabrelPC& app, ImportWindow& window) : app_(app), window_(window) {}
FileImporter::~FileImporter() = default;

void FileImporter::BringFileIn(const std::string& path) {
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
  if (app_.Session()->FileMode() != typeMode) window_.SwitchFileMode(typeMode + 1);

  const std::string category = window_.CurrentCategory();
  if (category.empty()) {
    services::ShowMessage({"Category is blank", "", MsgButtons::Ok});
    return;
  }
  const std::string home = app_.HomeDirectory();
  const std::string fileName = AddFileModeExtension(name, static_cast<int16_t>(typeMode));
  const std::string folder = CategoryFolder(home, category);
  std::string target = fs::JoinPath(folder, fileName);
  const std::string what = typeMode == core::kTabulynMode ? "workbook" : "document";
  bool replace = false;
  if (const std::optional<DuplicateDocument> found = DupInAnotherDir(fileName, category, home)) {
    if (Ask("This " + what + " already exists in the category: '" + found->category +
                "'.  Do you want to overwrite?",
            "Overwrite workbook", MsgButtons::YesNo) != MsgResult::Yes) {
      return;
    }
    target = found->path;
    replace = true;
  } else if (const std::optional<std::string> held = fs::FindNoCase(folder, fileName)) {
    if (Ask("This " + what + " already exists.  Do you want to overwrite it?", "Brevora", MsgButtons::YesNo) ==
        MsgResult::No) {
      return;
    }
    target = fs::JoinPath(folder, *held);
    replace = true;
  }

  window_.SetBusy(true);
  Outcome outcome = Outcome::kMade;
  if (replace && SameFile(source, target)) {
    // Copying a file onto itself would empty it: it is only marked.
    app_.MakeDirty(target);
  } else {
    const StagingFolder staging(fs::FolderPart(target));
    const std::string staged = fs::JoinPath(staging.path(), fs::FileNamePart(target));
    outcome = Make(type, source, staged);
    if (outcome == Outcome::kMade) {
      if (!fs::FileExists(staged)) {
        outcome = Outcome::kFailed;
      } else {
        Commit(staged, target, replace);
      }
    }
  }
  if (outcome == Outcome::kFailed) {
    ShowCritical(type == kTypeTbr ? "Could not successfully add this workbook."
                                  : "Could not successfully add this document.");
  }
  if (outcome != Outcome::kCancelled) window_.RefillFiles(category, name);
  window_.SetBusy(false);
}

FileImporter::Outcome FileImporter::Make(int type, const std::string& source, const std::string& staged) {
  switch (type) {
    case kTypeXls:
    case kTypeDoc: {
      const bool sheet = type == kTypeXls;
      const MsgResult answer =
          Ask(std::string(sheet ? "Do you want to link to this spreadsheet '" : "Do you want to link to this document '") +
                  source + "'?\r\n\r\nClick 'No' to make a copy for " + (sheet ? "Tabulyn?" : "Scrivane?"),
              "Brevora", MsgButtons::YesNoCancel);
      if (answer == MsgResult::Cancel) return Outcome::kCancelledRefill;
      const std::string link = answer == MsgResult::Yes ? source : std::string();
      window_.SetEnabled(false);
      window_.ShowWait(sheet ? "Please wait.  Converting spreadsheet..." : "Please wait.  Converting document...",
                       false);
      if (sheet) {
        sdk_->XLSToTBRExtSync(source, staged, link);
      } else {
        sdkDocument_->DOCToSCVExtSync(source, staged, link);
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
      const std::optional<bool> linked = window_.PresentationOptions(source);
      if (!linked) {
        window_.SetBusy(false);
        return Outcome::kCancelled;
      }
      if (!sdkPresentation_) sdkPresentation_ = MakeRef<slides::SDK_Presentation>();
      sdkPresentation_->SetSession(app_.Session());
      window_.SetEnabled(false);
      window_.ShowWait(*linked ? "Please wait.  Converting presentation..." : "Please wait. Converting presentation...",
                       true);
      sdkPresentation_->PPTToPDBExtSync(source, staged, *linked ? source : std::string());
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
