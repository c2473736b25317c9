// Document: the desktop document file (.scv). Layout in doc/scv_format.h; the
// header is read by ScvHeaderReader and written by ScvWriter. Files are read
// whole and written whole, through a temporary file renamed over the target.
#include "core/module_error.h"
#include "doc/document.h"

#include "core/text_cleanup.h"
#include "doc/body_reader.h"
#include "doc/document_errors.h"
#include "doc/markup.h"
#include "doc/scv_reader.h"
#include "doc/scv_writer.h"
#include "platform/fs/files.h"

namespace brevora::doc {

namespace {

constexpr const char* kSupportAddress = "support@orvanex.com";

// OpenRead: the whole file.
std::string ReadDocumentFile(const std::string& path) {
  try {
    const std::vector<uint8_t> bytes = fs::ReadWholeFile(path);
    return std::string(bytes.begin(), bytes.end());
  } catch (...) {
    throw Wrap32760(CurrentError(), "Document.OpenRead", "Could not open for read.");
  }
}

ScvHeader ReadHeader(std::string_view file, const DocumentHeader& initial) {
  try {
    return ScvHeaderReader(file).Read(initial);
  } catch (...) {
    throw Wrap32760(CurrentError(), "Document.ReadHeader", "This Document is corrupt or is not a Scrivane file.  ");
  }
}

void WriteDocumentFile(const std::string& path, std::string_view bytes) {
  try {
    fs::AtomicWrite(path, bytes);
  } catch (...) {
    throw Wrap32760(CurrentError(), "Document.WriteDocument", "Could not write document.");
  }
}

}  // namespace

bool Document::OpenFromDisk(std::string_view file, bool readDocument, bool updateFromLink) {
  try {
    ResetDocument();
    if (!file.empty()) fullPath_ = file;
    std::string bytes = ReadDocumentFile(fullPath_);
    ScvHeader read = ReadHeader(bytes, header_);
    header_ = read.header;
    isModified_ = read.modified;
    if (updateFromLink && CheckLinkUpdate(true)) {  // the linked file was converted into this one
      bytes = ReadDocumentFile(fullPath_);
      read = ReadHeader(bytes, header_);
      header_ = read.header;
      isModified_ = read.modified;
    }
    SetLinkInfo(DocumentHeader(header_));
    if (readDocument) {
      headerOnly_ = false;
      ReadBody(std::string_view(bytes).substr(read.bodyPosition), false);
    } else {
      headerOnly_ = true;
      headerOnlySource_ = fullPath_;
    }
    return true;
  } catch (...) {
    throw WrapAlways(CurrentError(), "Document.OpenFromDisk",
                     "Could not open Document '" + fullPath_ + "'." + kCrLf +
                         "Possible corruption in document.  Please send this document to " + kSupportAddress +
                         " for evaluation." + kCrLf + "Error reported was:");
  }
}

void Document::ReadBody(std::string_view body, bool asHtmlBreaks) {
  std::vector<std::string> blocks = BodyReader(body, asHtmlBreaks).ReadBlocks();
  if (!blocks.empty() && header_.DocName.empty()) {
    const std::string_view head = std::string_view(blocks.front()).substr(0, kMaxNameLength);
    header_.DocName = markup::StripTags(core::Trim(markup::FirstTextLine(head)));
  }
  SetBlocks(std::move(blocks));
}

bool Document::InitFromSCV(std::string_view file) {
  const std::string path(file);
  try {
    ResetDocument();
    fullPath_ = path;
    const std::string bytes = ReadDocumentFile(fullPath_);
    const ScvHeader read = ReadHeader(bytes, header_);
    header_ = read.header;
    isModified_ = read.modified;
    SetLinkInfo(DocumentHeader(header_));
    CloseDocument();
    isModified_ = true;
    fullPath_.clear();  // the new document is unnamed
    return true;
  } catch (...) {
    throw Wrap32760(CurrentError(), "Document.InitFromSCV", "Could not open Document '" + path + "'.");
  }
}

std::string Document::DocumentText() const {
  ScvWriter writer;
  if (blocks_) writer.WriteText(blocks_->Texts());
  return writer.Bytes();
}

void Document::WriteToDisk(std::string_view file, bool updateLink) {
  try {
    if (!file.empty()) fullPath_ = file;
    if (fullPath_.empty()) core::RaiseModuleError(kNotNamedError, kNotNamedText);
    if (headerOnly_) {
      UpdateHeader();
      return;
    }
    const auto writeFile = [this] {
      ScvWriter writer;
      try {
        writer.WriteHeader(header_, isModified_);
      } catch (...) {
        throw Wrap32760(CurrentError(), "Document.WriteHeader", "Could not write header.");
      }
      if (blocks_) writer.WriteText(blocks_->Texts());
      WriteDocumentFile(fullPath_, writer.Bytes());
    };
    writeFile();
    // After a push to the linked file the link time is renewed: it goes into
    // the file as well, or the next open would take the file as newer.
    if (updateLink && CheckLinkUpdate(false)) writeFile();
  } catch (...) {
    throw WrapAlways(CurrentError(), "Document.WriteToDisk", "Could not save Document '" + fullPath_ + "'.");
  }
}

void Document::UpdateHeader() {
  try {
    // The text comes from the file the header was read from, also when the
    // document is saved under another name.
    const std::string source = headerOnlySource_.empty() ? fullPath_ : headerOnlySource_;
    const std::string old = ReadDocumentFile(source);
    const ScvHeader oldHeader = ReadHeader(old, header_);
    ScvWriter writer;
    try {
      writer.WriteHeader(header_, isModified_);
    } catch (...) {
      throw Wrap32760(CurrentError(), "Document.WriteHeader", "Could not write header.");
    }
    writer.CopyLines(std::string_view(old).substr(oldHeader.bodyPosition));
    WriteDocumentFile(fullPath_, writer.Bytes());
    headerOnlySource_ = fullPath_;
  } catch (...) {
    throw Wrap32760(CurrentError(), "Document.UpdateHeader", "Could not update header.");
  }
}

}  // namespace brevora::doc
