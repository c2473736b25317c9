#pragma once
// PalmDocWriter: builds a PalmDOC database ("TEXt", "REAd"; layout in
// doc/handheld_format.h) from a document's fields and blocks.
//
// The text (all blocks joined) is cut into records of 4,096 characters (ids 2,
// 3, ...), compressed when the compression flag is 2 (with room for the worst
// case). Bookmark record j gets the id B + 1 + j, B the larger of the number of
// blocks and the number of text records, so bookmark ids never meet text ids.
// Raises 6 for a value that does not fit its field, before anything is written.
// The blocks and fields must outlive the writer.
#include <string>
#include <string_view>
#include <vector>

#include "core/handheld_database.h"
#include "doc/handheld_document.h"

namespace brevora::doc {

class PalmDocWriter {
 public:
  PalmDocWriter(const HandheldFields& fields, const std::vector<std::string_view>& blocks)
      : fields_(fields), blocks_(blocks) {}
  PalmDocWriter(const PalmDocWriter&) = delete;
  PalmDocWriter& operator=(const PalmDocWriter&) = delete;

  // The database name: `docName` when not empty, else the path exactly as
  // given (folder included) without a trailing ".scv"; cut to 31 characters.
  static std::string DatabaseName(std::string_view docName, std::string_view path);

  void Fill(core::HandheldDatabase& db) const;
  void Write(std::string_view file) const;

 private:
  const HandheldFields& fields_;
  const std::vector<std::string_view>& blocks_;
};

}  // namespace brevora::doc
