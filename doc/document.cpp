#include "doc/document.h"

#include <algorithm>

#include "core/application.h"
#include "core/file_mode.h"
#include "core/module_error.h"
#include "core/session.h"
#include "core/temp_file.h"
#include "core/text_cleanup.h"
#include "doc/document_errors.h"
#include "doc/document_link.h"
#include "doc/word_link_step.h"
#include "office/link_settings.h"
#include "platform/automation/class_registry.h"
#include "platform/fs/file_error.h"
#include "platform/fs/files.h"
#include "platform/fs/paths.h"
#include "platform/text/case.h"

namespace brevora::doc {

namespace {

const ClassRegistration registration(Document::kProgId, Document::kClsid,
                                     [] { return Ref<Dispatch>(MakeRef<Document>()); });

constexpr office::LinkSettings kDocLink{"DOC", "Tabulyn - Document"};
constexpr int32_t kSubscriptOutOfRange = 9;

}  // namespace

Document::Document() : linkStep_(std::make_shared<WordLinkStep>()) { InitObjects(true); }

Document::~Document() { ReleaseObjects(true); }

// ---- Life cycle -------------------------------------------------------------

void Document::InitObjects(bool createAppObject) {
  version_ = kVersion;
  isModified_ = false;
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
  header_.LinkedDOCFileName.clear();
  header_.LinkedDOCFileModDateTime = 0;
  header_.LinkedDOCSyncMethod = 0;
  header_.LinkedDOCSyncOption = 0;
  header_.serverSync = 0;
  SetIsCompressed(true);
  SetIsEditable(true);
  SetLinkInfo(DocumentHeader(header_));
  isModified_ = true;
  return true;
}

// ---- Session -----------------------------------------------------------------

void Document::SetSession(Ref<core::Session> session) {
  if (!session) RaiseRuntimeError(91);
  Ref<core::Application> app = session->GetTabrelPC();
  session_ = std::move(session);
  app_ = std::move(app);
}

// ---- Properties --------------------------------------------------------------

void Document::SetCursorEndPos(int32_t value) {
  header_.CursorEndPos = value < header_.readingPosition ? header_.readingPosition : value;
}

void Document::SetPassword(std::string_view value) {
  if (value.size() > kMaxNameLength) {
    core::RaiseModuleError(kFieldTooLongError, "Password field can hold " + std::to_string(kMaxNameLength) + ".");
  }
  header_.password = value;
}

void Document::SetDocName(std::string_view value) {
  if (value.size() > kMaxNameLength) {
    core::RaiseModuleError(kFieldTooLongError, "Document name can hold " + std::to_string(kMaxNameLength) + ".");
  }
  header_.DocName = value;
}

int16_t Document::SearchDocumentMode() const {
  const int16_t mode = header_.searchMode;
  return mode >= eSearchSystem && mode <= eSearchNever ? mode : int16_t{eSearchSystem};
}

void Document::SetSearchDocumentMode(int32_t mode) {
  if (mode >= eSearchSystem && mode <= eSearchNever) header_.searchMode = static_cast<int16_t>(mode);
}

// ---- Bookmarks -----------------------------------------------------------------

bool Document::SetBookmark(int32_t index, std::string_view name, int32_t offset) {
  if (index < 0) RaiseRuntimeError(kSubscriptOutOfRange);
  if (index >= kBookmarkSlots) return false;
  header_.bookmarks[static_cast<size_t>(index)] = Bookmark{std::string(name), offset};
  header_.Recount();
  return true;
}

bool Document::ClearBookmark(int32_t index) {
  if (index < 0) RaiseRuntimeError(kSubscriptOutOfRange);
  if (index > kMaxBookmarks) return false;
  header_.bookmarks[static_cast<size_t>(index)] = Bookmark{};
  header_.Recount();
  return true;
}

const Bookmark& Document::BookmarkSlot(int32_t index) const {
  if (index < 0 || index >= kBookmarkSlots) RaiseRuntimeError(kSubscriptOutOfRange);
  return header_.bookmarks[static_cast<size_t>(index)];
}

// ---- Link settings -----------------------------------------------------------

void Document::SetLinkedDOCFileName(std::string_view name) {
  header_.LinkedDOCFileName = name;
  if (name.empty()) {
    header_.LinkedDOCFileModDateTime = 0;
    header_.LinkedDOCSyncMethod = 0;
    header_.LinkedDOCSyncOption = 0;
  }
}

bool Document::HasLinkedDOCFile() const {
  return header_.LinkedDOCFileName.find_first_not_of(' ') != std::string::npos;
}

void Document::SetLinkedDOCSyncMethod(int32_t method) {
  kDocLink.CheckSyncValue(method, "syncMethod");
  header_.LinkedDOCSyncMethod = static_cast<int16_t>(method);
}

void Document::SetLinkedDOCSyncOption(int32_t option) {
  kDocLink.CheckSyncValue(option, "syncOption");
  header_.LinkedDOCSyncOption = static_cast<int16_t>(option);
}

std::string Document::SyncMethodText() const { return kDocLink.SyncMethodText(header_.LinkedDOCSyncMethod); }

int16_t Document::SyncMethodFromText(std::string_view text) { return kDocLink.SyncMethodFromText(text); }

void Document::SetLinkInfo(const DocumentHeader& header) {
  SetLinkedDOCSyncMethod(header.LinkedDOCSyncMethod);
  SetLinkedDOCFileName(header.LinkedDOCFileName);
  SetLinkedDOCFileModDateTime(header.LinkedDOCFileModDateTime);
  SetLinkedDOCSyncOption(header.LinkedDOCSyncOption);
  SetIsServerSync(header.serverSync == 1);
}

void Document::GetLinkInfo(DocumentHeader& header) const {
  header.LinkedDOCSyncMethod = header_.LinkedDOCSyncMethod;
  header.LinkedDOCFileName = header_.LinkedDOCFileName;
  header.LinkedDOCFileModDateTime = header_.LinkedDOCFileModDateTime;
  header.LinkedDOCSyncOption = header_.LinkedDOCSyncOption;
  header.serverSync = IsServerSync() ? 1 : 0;
}

bool Document::CheckLinkUpdate(bool readDirection) {
  if (!linkStep_) return false;
  return linkStep_->CheckLinkUpdate(*this, header_, readDirection);
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

bool Document::OpenFromUser(std::string_view user, std::string_view category, std::string_view name) {
  // The path is only stored: the file bound before is not renamed.
  return OpenFromDisk(UserFilePath(user, category, name), true, false);
}

void Document::WriteToUser(std::string_view user, std::string_view category, std::string_view name) {
  // The path is only stored: the file bound before is not renamed.
  fullPath_ = UserFilePath(user, category, name);
  WriteToDisk({}, false);
}

std::string Document::GetTempFile() const {
  return core::GetTempFile("SCV", "Document.GetTempFile", "Could not get temporary file.");
}

// ---- Text ------------------------------------------------------------------------

DocumentBlockCollection& Document::DocumentBlocks() {
  if (!blocks_) blocks_ = MakeRef<DocumentBlockCollection>();
  return *blocks_;
}

void Document::SetBlocks(std::vector<std::string> texts) {
  Ref<DocumentBlockCollection> blocks = MakeRef<DocumentBlockCollection>();
  for (size_t i = 0; i < texts.size(); ++i) blocks->Add(std::to_string(i)).SetText(std::move(texts[i]));
  blocks_ = std::move(blocks);
}

std::vector<uint8_t> Document::StringToBytes(std::string_view s, int32_t n) {
  if (n < 1) RaiseRuntimeError(kSubscriptOutOfRange);
  std::vector<uint8_t> bytes(static_cast<size_t>(n), 0);
  const size_t count = std::min(s.size(), bytes.size());
  for (size_t i = 0; i < count; ++i) bytes[i] = static_cast<uint8_t>(s[i]);
  return bytes;
}

}  // namespace brevora::doc
