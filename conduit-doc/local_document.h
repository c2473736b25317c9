#pragma once
// CLocalDocument: a desktop document file (.scv) as the conduit copies it,
// over the framework's desktop file base.
//
// To the handheld: OpenPath (CLocalFile) loads the file whole (at most 64 MiB;
// a file that can't be opened is logged "Could not open <path>...skipping.\n"
// with activity 21), ReadDocument reads it (scv_reader.h), WriteToDevice writes it
// into an open, empty handheld document: the names and words into the block,
// record 0, the text records (the text as the handheld holds it,
// html_records.h; compressed when the document says so), the image records
// (CLocalDocumentEx) and the bookmark records, every record in the document's
// category.
//
// From the handheld: CopyDocument (handheld_document.h) calls WriteHeader,
// WriteDocInfo, WriteBookmark and WriteText in the file's order; Bytes() is the
// file then, which the caller puts in place.
//
// CLocalDocumentEx also stores the pictures the text refers to ("<img" tags):
// from the folder "scriv_temp" of the user folder (the folder two above the
// file), loaded, halved and stored after the text records with an image list
// record before them (image_capture.h). A reference that could reach outside
// that folder, a picture that can't be loaded and a picture too large for its
// records are left out; so are the pictures after the 255th.
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "conduit-doc/document_info.h"
#include "conduit-doc/handheld_document.h"
#include "conduit-doc/scv_format.h"
#include "conduit-doc/scv_reader.h"
#include "conduit-doc/scv_writer.h"
#include "conduit-framework/local_file.h"
#include "conduit-framework/product.h"

namespace brevora::scriv {

class CLocalDocument : public conduit::CLocalFile {
 public:
  CLocalDocument() : conduit::CLocalFile(scriv_format::kMaxDesktopFile) {}
  virtual ~CLocalDocument() = default;

  // Lines 1 to 8 of the loaded file; nullopt with `problem` when they can't be read.
  std::optional<ScvHeader> ReadHeader(std::string& problem) const;
  // Reads the whole loaded file and makes its text records; false with
  // `problem` when it is refused (also when it needs more records than a
  // handheld database holds).
  bool ReadDocument(std::string& problem);
  // The document ReadDocument read.
  const ScvDocument& document() const { return *document_; }

  // Writes the document ReadDocument read into `db`: Done, or DeviceFailed.
  conduit::CopyStep WriteToDevice(CHandheldDocument& db);

  void WriteHeader(const CDocumentHeader& header) { writer_.WriteHeader(header); }
  void WriteDocInfo(const DocumentInfo& info) { writer_.WriteDocInfo(info); }
  void WriteBookmark(const Bookmark& bookmark) { writer_.WriteBookmark(bookmark); }
  void WriteText(std::span<const uint8_t> text) { writer_.WriteText(text); }
  const std::string& Bytes() { return writer_.Bytes(); }

 protected:
  // The records between the text and the bookmarks, at most `room` of them
  // besides the image list record: none.
  virtual conduit::CopyStep WriteImages(CHandheldDocument& db, std::string_view deviceText,
                                        std::size_t room);

 private:
  bool WriteDeviceRecord(CHandheldDocument& db, std::string_view piece, bool compressed);
  std::optional<ScvDocument> document_;
  std::string deviceText_;                // the text as the handheld holds it
  std::vector<std::string_view> pieces_;  // its text records
  ScvWriter writer_;
  std::vector<uint8_t> compressed_;  // the buffer records are compressed into
};

class CLocalDocumentEx : public CLocalDocument {
 public:
  // The folder the pictures of the file `path` are taken from.
  static std::string ImageFolder(const std::string& path);

 protected:
  conduit::CopyStep WriteImages(CHandheldDocument& db, std::string_view deviceText,
                                std::size_t room) override;
};

}  // namespace brevora::scriv
