#pragma once
// DocumentHeader: everything a document's files store besides its text, the
// in-memory image of the desktop file header. Every reader fills one and
// applies it to the document; every writer fills one from the document first.
//
// Bookmarks: 26 slots (0 to 25). The files carry slots 1 to 25: writers store
// the slots whose name is not empty, in slot order, and readers put what they
// read into slots 1, 2, ... in file order. Slot 0 is accepted by the document
// but never stored. The bookmark count is always the number of non-empty slots
// 1 to 25, so the count a file states and the pairs it holds agree.
#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace brevora::doc {

inline constexpr int kBookmarkSlots = 26;      // indexes 0 to 25
inline constexpr int kMaxBookmarks = 25;       // slots 1 to 25 are stored
inline constexpr size_t kMaxNameLength = 31;   // DocName and password
inline constexpr int32_t kBlockFactor = 2048;  // characters per text block

// The stored values of the flags.
inline constexpr int16_t kEditable = 1;
inline constexpr int16_t kNotEditable = 0;
inline constexpr int16_t kCompressed = 2;
inline constexpr int16_t kNotCompressed = 1;

// enumSearchDocumentType
enum enumSearchDocumentType : int16_t { eSearchSystem = 0, eSearchDocument = 1, eSearchNever = 2 };

struct Bookmark {
  std::string name;  // "" when the slot is empty
  int32_t offset = 0;
  bool operator==(const Bookmark&) const = default;
};

struct DocumentHeader {
  std::string LinkedDOCFileName;
  double LinkedDOCFileModDateTime = 0;  // seconds
  int16_t LinkedDOCSyncMethod = 0;
  int16_t LinkedDOCSyncOption = 0;
  int16_t serverSync = 0;   // 1 on, 0 off
  int16_t editable = 0;     // kEditable / kNotEditable
  int16_t compression = 0;  // kCompressed / kNotCompressed
  int16_t searchMode = 0;   // enumSearchDocumentType
  std::string DocName;
  std::string password;
  int32_t databaseValue = 0;    // set by the handheld database readers, stored by the writers
  int32_t readingPosition = 0;  // LastReadPos and CursorStartPos
  int32_t CursorEndPos = 0;
  int16_t bookmarkCount = 0;
  std::array<Bookmark, kBookmarkSlots> bookmarks;

  // The non-empty bookmarks of slots 1 to 25, in slot order: what files store.
  std::vector<Bookmark> StoredBookmarks() const {
    std::vector<Bookmark> stored;
    for (int i = 1; i <= kMaxBookmarks; ++i) {
      if (!bookmarks[i].name.empty()) stored.push_back(bookmarks[i]);
    }
    return stored;
  }

  // Empties slots 1 to 25 and puts `read` (at most 25) into slots 1, 2, ...;
  // then recounts.
  void ReplaceBookmarks(const std::vector<Bookmark>& read) {
    for (int i = 1; i <= kMaxBookmarks; ++i) bookmarks[i] = Bookmark{};
    for (size_t i = 0; i < read.size() && i < static_cast<size_t>(kMaxBookmarks); ++i) {
      bookmarks[i + 1] = read[i];
    }
    Recount();
  }

  // The bookmark count: the non-empty slots 1 to 25.
  void Recount() {
    int16_t n = 0;
    for (int i = 1; i <= kMaxBookmarks; ++i) n += bookmarks[i].name.empty() ? 0 : 1;
    bookmarkCount = n;
  }
};

}  // namespace brevora::doc
