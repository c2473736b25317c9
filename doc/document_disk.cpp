// The desktop document file (.scv). Layout in doc/scv_format.h; the header is
// read by ScvHeaderReader and written by ScvWriter. Files are read whole and
// written whole, through a temporary file renamed over the target.
#include "doc/document_storage.h"

#include "core/text_cleanup.h"
#include "doc/body_reader.h"
#include "doc/markup.h"
#include "doc/scv_reader.h"
#include "doc/scv_writer.h"
#include "platform/error/error.h"
#include "platform/fs/files.h"

namespace brevora::doc {

namespace {

// OpenRead: the whole file.
std::string OpenRead(std::string_view path) {
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
    throw Wrap32760(CurrentError(), "Document.ReadHeader",
                    "This Document is corrupt or is not a Scrivane file.  ");
  }
}

void WriteHeader(ScvWriter& writer, const DocumentModel& model) {
  try {
    writer.WriteHeader(model.header, model.isModified);
  } catch (...) {
    throw Wrap32760(CurrentError(), "Document.WriteHeader", "Could not write header.");
  }
}

// WriteDocument: the whole file, through a temporary file renamed over `path`.
void WriteDocumentBytes(std::string_view path, std::string_view bytes) {
  try {
    fs::AtomicWrite(path, bytes);
  } catch (...) {
    throw Wrap32760(CurrentError(), "Document.WriteDocument", "Could not write document.");
  }
}

}  // namespace

DocumentFileBytes ReadDocumentFileHeader(std::string_view file, DocumentModel& model) {
  DocumentFileBytes read{OpenRead(file), 0};
  const ScvHeader header = ReadHeader(read.bytes, model.header);
  model.header = header.header;
  model.isModified = header.modified;
  read.textPosition = header.bodyPosition;
  return read;
}

void ReadDocumentBody(std::string_view body, bool asHtmlBreaks, DocumentModel& model) {
  std::vector<std::string> blocks = BodyReader(body, asHtmlBreaks).ReadBlocks();
  if (!blocks.empty() && model.header.DocName.empty()) {
    const std::string_view head = std::string_view(blocks.front()).substr(0, kMaxNameLength);
    model.header.DocName = markup::StripTags(core::Trim(markup::FirstTextLine(head)));
  }
  model.SetBlocks(std::move(blocks));
}

void ReadDocumentFileText(const DocumentFileBytes& file, DocumentModel& model) {
  ReadDocumentBody(std::string_view(file.bytes).substr(file.textPosition), false, model);
}

void WriteDocumentFile(const DocumentModel& model, std::string_view file) {
  ScvWriter writer;
  WriteHeader(writer, model);
  if (model.blocks) writer.WriteText(model.blocks->Texts());
  WriteDocumentBytes(file, writer.Bytes());
}

void RewriteDocumentFileHeader(const DocumentModel& model, std::string_view source,
                               std::string_view file) {
  try {
    const std::string old = OpenRead(source);
    const ScvHeader oldHeader = ReadHeader(old, model.header);
    ScvWriter writer;
    WriteHeader(writer, model);
    writer.CopyLines(std::string_view(old).substr(oldHeader.bodyPosition));
    WriteDocumentBytes(file, writer.Bytes());
  } catch (...) {
    throw Wrap32760(CurrentError(), "Document.UpdateHeader", "Could not update header.");
  }
}

}  // namespace brevora::doc
