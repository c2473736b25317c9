#pragma once
// The bytes of the blocks a document passes to a server database object; the
// layout is in doc/zazer_format.h. Each builder raises what the module's byte
// helpers raise for a value that does not fit (5 a byte outside 0 to 255, 6 a
// double word outside its range).
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "doc/document_header.h"

namespace brevora::doc {

// What the application-info block holds besides the header record's fields.
struct ZazerDocumentState {
  int16_t version = 0;
  bool isModified = false;
};

std::vector<uint8_t> EncodeZazerAppInfo(const DocumentHeader& header,
                                        const ZazerDocumentState& state);
std::vector<uint8_t> EncodeZazerHeaderRecord(const DocumentHeader& header,
                                             std::span<const std::string_view> blocks);
std::vector<uint8_t> EncodeZazerTextRecord(std::string_view text, bool compressed);
std::vector<uint8_t> EncodeZazerBookmarkRecord(const Bookmark& bookmark);

}  // namespace brevora::doc
