#include "doc/document.h"

#include <algorithm>

#include "core/application.h"
#include "core/file_mode.h"
#include "core/handheld_database.h"
#include "core/module_error.h"
#include "core/session.h"
#include "core/text_cleanup.h"
#include "doc/document_errors.h"
#include "doc/document_link.h"
#include "doc/document_storage.h"
#include "doc/markup.h"
#include "doc/word_link_step.h"
#include "platform/automation/class_registry.h"
#include "platform/fs/file_error.h"
#include "platform/fs/files.h"
#include "platform/fs/paths.h"
#include "platform/text/case.h"

namespace brevora::doc {

namespace {

const ClassRegistration registration(Document::kProgId, Document::kClsid,
                                     [] { return Ref<Dispatch>(MakeRef<Document>()); });

constexpr int32_t kSubscriptOutOfRange = 9;
constexpr int32_t kNotImplementedError = 0x114;
constexpr const char* kSupportAddress = "support@orvanex.com";

std::string OpenMessage(std::string_view file) {
  return "Could not open Document '" + std::string(file) + "'.";
}

}  // namespace

Document::Document() : linkStep_(std::make_shared<WordLinkStep>()) { InitObjects(true); }

Document::~Document() { ReleaseObjects(true); }

// ---- Life cycle -------------------------------------------------------------

void Document::InitObjects(bool createAppObject) {
  model_.version = kVersion;
  model_.isModified = false;
  headerOnly_ = false;
  headerOnlySource_.clear();
  if (createAppObject) app_ = core::NewApplication();
}

void Document::ReleaseObjects(bool releaseAll) {
  CloseDocument();
  if (releaseAll) {
    app_.Reset();
    session_.Reset();
  }
}

void Document::ResetDocument() {
  ReleaseObjects(false);
  InitObjects(false);
}

void Document::CloseDocument() {
  // Files are opened and closed within each operation; what is left is the binding.
  fullPath_.clear();
}

bool Document::InitFromDefaults() {
  ResetDocument();
  DocumentHeader& header = model_.header;
  header.LinkedDOCFileName.clear();
  header.LinkedDOCFileModDateTime = 0;
  header.LinkedDOCSyncMethod = 0;
  header.LinkedDOCSyncOption = 0;
  header.serverSync = 0;
  SetIsCompressed(true);
  SetIsEditable(true);
  ApplyLinkInfo(model_, header);
  model_.isModified = true;
  return true;
}

// ---- Session -----------------------------------------------------------------

void Document::SetSession(Ref<core::Session> session) {
  if (!session) RaiseRuntimeError(91);
  Ref<core::Application> app = session->GetTabrelPC();
  session_ = std::move(session);
  app_ = std::move(app);
}

// ---- Link step ---------------------------------------------------------------

bool Document::CheckLinkUpdate(bool readDirection) {
  if (!linkStep_) return false;
  return linkStep_->CheckLinkUpdate(*this, model_.header, readDirection);
}

// ---- The bound file ------------------------------------------------------------

void Document::SetFullPath(std::string_view path) {
  try {
    if (!fullPath_.empty() && fullPath_ != path && fs::FileExists(fullPath_)) {
      fs::RenameNoReplace(fullPath_, path);
      if (headerOnlySource_ == fullPath_) headerOnlySource_ = path;
    }
    fullPath_ = path;
  } catch (...) {
    throw Wrap32760(CurrentError(), "Document.SetFullPath", "Could not rename document.");
  }
}

std::string Document::UserFilePath(std::string_view user, std::string_view category,
                                   std::string_view name) const {
  try {
    if (!fs::IsPlainName(category) || !fs::IsPlainName(name)) fs::RaiseFileError(fs::kBadFileName);
    if (!app_) RaiseRuntimeError(91);
    app_->SetFileMode(core::kScrivaneMode);
    const Ref<core::Session>& session = app_->Session();
    if (!session) RaiseRuntimeError(91);
    if (!user.empty()) {
      app_->SetCurrentUser(user);
      if (!text::EqualsNoCase(session->UserName(), core::Trim(user))) {
        RaiseError(5, "", "There is no handheld user named '" + std::string(user) + "'.");
      }
    }
    const std::string folder = app_->HomeDirectory() + std::string(category);
    if (!fs::FolderExists(folder)) fs::MakeFolder(folder);
    const auto mode = static_cast<int16_t>(session->FileMode());
    return folder + "\\" + core::AddFileModeExtension(name, mode);
  } catch (...) {
    throw Wrap32760(CurrentError(), "Document.UserFilePath",
                    "Could not find the place of document '" + std::string(name) + "'.");
  }
}

// ---- Desktop document file -------------------------------------------------------

bool Document::OpenFromDisk(std::string_view fileView, bool readDocument, bool updateFromLink) {
  const std::string file(fileView);  // the view may be of fullPath_ itself, which the reset clears
  try {
    ResetDocument();
    if (!file.empty()) fullPath_ = file;
    DocumentFileBytes read = ReadDocumentFileHeader(fullPath_, model_);
    if (updateFromLink && CheckLinkUpdate(true)) {  // the linked file was converted into this one
      read = ReadDocumentFileHeader(fullPath_, model_);
    }
    ApplyLinkInfo(model_, model_.header);
    if (readDocument) {
      headerOnly_ = false;
      ReadDocumentFileText(read, model_);
    } else {
      headerOnly_ = true;
      headerOnlySource_ = fullPath_;
    }
    return true;
  } catch (...) {
    throw WrapAlways(CurrentError(), "Document.OpenFromDisk",
                     "Could not open Document '" + fullPath_ + "'." + kCrLf +
                         "Possible corruption in document.  Please send this document to " +
                         kSupportAddress + " for evaluation." + kCrLf + "Error reported was:");
  }
}

bool Document::InitFromSCV(std::string_view file) {
  const std::string path(file);
  try {
    ResetDocument();
    fullPath_ = path;
    ReadDocumentFileHeader(fullPath_, model_);
    ApplyLinkInfo(model_, model_.header);
    CloseDocument();
    model_.isModified = true;
    fullPath_.clear();  // the new document is unnamed
    return true;
  } catch (...) {
    throw Wrap32760(CurrentError(), "Document.InitFromSCV",
                    "Could not open Document '" + path + "'.");
  }
}

void Document::WriteToDisk(std::string_view file, bool updateLink) {
  try {
    if (!file.empty()) fullPath_ = file;
    if (fullPath_.empty()) core::RaiseModuleError(kNotNamedError, kNotNamedText);
    if (headerOnly_) {
      // The text comes from the file the header was read from, also when the
      // document is saved under another name.
      RewriteDocumentFileHeader(model_, headerOnlySource_.empty() ? fullPath_ : headerOnlySource_,
                                fullPath_);
      headerOnlySource_ = fullPath_;
      return;
    }
    WriteDocumentFile(model_, fullPath_);
    // After a push to the linked file the link time is renewed: it goes into
    // the file as well, or the next open would take the file as newer.
    if (updateLink && CheckLinkUpdate(false)) WriteDocumentFile(model_, fullPath_);
  } catch (...) {
    throw WrapAlways(CurrentError(), "Document.WriteToDisk",
                     "Could not save Document '" + fullPath_ + "'.");
  }
}

bool Document::OpenFromUser(std::string_view user, std::string_view category,
                            std::string_view name) {
  // The path is only stored: the file bound before is not renamed.
  return OpenFromDisk(UserFilePath(user, category, name), true, false);
}

void Document::WriteToUser(std::string_view user, std::string_view category,
                           std::string_view name) {
  // The path is only stored: the file bound before is not renamed.
  fullPath_ = UserFilePath(user, category, name);
  WriteToDisk({}, false);
}

// ---- Plain text, HTML, e-texts ---------------------------------------------------

bool Document::OpenFromTextFile(std::string_view file) {
  const std::string path(file);
  try {
    const std::string bytes = ReadDocumentTextFile(path);
    InitFromDefaults();
    if (!path.empty()) fullPath_ = path;
    headerOnly_ = false;
    ReadDocumentPlainText(bytes, model_);
    return true;
  } catch (...) {
    throw Wrap32760(CurrentError(), "Document.OpenFromTextFile", OpenMessage(path));
  }
}

bool Document::OpenFromHTMLFile(std::string_view file) {
  const std::string path(file);
  try {
    const std::string bytes = ReadDocumentTextFile(path);
    InitFromDefaults();
    if (!path.empty()) fullPath_ = path;
    headerOnly_ = false;
    ReadDocumentHtml(bytes, model_);
    return true;
  } catch (...) {
    throw Wrap32760(CurrentError(), "Document.OpenFromHTMLFile", OpenMessage(path));
  }
}

void Document::WriteToTextFile(std::string_view file) {
  try {
    if (!file.empty()) fullPath_ = file;
    if (fullPath_.empty()) core::RaiseModuleError(kNotNamedError, kNotNamedText);
    WriteDocumentTextFile(model_, fullPath_);
  } catch (...) {
    throw Wrap32760(CurrentError(), "Document.WriteToTextFile",
                    "Could not save Document '" + fullPath_ + "'.");
  }
}

std::string Document::AddEscapeCodes(std::string& input) {
  input = markup::AddEscapeCodes(input);
  return input;
}

// ---- Handheld databases ------------------------------------------------------------

void Document::WriteToPDB(std::string_view file) {
  try {
    WriteDocumentDatabase(model_, file);
  } catch (...) {
    throw Wrap32760(CurrentError(), "Document.WriteToPDB",
                    "Could not save document '" + fullPath_ + "'.");
  }
}

bool Document::OpenFromPDB(std::string_view fileView) {
  const std::string file(fileView);  // the view may be of fullPath_ itself, which the reset clears
  core::HandheldDatabase db;
  try {
    InitFromDefaults();
    db.ReadFile(file, true);
  } catch (...) {
    throw Wrap32760(CurrentError(), "Document.OpenFromPDB", "Unable to open from PDB.");
  }
  ReadDocumentDatabase(db, file, model_);
  return true;
}

void Document::WriteToDOCPDB(std::string_view file) {
  try {
    WritePalmDocDatabase(model_, file);
  } catch (...) {
    throw Wrap32760(CurrentError(), "Document.WriteToDOCPDB",
                    "Could not save document '" + fullPath_ + "'.");
  }
}

bool Document::OpenFromDOCPDB(std::string_view fileView) {
  const std::string file(fileView);  // the view may be of fullPath_ itself, which the reset clears
  core::HandheldDatabase db;
  try {
    InitFromDefaults();
    db.ReadFile(file, true);
  } catch (...) {
    throw Wrap32760(CurrentError(), "Document.OpenFromDOCPDB", "Unable to open from DOC PDB.");
  }
  ReadPalmDocDatabase(db, file, model_);
  return true;
}

std::vector<uint8_t> Document::StringToBytes(std::string_view s, int32_t n) {
  if (n < 1) RaiseRuntimeError(kSubscriptOutOfRange);
  std::vector<uint8_t> bytes(static_cast<size_t>(n), 0);
  const size_t count = std::min(s.size(), bytes.size());
  for (size_t i = 0; i < count; ++i) bytes[i] = static_cast<uint8_t>(s[i]);
  return bytes;
}

// ---- Server database object ----------------------------------------------------------

void Document::WriteToZazerDB(Dispatch& zazerDB) { WriteDocumentServerDatabase(model_, zazerDB); }

bool Document::OpenFromZazerDB(const Variant&) {
  RaiseError(kObjectError + kNotImplementedError, "OpenFromZazerDB",
             "Function not yet implemented.");
}

}  // namespace brevora::doc
