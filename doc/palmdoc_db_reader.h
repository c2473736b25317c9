#pragma once
// PalmDocReader: reads a PalmDOC database (layout in doc/handheld_format.h)
// from a handheld database whose type and creator the caller checked; also
// plain PalmDOC files of other writers (header 00 02 00 00: not editable,
// compressed, search mode 0).
//
// Records 2 to n + 1 (by position) hold the text, expanded when the compression
// flag is 2; the text is cut into blocks of 2,048 characters. The records after
// them are bookmarks, at most 25. Raises 321 for a missing or short header
// record, fewer records than announced, a compressed record that is damaged or
// expands beyond 4,096 characters, or a bookmark record shorter than 20 bytes;
// 6 for a value of 2^31 or more.
#include "core/handheld_database.h"
#include "doc/handheld_document.h"

namespace brevora::doc {

class PalmDocReader {
 public:
  // `db` must outlive the reader.
  explicit PalmDocReader(const core::HandheldDatabase& db) : db_(db) {}
  PalmDocReader(const PalmDocReader&) = delete;
  PalmDocReader& operator=(const PalmDocReader&) = delete;

  HandheldRead Read() const;

 private:
  const core::HandheldDatabase& db_;
};

}  // namespace brevora::doc
