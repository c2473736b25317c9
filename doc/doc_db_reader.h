#pragma once
// DocDatabaseReader: reads the suite's handheld document database (layout in
// doc/handheld_format.h) from a handheld database whose type and creator the
// caller checked.
//
// The first record is the header record; records 2 to n + 1 (by position, not
// by id) are the text blocks, expanded when the compression flag is 2; the
// records after them are bookmarks, at most 25. Raises 321 for a missing or
// short header record, fewer records than the header announces, or a
// compressed record that is damaged or expands beyond 2,048 characters; 6 for
// a handheld database value of 2^31 or more. A damaged bookmark record ends the
// bookmarks: the read then has none, and still succeeds.
#include "core/handheld_database.h"
#include "doc/handheld_document.h"

namespace brevora::doc {

class DocDatabaseReader {
 public:
  // `db` must outlive the reader.
  explicit DocDatabaseReader(const core::HandheldDatabase& db) : db_(db) {}
  DocDatabaseReader(const DocDatabaseReader&) = delete;
  DocDatabaseReader& operator=(const DocDatabaseReader&) = delete;

  HandheldRead Read() const;

 private:
  const core::HandheldDatabase& db_;
};

}  // namespace brevora::doc
