#include "doc/document_model.h"

#include "core/module_error.h"
#include "doc/document_errors.h"

namespace brevora::doc {

namespace {

constexpr int32_t kSubscriptOutOfRange = 9;

}  // namespace

void DocumentModel::SetCursorEndPos(int32_t value) {
  header.CursorEndPos = value < header.readingPosition ? header.readingPosition : value;
}

void DocumentModel::SetPassword(std::string_view value) {
  if (value.size() > kMaxNameLength) {
    core::RaiseModuleError(kFieldTooLongError,
                           "Password field can hold " + std::to_string(kMaxNameLength) + ".");
  }
  header.password = value;
}

void DocumentModel::SetDocName(std::string_view value) {
  if (value.size() > kMaxNameLength) {
    core::RaiseModuleError(kFieldTooLongError,
                           "Document name can hold " + std::to_string(kMaxNameLength) + ".");
  }
  header.DocName = value;
}

int16_t DocumentModel::SearchDocumentMode() const {
  const int16_t mode = header.searchMode;
  return mode >= eSearchSystem && mode <= eSearchNever ? mode : int16_t{eSearchSystem};
}

void DocumentModel::SetSearchDocumentMode(int32_t mode) {
  if (mode >= eSearchSystem && mode <= eSearchNever) header.searchMode = static_cast<int16_t>(mode);
}

// ---- Bookmarks -----------------------------------------------------------------

bool DocumentModel::SetBookmark(int32_t index, std::string_view name, int32_t offset) {
  if (index < 0) RaiseRuntimeError(kSubscriptOutOfRange);
  if (index >= kBookmarkSlots) return false;
  header.bookmarks[static_cast<size_t>(index)] = Bookmark{std::string(name), offset};
  header.Recount();
  return true;
}

bool DocumentModel::ClearBookmark(int32_t index) {
  if (index < 0) RaiseRuntimeError(kSubscriptOutOfRange);
  if (index > kMaxBookmarks) return false;
  header.bookmarks[static_cast<size_t>(index)] = Bookmark{};
  header.Recount();
  return true;
}

const Bookmark& DocumentModel::BookmarkSlot(int32_t index) const {
  if (index < 0 || index >= kBookmarkSlots) RaiseRuntimeError(kSubscriptOutOfRange);
  return header.bookmarks[static_cast<size_t>(index)];
}

// ---- Link settings -----------------------------------------------------------

void DocumentModel::SetLinkedFileName(std::string_view name) {
  header.LinkedDOCFileName = name;
  if (name.empty()) {
    header.LinkedDOCFileModDateTime = 0;
    header.LinkedDOCSyncMethod = 0;
    header.LinkedDOCSyncOption = 0;
  }
}

bool DocumentModel::HasLinkedFile() const {
  return header.LinkedDOCFileName.find_first_not_of(' ') != std::string::npos;
}

void DocumentModel::SetSyncMethod(int32_t method) {
  kDocLinkSettings.CheckSyncValue(method, "syncMethod");
  header.LinkedDOCSyncMethod = static_cast<int16_t>(method);
}

void DocumentModel::SetSyncOption(int32_t option) {
  kDocLinkSettings.CheckSyncValue(option, "syncOption");
  header.LinkedDOCSyncOption = static_cast<int16_t>(option);
}

std::string DocumentModel::SyncMethodText() const {
  return kDocLinkSettings.SyncMethodText(header.LinkedDOCSyncMethod);
}

int16_t DocumentModel::SyncMethodFromText(std::string_view text) {
  return kDocLinkSettings.SyncMethodFromText(text);
}

void ApplyLinkInfo(DocumentModel& model, DocumentHeader header) {
  model.SetSyncMethod(header.LinkedDOCSyncMethod);
  model.SetLinkedFileName(header.LinkedDOCFileName);
  model.header.LinkedDOCFileModDateTime = header.LinkedDOCFileModDateTime;
  model.SetSyncOption(header.LinkedDOCSyncOption);
  model.header.serverSync = header.serverSync == 1 ? 1 : 0;
}

// ---- Text ------------------------------------------------------------------------

DocumentBlockCollection& DocumentModel::Blocks() {
  if (!blocks) blocks = MakeRef<DocumentBlockCollection>();
  return *blocks;
}

void DocumentModel::SetBlocks(std::vector<std::string> texts) {
  Ref<DocumentBlockCollection> made = MakeRef<DocumentBlockCollection>();
  for (size_t i = 0; i < texts.size(); ++i)
    made->Add(std::to_string(i)).SetText(std::move(texts[i]));
  blocks = std::move(made);
}

}  // namespace brevora::doc
