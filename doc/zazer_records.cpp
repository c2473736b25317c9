#include "doc/zazer_records.h"

#include "core/number_text.h"
#include "doc/handheld_records.h"
#include "doc/markup.h"
#include "doc/zazer_format.h"
#include "platform/automation/convert.h"
#include "support/tabrelc.h"

namespace brevora::doc {

namespace zf = zazer_format;
using core::BigEndianBytes16;
using core::BigEndianBytes32;
using core::ByteChar;

namespace {

std::vector<uint8_t> Bytes(std::string_view s) { return std::vector<uint8_t>(s.begin(), s.end()); }

// A number held as a double, as the server takes it: its decimal text read as
// an unsigned 32-bit number (the whole part; saturating).
uint32_t UnsignedWhole(double value) {
  const std::string text = FormatDouble(value);
  return ULongStrToLong(text.c_str(), nullptr);
}

}  // namespace

std::vector<uint8_t> EncodeZazerAppInfo(const DocumentHeader& h, const ZazerDocumentState& state) {
  std::string block;
  block += BigEndianBytes16(state.version);
  block += markup::FixLength(h.DocName, zf::kNameSize, true);
  block += markup::FixLength(h.password, zf::kPasswordSize);
  block += std::string(zf::kGapAfterPassword, '\0');
  block += BigEndianBytes16(h.readingPosition);
  block += BigEndianBytes16(h.CursorEndPos);
  block += std::string(zf::kGapAfterCursor, '\0');
  block += ByteChar(state.isModified ? 1 : 0);
  block += ByteChar(h.serverSync);
  block += '\0';
  block += markup::FixLength(h.LinkedDOCFileName, zf::kLinkNameSize);
  block += BigEndianBytes16(h.LinkedDOCSyncMethod);
  block += BigEndianBytes16(h.LinkedDOCSyncOption);
  block += BigEndianBytes32(UnsignedWhole(h.LinkedDOCFileModDateTime));
  return Bytes(block);  // kAppInfoSize bytes
}

std::vector<uint8_t> EncodeZazerHeaderRecord(const DocumentHeader& h,
                                             std::span<const std::string_view> blocks) {
  double textLength = 0;
  for (std::string_view text : blocks) textLength += static_cast<double>(text.size());
  const auto count = static_cast<int32_t>(blocks.size() & 0xFFFF);  // a WORD holds the low 16 bits
  std::string record;
  record += ByteChar(h.editable);
  record += ByteChar(h.compression);
  record += ByteChar(h.searchMode);
  record += ByteChar(zf::kHeaderConstant);
  record += BigEndianBytes32(textLength);
  record += BigEndianBytes16(count);
  record += BigEndianBytes16(zf::kBlockSize);
  record += BigEndianBytes32(h.databaseValue);
  for (size_t i = 0; i < blocks.size(); ++i) {
    const bool last = i + 1 == blocks.size();
    record +=
        BigEndianBytes16(last ? static_cast<int32_t>(blocks[i].size() & 0xFFFF) : zf::kBlockSize);
  }
  return Bytes(record);
}

std::vector<uint8_t> EncodeZazerTextRecord(std::string_view text, bool compressed) {
  if (!compressed) return Bytes(text);
  std::vector<uint8_t> record = CompressRecord(text);
  // Shorter than the text: padded to its length. Longer: passed whole, never cut.
  if (record.size() < text.size()) record.resize(text.size(), 0);
  return record;
}

std::vector<uint8_t> EncodeZazerBookmarkRecord(const Bookmark& bookmark) {
  return Bytes(markup::FixLength(bookmark.name, zf::kBookmarkNameSize) +
               BigEndianBytes32(bookmark.offset));
}

}  // namespace brevora::doc
