#pragma once
// DocumentModel: what a document stores, as plain data: the header record
// (settings, positions, bookmarks, link fields), the text blocks, and the
// values kept beside them (version, modified, category, private flag). The
// storage functions (doc/document_storage.h) read and write it; Document
// (doc/document.h) is the automation face over it.
//
// The helpers below are the value checks of the document's properties, with
// their errors: 0x80040113 "tabrelpc" for a name or password over 31
// characters, 9 for a bookmark index below 0, 32760 "Tabulyn - Document" for a
// sync method or option outside 0 to 3. A failed check leaves the value as it was.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "doc/document_block_collection.h"
#include "doc/document_header.h"
#include "office/link_settings.h"

namespace brevora::doc {

// The version of a new document.
inline constexpr int16_t kDocumentVersion = 5;

// The texts and checks of a document's link to a .doc file.
inline constexpr office::LinkSettings kDocLinkSettings{"DOC", "Tabulyn - Document"};

struct DocumentModel {
  DocumentHeader header;
  Ref<DocumentBlockCollection> blocks;  // null when the document has no text
  int16_t version = kDocumentVersion;
  bool isModified = false;
  int16_t category = 0;
  bool isPrivate = false;

  // Never below the reading position: a smaller value stores that position.
  void SetCursorEndPos(int32_t value);
  void SetPassword(std::string_view value);
  void SetDocName(std::string_view value);
  // The stored mode, or 0 when it is outside 0 to 2.
  int16_t SearchDocumentMode() const;
  // 0 to 2 are stored, other values ignored.
  void SetSearchDocumentMode(int32_t mode);

  // Index 0 to 25: stores the slot, recounts, true; 26 or more: false.
  bool SetBookmark(int32_t index, std::string_view name, int32_t offset);
  // Index up to 25: empties the slot, recounts, true; above: false.
  bool ClearBookmark(int32_t index);
  // 9 outside 0 to 25.
  const Bookmark& BookmarkSlot(int32_t index) const;

  // The link fields of the header record. An empty name also sets the time,
  // method and option to 0.
  void SetLinkedFileName(std::string_view name);
  // A name with something besides blanks.
  bool HasLinkedFile() const;
  void SetSyncMethod(int32_t method);
  void SetSyncOption(int32_t option);
  // The text of the stored sync method.
  std::string SyncMethodText() const;
  // The method whose text equals `text` exactly; 0 for any other text.
  static int16_t SyncMethodFromText(std::string_view text);

  // The blocks, made empty when there are none.
  DocumentBlockCollection& Blocks();
  // Replaces the blocks by `texts`, keyed "0", "1", ...
  void SetBlocks(std::vector<std::string> texts);
};

// Applies a header record's link fields to the model through the checks above,
// in this order: sync method, file name, time, sync option, server sync (1 on,
// anything else off). The record is a copy, so it may be the model's own.
void ApplyLinkInfo(DocumentModel& model, DocumentHeader header);

}  // namespace brevora::doc
