#pragma once
// Document ("TabulynPC.Document"): one word-processor document, as an
// automation object: the face over a DocumentModel (doc/document_model.h: the
// text in blocks of 2,048 characters, the settings that travel with it to the
// handheld (name, password, flags, search mode, positions, bookmarks), its
// category and private flag, and its link to a .doc file) and the storage
// functions over it (doc/document_storage.h). The document itself holds what
// belongs to its life: the bound file, the Session and application object, and
// the link step.
//
// Storage forms: their storage functions are each in their own source file,
// the Document members that open and save them (OpenFromDisk, WriteToDisk,
// OpenFromTextFile, OpenFromPDB, WriteToZazerDB, ...) are in document.cpp:
//   desktop document file .scv            document_disk.cpp
//   plain text, HTML, e-texts             document_text.cpp
//   handheld document and PalmDOC dbs     document_pdb.cpp
//   a server database object              document_zazer.cpp
// .doc files go through the Word converter and a temporary desktop file: the
// members OpenFromDOC and WriteToDOC are in document_word.cpp.
// The link to Word is reached through a DocumentLinkStep (doc/document_link.h);
// a new document has the Word link step (doc/word_link_step.h).
//
// Failures are raised as automation errors: 32760 with the operation's source
// ("Document.OpenFromDisk") and message, CR LF and the inner description (most
// operations let an inner error already numbered 32760 pass unchanged, and some
// add no wrap: doc/document_storage.h says which); value checks as
// 0x80040000 + n with source "tabrelpc".
// A user's file is only ever replaced through a temporary file renamed over it.
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "doc/document_block_collection.h"
#include "doc/document_header.h"
#include "doc/document_model.h"
#include "platform/automation/member_table.h"

namespace brevora::core {
class Session;
class HandheldDatabase;
class Application;
}  // namespace brevora::core

namespace brevora::doc {

class DocumentLinkStep;

class Document : public Dispatchable<Document> {
 public:
  static constexpr const char* kProgId = "TabulynPC.Document";
  static constexpr const char* kClsid = "{7D41B2E0-5C3A-4F18-9E62-0A8B4D6C2F01}";
  static constexpr int16_t kVersion = kDocumentVersion;

  static const MemberTable<Document>& Members();

  // A new document (Version 5, not modified) with its own application object.
  Document();
  ~Document() override;

  // ---- Session and application object ----
  const Ref<core::Session>& Session() const { return session_; }
  // Stores the Session and takes the application object it hands out; 91 for
  // no Session.
  void SetSession(Ref<core::Session> session);
  const Ref<core::Application>& App() const { return app_; }

  // ---- Properties ----
  int32_t LastReadPos() const { return model_.header.readingPosition; }
  void SetLastReadPos(int32_t value) { model_.header.readingPosition = value; }
  int32_t CursorStartPos() const { return model_.header.readingPosition; }
  void SetCursorStartPos(int32_t value) { model_.header.readingPosition = value; }
  int32_t CursorEndPos() const { return model_.header.CursorEndPos; }
  // Never below CursorStartPos: a smaller value stores CursorStartPos.
  void SetCursorEndPos(int32_t value) { model_.SetCursorEndPos(value); }
  // At most 31 characters: 0x80040113 "tabrelpc" otherwise, the value kept.
  const std::string& Password() const { return model_.header.password; }
  void SetPassword(std::string_view value) { model_.SetPassword(value); }
  const std::string& DocName() const { return model_.header.DocName; }
  void SetDocName(std::string_view value) { model_.SetDocName(value); }
  bool IsEditable() const { return model_.header.editable == kEditable; }
  void SetIsEditable(bool value) { model_.header.editable = value ? kEditable : kNotEditable; }
  bool IsCompressed() const { return model_.header.compression == kCompressed; }
  void SetIsCompressed(bool value) {
    model_.header.compression = value ? kCompressed : kNotCompressed;
  }
  // 0 to 2 are stored, other values ignored; the getter gives 0 for a stored
  // value outside 0 to 2.
  int16_t SearchDocumentMode() const { return model_.SearchDocumentMode(); }
  void SetSearchDocumentMode(int32_t mode) { model_.SetSearchDocumentMode(mode); }
  int16_t Category() const { return model_.category; }
  void SetCategory(int16_t value) { model_.category = value; }
  bool IsServerSync() const { return model_.header.serverSync == 1; }
  void SetIsServerSync(bool value) { model_.header.serverSync = value ? 1 : 0; }
  bool IsPrivate() const { return model_.isPrivate; }
  void SetIsPrivate(bool value) { model_.isPrivate = value; }
  bool IsModified() const { return model_.isModified; }
  void SetIsModified(bool value) { model_.isModified = value; }
  int16_t Version() const { return model_.version; }
  void SetVersion(int16_t value) { model_.version = value; }

  // ---- Bookmarks (slots 0 to 25; files store the non-empty slots 1 to 25) ----
  // Index 0 to 25: stores the slot, recounts, true; 26 or more: false; negative: 9.
  bool SetBookmark(int32_t index, std::string_view name, int32_t offset) {
    return model_.SetBookmark(index, name, offset);
  }
  // Index up to 25: empties the slot, recounts, true; above: false; negative: 9.
  bool ClearBookmark(int32_t index) { return model_.ClearBookmark(index); }
  // The non-empty slots 1 to 25.
  int16_t BookmarkCount() const { return model_.header.bookmarkCount; }
  // 9 outside 0 to 25.
  const Bookmark& BookmarkSlot(int32_t index) const { return model_.BookmarkSlot(index); }

  // ---- Link settings ----
  const std::string& LinkedDOCFileName() const { return model_.header.LinkedDOCFileName; }
  // An empty name also sets the time, method and option to 0.
  void SetLinkedDOCFileName(std::string_view name) { model_.SetLinkedFileName(name); }
  bool HasLinkedDOCFile() const { return model_.HasLinkedFile(); }
  double LinkedDOCFileModDateTime() const { return model_.header.LinkedDOCFileModDateTime; }
  void SetLinkedDOCFileModDateTime(double seconds) {
    model_.header.LinkedDOCFileModDateTime = seconds;
  }
  int32_t LinkedDOCSyncMethod() const { return model_.header.LinkedDOCSyncMethod; }
  int32_t LinkedDOCSyncOption() const { return model_.header.LinkedDOCSyncOption; }
  // 0 to 3; else 32760 "Tabulyn - Document" and the value kept.
  void SetLinkedDOCSyncMethod(int32_t method) { model_.SetSyncMethod(method); }
  void SetLinkedDOCSyncOption(int32_t option) { model_.SetSyncOption(option); }
  // "Synchronize", "Palm to DOC", "DOC to Palm", "Do Nothing" ("Synchronize"
  // for any other stored value).
  std::string SyncMethodText() const { return model_.SyncMethodText(); }
  // The method whose text equals `text` exactly; 0 for any other text.
  static int16_t SyncMethodFromText(std::string_view text) {
    return DocumentModel::SyncMethodFromText(text);
  }

  // ---- The bound file ----
  const std::string& FullPath() const { return fullPath_; }
  // The public property: when a file is bound and exists, it is renamed to the
  // new path (never over an existing file: 32760 "Document.SetFullPath" "Could
  // not rename document." and the old path kept); then the path is stored.
  void SetFullPath(std::string_view path);

  // ---- Text ----
  // The blocks; an empty collection is made when there is none.
  DocumentBlockCollection& DocumentBlocks() { return model_.Blocks(); }
  bool HasDocumentBlocks() const { return static_cast<bool>(model_.blocks); }
  // Drops the text blocks (no collection afterwards).
  void EraseText() { model_.blocks.Reset(); }
  // Replaces the blocks by `texts`, keyed "0", "1", ...
  void SetBlocks(std::vector<std::string> texts) { model_.SetBlocks(std::move(texts)); }

  // ---- Life cycle ----
  // Forgets the bound file.
  void CloseDocument();
  // Defaults: link reset, compressed, editable, modified. Returns true.
  bool InitFromDefaults();
  // A new unnamed document from a template desktop file's header (its text is
  // not read). 32760 "Document.InitFromSCV" on failure. Returns true.
  bool InitFromSCV(std::string_view file);

  // ---- Desktop document file ----
  // Opens a desktop file (header only unless readDocument); with updateFromLink
  // the link step may first convert a newer linked file into it.
  bool OpenFromDisk(std::string_view file = {}, bool readDocument = false,
                    bool updateFromLink = false);
  // Saves to `file` (or the bound file). A document opened header-only has its
  // header rewritten and keeps the text of the file it was opened from.
  void WriteToDisk(std::string_view file = {}, bool updateLink = false);
  // The user's file <home>/<category>/<name>.scv.
  bool OpenFromUser(std::string_view user, std::string_view category, std::string_view name);
  void WriteToUser(std::string_view user, std::string_view category, std::string_view name);

  // ---- Plain text, HTML, e-texts ----
  bool OpenFromTextFile(std::string_view file);
  bool OpenFromHTMLFile(std::string_view file);
  void WriteToTextFile(std::string_view file);
  // Every TAB replaced by four blanks; `input` receives the result too.
  static std::string AddEscapeCodes(std::string& input);

  // ---- Handheld databases ----
  void WriteToPDB(std::string_view file);
  bool OpenFromPDB(std::string_view file);
  void WriteToDOCPDB(std::string_view file);
  bool OpenFromDOCPDB(std::string_view file);
  // n bytes: the codes of the first n characters of `s`, zeros after its end.
  static std::vector<uint8_t> StringToBytes(std::string_view s, int32_t n);

  // ---- Word files (document_word.cpp) ----
  // Converts a .doc file into this document through the document converter and
  // a temporary desktop file, removed on every path; the document stays bound
  // to the file it was bound to before. Raises the converter's errors.
  bool OpenFromDOC(std::string_view docFile);
  // Converts this document into a .doc file the same way; returns true.
  bool WriteToDOC(std::string_view docFile);

  // ---- Server database object ----
  // Copies the document into a RivorOdurov database object, late-bound: the
  // application-info block, the header record (with the category), one record
  // per text block and per bookmark, the creation time. Sets IsServerSync.
  // Errors leave with their number and description and the source "tabrelpc".
  void WriteToZazerDB(Dispatch& zazerDB);
  // Reading back is not offered: always 0x80040114 "Function not yet
  // implemented." with the source "OpenFromZazerDB"; the object is not called.
  bool OpenFromZazerDB(const Variant& zazerDB);

 private:
  // Tests reach the model's header record and the link step through
  // DocumentInternal (doc/document_internal.h).
  friend class DocumentInternal;

  // Replaces the link step (null: no link step, both directions do nothing).
  void SetLinkStep(std::shared_ptr<DocumentLinkStep> step) { linkStep_ = std::move(step); }

  void InitObjects(bool createAppObject);
  void ReleaseObjects(bool releaseAll);
  void ResetDocument();
  bool CheckLinkUpdate(bool readDirection);
  std::string UserFilePath(std::string_view user, std::string_view category,
                           std::string_view name) const;

  DocumentModel model_;
  Ref<core::Session> session_;
  Ref<core::Application> app_;
  std::string fullPath_;
  bool headerOnly_ = false;
  std::string headerOnlySource_;  // the file a header-only document was opened from
  std::shared_ptr<DocumentLinkStep> linkStep_;
};

}  // namespace brevora::doc
