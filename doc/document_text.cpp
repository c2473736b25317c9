// Plain text, HTML and e-text files. Plain text and e-texts are taken as text
// (markup characters escaped, so none is lost); HTML keeps its markup.
#include "doc/document_storage.h"

#include "doc/etext_reader.h"
#include "doc/line_cursor.h"
#include "doc/scv_writer.h"
#include "platform/error/error.h"
#include "platform/fs/files.h"

namespace brevora::doc {

namespace {

bool IsEText(std::string_view bytes) {
  const auto first = LineCursor(bytes).Next();
  return first && first->find("Gutenberg") != std::string_view::npos;
}

void ReadETextBlocks(std::string_view bytes, DocumentModel& model) {
  try {
    model.SetBlocks(ETextReader(bytes).ReadBlocks());
  } catch (...) {
    throw Wrap32760(CurrentError(), "Document.ReadDocument", "Could not read document.");
  }
}

}  // namespace

std::string ReadDocumentTextFile(std::string_view file) {
  const std::vector<uint8_t> bytes = fs::ReadWholeFile(file);
  return std::string(bytes.begin(), bytes.end());
}

void ReadDocumentPlainText(std::string_view bytes, DocumentModel& model) {
  if (IsEText(bytes)) {
    ReadETextBlocks(bytes, model);
  } else {
    ReadDocumentBody(bytes, true, model);
  }
}

void ReadDocumentHtml(std::string_view bytes, DocumentModel& model) {
  ReadDocumentBody(bytes, false, model);
}

void WriteDocumentTextFile(const DocumentModel& model, std::string_view file) {
  ScvWriter writer;
  if (model.blocks) writer.WriteText(model.blocks->Texts());
  fs::AtomicWrite(file, writer.Bytes());
}

}  // namespace brevora::doc
