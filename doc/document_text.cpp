// Document: plain text, HTML and e-text files. Plain text and e-texts are taken
// as text (markup characters escaped, so none is lost); HTML keeps its markup.
#include "core/module_error.h"
#include "doc/document.h"
#include "doc/document_errors.h"
#include "doc/etext_reader.h"
#include "doc/line_cursor.h"
#include "doc/markup.h"
#include "platform/fs/files.h"

namespace brevora::doc {

namespace {

std::string ReadTextFile(std::string_view path) {
  const std::vector<uint8_t> bytes = fs::ReadWholeFile(path);
  return std::string(bytes.begin(), bytes.end());
}

bool IsEText(std::string_view bytes) {
  const auto first = LineCursor(bytes).Next();
  return first && first->find("Gutenberg") != std::string_view::npos;
}

std::string OpenMessage(std::string_view file) { return "Could not open Document '" + std::string(file) + "'."; }

}  // namespace

bool Document::OpenFromTextFile(std::string_view file) {
  const std::string path(file);
  try {
    const std::string bytes = ReadTextFile(path);
    InitFromDefaults();
    if (!path.empty()) fullPath_ = path;
    headerOnly_ = false;
    if (IsEText(bytes)) {
      OpenETextFile(bytes);
    } else {
      ReadBody(bytes, true);
    }
    return true;
  } catch (...) {
    throw Wrap32760(CurrentError(), "Document.OpenFromTextFile", OpenMessage(path));
  }
}

void Document::OpenETextFile(std::string_view bytes) {
  try {
    SetBlocks(ETextReader(bytes).ReadBlocks());
  } catch (...) {
    throw Wrap32760(CurrentError(), "Document.ReadDocument", "Could not read document.");
  }
}

bool Document::OpenFromHTMLFile(std::string_view file) {
  const std::string path(file);
  try {
    const std::string bytes = ReadTextFile(path);
    InitFromDefaults();
    if (!path.empty()) fullPath_ = path;
    headerOnly_ = false;
    ReadBody(bytes, false);
    return true;
  } catch (...) {
    throw Wrap32760(CurrentError(), "Document.OpenFromHTMLFile", OpenMessage(path));
  }
}

void Document::WriteToTextFile(std::string_view file) {
  try {
    if (!file.empty()) fullPath_ = file;
    if (fullPath_.empty()) core::RaiseModuleError(kNotNamedError, kNotNamedText);
    fs::AtomicWrite(fullPath_, DocumentText());
  } catch (...) {
    throw Wrap32760(CurrentError(), "Document.WriteToTextFile", "Could not save Document '" + fullPath_ + "'.");
  }
}

std::string Document::AddEscapeCodes(std::string& input) {
  input = markup::AddEscapeCodes(input);
  return input;
}

}  // namespace brevora::doc
