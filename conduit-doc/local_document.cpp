#include "conduit-doc/local_document.h"

#include <algorithm>

#include "conduit-doc/html_records.h"
#include "conduit-doc/image_capture.h"
#include "conduit-doc/image_records.h"
#include "conduit-doc/image_tags.h"
#include "conduit-doc/record_codec.h"
#include "conduit-doc/scv_format.h"
#include "conduit-doc/text_header.h"
#include "platform/bytes/big_endian.h"
#include "platform/error/error.h"
#include "platform/fs/files.h"
#include "platform/fs/paths.h"
#include "platform/hotsync/database_format.h"

namespace brevora::scriv {
using conduit::CopyStep;
namespace {

namespace fmt = scriv_format;
constexpr std::size_t kMaxRecords = hotsync::database_format::kMaxRecords;

std::span<const uint8_t> AsBytes(std::string_view text) {
  return {reinterpret_cast<const uint8_t*>(text.data()), text.size()};
}

std::vector<uint8_t> BookmarkRecord(const Bookmark& bookmark) {
  std::vector<uint8_t> record(fmt::kBookmarkRecordSize);
  const std::size_t length = std::min(bookmark.name.size(), fmt::kBookmarkNameSize);
  std::copy_n(bookmark.name.begin(), length, record.begin());
  bytes::StoreBigEndian32(record.data() + fmt::kBookmarkOffsetOffset, bookmark.position);
  return record;
}

}  // namespace

std::optional<ScvHeader> CLocalDocument::ReadHeader(std::string& problem) const {
  return ScvReader(text()).ReadHeader(problem);
}

bool CLocalDocument::ReadDocument(std::string& problem) {
  ScvDefaults defaults;
  defaults.fileName = fs::FileNamePart(path());
  try {
    defaults.writable = !fs::IsReadOnly(path());
  } catch (const AutomationError&) {
    defaults.writable = true;
  }
  document_ = ScvReader(text()).Read(defaults, problem);
  if (!document_) return false;
  deviceText_ = DeviceText(document_->text);
  pieces_ = CutRecords(deviceText_);
  // Record 0, the text, the image list and the bookmarks; the pictures take what is left.
  const std::size_t records = 2 + pieces_.size() + document_->bookmarks.size();
  if (records > kMaxRecords) {
    problem =
        "it needs " + std::to_string(records) + " records, more than a handheld database holds.";
    document_.reset();
    return false;
  }
  return true;
}

bool CLocalDocument::WriteDeviceRecord(CHandheldDocument& db, std::string_view piece,
                                       bool compressed) {
  if (piece.size() > fmt::kTextRecordSize) return false;
  if (!compressed) return db.WriteDocumentRecord(AsBytes(piece));
  return db.WriteDocumentRecord(CompressRecord(AsBytes(piece), compressed_));
}

CopyStep CLocalDocument::WriteImages(CHandheldDocument&, std::string_view, std::size_t) {
  return CopyStep::Done;
}

CopyStep CLocalDocument::WriteToDevice(CHandheldDocument& db) {
  const ScvDocument& doc = *document_;
  db.SetDocInfo(doc.info);
  TextHeader header;
  header.editable = doc.info.editable;
  header.compression = doc.info.compression;
  header.mode = doc.info.mode;
  header.position = doc.info.position;
  header.textLength = static_cast<uint32_t>(deviceText_.size());
  header.sizes.reserve(pieces_.size());
  for (std::string_view piece : pieces_)
    header.sizes.push_back(static_cast<uint16_t>(piece.size()));
  if (!db.WriteDocumentRecord(header.Bytes())) return CopyStep::DeviceFailed;
  for (std::string_view piece : pieces_) {
    if (!WriteDeviceRecord(db, piece, header.compressed())) return CopyStep::DeviceFailed;
  }
  const std::size_t room = kMaxRecords - (2 + pieces_.size() + doc.bookmarks.size());
  if (const CopyStep images = WriteImages(db, deviceText_, room); images != CopyStep::Done)
    return images;
  for (const Bookmark& bookmark : doc.bookmarks) {
    if (!db.WriteDocumentRecord(BookmarkRecord(bookmark))) return CopyStep::DeviceFailed;
  }
  return CopyStep::Done;
}

std::string CLocalDocumentEx::ImageFolder(const std::string& path) {
  std::string folder = fs::FolderPart(path);  // the category's folder
  while (!folder.empty() && fs::IsSeparator(folder.back())) folder.pop_back();
  folder = fs::FolderPart(folder);  // the user folder
  return fs::JoinPath(folder, "scriv_temp");
}

CopyStep CLocalDocumentEx::WriteImages(CHandheldDocument& db, std::string_view deviceText,
                                       std::size_t room) {
  if (!db.WriteDocumentRecord(ImageListRecord(0))) return CopyStep::DeviceFailed;
  const uint32_t listId = db.lastRecordId();
  const std::vector<std::string> references = FindImageTags(deviceText);
  if (references.empty()) return CopyStep::Done;

  std::size_t pictures = 0;
  const ImageObject images = CreateImageObject();
  const std::string folder = ImageFolder(path());
  for (const std::string& reference : references) {
    if (pictures == fmt::kMaxPictures) break;
    const auto picture = PicturePath(folder, reference);
    if (!picture) continue;
    const auto bits = CaptureImageBits(images, *picture);
    if (!bits) continue;
    const auto records = ImageDataRecords(PictureName(reference), *bits);
    if (records.empty() || records.size() > room) continue;
    for (const auto& record : records) {
      if (!db.WriteDocumentRecord(record)) return CopyStep::DeviceFailed;
    }
    room -= records.size();
    ++pictures;
  }
  if (pictures > 0 && !db.RewriteDocumentRecord(listId, ImageListRecord(pictures)))
    return CopyStep::DeviceFailed;
  return CopyStep::Done;
}

}  // namespace brevora::scriv
