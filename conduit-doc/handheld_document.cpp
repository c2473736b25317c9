#include "conduit-doc/handheld_document.h"

#include <cctype>

#include "conduit-doc/local_document.h"
#include "conduit-doc/record_codec.h"
#include "conduit-doc/scriv_product.h"
#include "conduit-doc/text_header.h"
#include "conduit-framework/conduit_log.h"
#include "platform/bytes/big_endian.h"
#include "platform/hotsync/sync_manager.h"

namespace brevora::scriv {
using conduit::CopyStep;
namespace {

namespace fmt = scriv_format;

bool IsLetter(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }

// A bookmark record's name (to its first NUL) with every character that is
// not a letter made "_", and its position.
Bookmark ParseBookmark(std::string_view record) {
  Bookmark bookmark;
  std::string_view name = record.substr(0, fmt::kBookmarkNameSize);
  name = name.substr(0, name.find('\0'));
  bookmark.name.reserve(name.size());
  for (char c : name) bookmark.name += IsLetter(c) ? c : '_';
  bookmark.position = bytes::LoadBigEndian32(reinterpret_cast<const uint8_t*>(record.data()) +
                                             fmt::kBookmarkOffsetOffset);
  return bookmark;
}

}  // namespace

bool KnownDocumentVersion(uint16_t version) {
  return version == 1 || version == 3 || version == 4 || version == 5;
}

CHandheldDocument::CHandheldDocument(uint16_t version)
    : CHandheldDatabase(hotsync::SyncCode("Scrv"), hotsync::SyncCode("zIZU"), version) {}

bool CHandheldDocument::ReadState() {
  refusal_.clear();
  const auto bytes = ReadAppInfoBlock();
  if (!bytes && lastError() != kSyncErrNotFound) return false;
  const auto parsed = bytes ? DocumentAppInfo::Parse(*bytes) : std::nullopt;
  if (parsed) {
    block_ = *parsed;
  } else {
    block_ = DocumentAppInfo::Defaults();
    block_.SetModified(true);
  }
  if (!KnownDocumentVersion(block_.version())) {
    refusal_ = "Unrecognized document version -- cannot synchronize with Scrivane.";
    return false;
  }
  category_ = 0;
  const auto first = ReadSmallRecord(0, 0);
  if (first) {
    category_ = first->category;
  } else if (lastError() != kSyncErrNotFound) {
    return false;
  }
  return true;
}

void CHandheldDocument::InitDefaults(uint8_t categoryId) {
  block_ = DocumentAppInfo::Defaults();
  category_ = categoryId & 0x0F;
}

bool CHandheldDocument::WriteAppInfo() {
  const auto& bytes = block_.bytes();
  return WriteAppInfoBlock(std::vector<uint8_t>(bytes.begin(), bytes.end()));
}

void CHandheldDocument::SetDocInfo(const DocumentInfo& info) {
  block_.SetFirstName(info.firstName);
  block_.SetSecondName(info.secondName);
  block_.SetWordA(info.wordA);
  block_.SetWordB(info.wordB);
}

void CHandheldDocument::CopyHeaderTo(CDocumentHeader& header) const {
  header.Reset();
  header.valid = true;
  header.modified = false;
  header.version = block_.version();
  header.linkMethod = block_.linkMethod();
  header.linkPath = block_.linkPath();
  header.linkDate = block_.linkDate();
  header.linkOption = block_.linkOption();
  header.serverSync = block_.serverSync();
}

void CHandheldDocument::CopyHeaderFrom(const CDocumentHeader& header) {
  if (!header.valid) return;
  block_.SetServerSync(header.serverSync);
  block_.SetLinkPath(header.linkPath);
  block_.SetLinkMethod(header.linkMethod);
  block_.SetLinkOption(header.linkOption);
  block_.SetLinkDate(header.linkDate);
}

std::optional<CHandheldDocument::SmallRecord> CHandheldDocument::ReadSmallRecord(uint16_t index,
                                                                                 uint32_t limit) {
  SmallRecord record;
  record.data.resize(limit);
  SyncRecord request{};
  request.handle = handle();
  request.index = index;
  request.buffer = record.data.data();
  request.bufferSize = limit;
  const int32_t rc = SyncReadRecordByIndex(&request);
  if (rc != kSyncErrBufferTooSmall && !Check(rc)) return std::nullopt;
  record.size = request.size;
  record.attributes = request.attributes;
  record.category = request.category;
  record.data.resize(rc == kSyncOk ? request.size : 0);
  return record;
}

CopyStep CHandheldDocument::DeviceFailure() {
  conduit::LogHotSync(ScrivaneProduct(),
                      std::string("Error encountered in ") + LogName() +
                          "->CopyDocument(). Error:" + std::to_string(lastError()));
  return CopyStep::DeviceFailed;
}

CopyStep CHandheldDocument::CopyDocument(CLocalDocument& target, std::string& problem) {
  const auto count = RecordCount();
  if (!count) return DeviceFailure();
  const auto first = ReadRecord(0);
  if (!first) {
    if (lastError() != kSyncErrNotFound) return DeviceFailure();
    problem = "it has no document header (record 0).";
    return CopyStep::Refused;
  }
  const auto header = TextHeader::Parse(first->data, *count, problem);
  if (!header) return CopyStep::Refused;
  const std::size_t textRecords = header->sizes.size();

  std::vector<Bookmark> bookmarks;
  for (uint32_t index = static_cast<uint32_t>(textRecords) + 1; index < *count; ++index) {
    const auto record = ReadSmallRecord(static_cast<uint16_t>(index), fmt::kBookmarkRecordSize);
    if (!record) return DeviceFailure();
    if (record->size == fmt::kBookmarkRecordSize && !(record->attributes & kSyncRecordDeleted)) {
      bookmarks.push_back(ParseBookmark(record->data));
    }
  }

  DocumentInfo info;
  info.version = block_.version();
  info.editable = header->editable;
  info.compression = header->compression;
  info.mode = header->mode;
  info.firstName = block_.firstName();
  info.secondName = block_.secondName();
  info.position = header->position;
  info.wordA = block_.wordA();
  info.wordB = block_.wordB();
  info.bookmarkCount = static_cast<uint32_t>(bookmarks.size());
  target.WriteDocInfo(info);
  for (const Bookmark& bookmark : bookmarks) target.WriteBookmark(bookmark);

  for (std::size_t i = 1; i <= textRecords; ++i) {
    const auto record = ReadRecord(static_cast<uint16_t>(i));
    if (!record) return DeviceFailure();
    if (header->compressed()) {
      const auto text = DecompressRecord(record->data);
      if (!text) {
        problem =
            "its text record " + std::to_string(i) + " does not expand to at most 3072 bytes.";
        return CopyStep::Refused;
      }
      target.WriteText(*text);
    } else {
      if (record->data.size() > fmt::kTextRecordSize) {
        problem = "its text record " + std::to_string(i) + " is " +
                  std::to_string(record->data.size()) + " bytes long, more than 3072.";
        return CopyStep::Refused;
      }
      target.WriteText(record->data);
    }
  }
  return CopyStep::Done;
}

bool CHandheldDocument::WriteRecordData(uint32_t id, std::span<const uint8_t> data) {
  SyncRecord request{};
  request.handle = handle();
  request.id = id;
  request.category = category_;
  request.buffer = const_cast<uint8_t*>(data.data());  // read only: a write takes its data from it
  request.bufferSize = static_cast<uint32_t>(data.size());
  if (!Check(SyncWriteRec(&request))) return false;
  lastRecordId_ = request.id;
  return true;
}

bool CHandheldDocument::WriteDocumentRecord(std::span<const uint8_t> data) {
  return WriteRecordData(0, data);
}

bool CHandheldDocument::RewriteDocumentRecord(uint32_t id, std::span<const uint8_t> data) {
  return id != 0 && WriteRecordData(id, data);
}

}  // namespace brevora::scriv
