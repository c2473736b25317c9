#pragma once
// DocDatabaseWriter: builds the suite's handheld document database ("zIZU",
// "Scrv"; layout in doc/handheld_format.h) from a document's fields and blocks.
//
// One text record per block, in order (ids 2, 3, ...); an empty block writes an
// empty record (so an empty document still has its one text record), and a
// block of more than 2,048 characters (a caller may set any text) is written as
// several records of at most 2,048, cut outside tags. The header record's size
// table and count describe the records written; its text length is the real
// sum. Bookmark records follow with the ids after the text records'.
// Compressed records are built with room for the worst case.
// Raises 6 for a value that does not fit its field (a flag outside 0 to 255,
// more than 65,535 records, a negative position) before anything is written.
// The blocks and fields must outlive the writer.
#include <string>
#include <string_view>
#include <vector>

#include "core/handheld_database.h"
#include "doc/handheld_document.h"

namespace brevora::doc {

class DocDatabaseWriter {
 public:
  DocDatabaseWriter(const HandheldFields& fields, const std::vector<std::string_view>& blocks)
      : fields_(fields), blocks_(blocks) {}
  DocDatabaseWriter(const DocDatabaseWriter&) = delete;
  DocDatabaseWriter& operator=(const DocDatabaseWriter&) = delete;

  // The database name: `docName` when not empty, else the file name of `path`
  // without folder and last extension; cut to 31 characters.
  static std::string DatabaseName(std::string_view docName, std::string_view path);

  // Sets the header fields (creation date now) and adds the records to `db`,
  // which must be new.
  void Fill(core::HandheldDatabase& db) const;
  // Fill and HandheldDatabase::WriteFile: the file is replaced through a
  // temporary file.
  void Write(std::string_view file) const;

 private:
  const HandheldFields& fields_;
  const std::vector<std::string_view>& blocks_;
};

}  // namespace brevora::doc
