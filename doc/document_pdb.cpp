// Document: the suite's handheld document database and PalmDOC databases. The
// databases are built and read by DocDatabaseWriter/Reader and
// PalmDocWriter/Reader; here the document's fields go in and come out. Each
// reader hands the other kind of database to the other.
#include "core/handheld_database.h"
#include "doc/doc_db_reader.h"
#include "doc/doc_db_writer.h"
#include "doc/document.h"
#include "doc/document_errors.h"
#include "doc/handheld_format.h"
#include "doc/palmdoc_db_reader.h"
#include "doc/palmdoc_db_writer.h"

namespace brevora::doc {

namespace hf = handheld_format;

namespace {

constexpr const char* kUnrecognizedType = "Unrecognized PDB type.  Only PDB files in DOC format are supported.";

[[noreturn]] void RaiseTypeError(const char* source, std::string_view file) {
  RaiseError(kWrapError, source, "Could not open Document '" + std::string(file) + "'." + kCrLf + kUnrecognizedType);
}

}  // namespace

HandheldFields Document::FieldsForWriting(std::string databaseName) const {
  HandheldFields fields;
  fields.name = std::move(databaseName);
  fields.version = version_;
  fields.editable = header_.editable;
  fields.compression = header_.compression;
  fields.searchMode = header_.searchMode;
  fields.databaseValue = header_.databaseValue;
  fields.bookmarks = header_.StoredBookmarks();
  return fields;
}

void Document::ApplyHandheld(HandheldRead read) {
  header_.editable = read.fields.editable;
  header_.compression = read.fields.compression;
  header_.searchMode = read.fields.searchMode;
  header_.databaseValue = read.fields.databaseValue;
  header_.ReplaceBookmarks(read.fields.bookmarks);
  if (header_.DocName.empty()) header_.DocName = read.nameFromText;
  SetBlocks(std::move(read.blocks));
}

// ---- The suite's handheld document database ----

void Document::WriteToPDB(std::string_view file) {
  try {
    if (!blocks_) RaiseRuntimeError(91);
    const HandheldFields fields = FieldsForWriting(DocDatabaseWriter::DatabaseName(header_.DocName, file));
    const std::vector<std::string_view> texts = blocks_->Texts();
    DocDatabaseWriter(fields, texts).Write(file);
  } catch (...) {
    throw Wrap32760(CurrentError(), "Document.WriteToPDB", "Could not save document '" + fullPath_ + "'.");
  }
}

bool Document::OpenFromPDB(std::string_view file) {
  core::HandheldDatabase db;
  try {
    InitFromDefaults();
    db.ReadFile(file, true);
  } catch (...) {
    throw Wrap32760(CurrentError(), "Document.OpenFromPDB", "Unable to open from PDB.");
  }
  return ReadDocDatabase(db, file);
}

bool Document::ReadDocDatabase(const core::HandheldDatabase& db, std::string_view file) {
  if (db.Creator() == hf::kPalmDocCreator) return ReadPalmDocDatabase(db, file);
  try {
    if (db.Type() != hf::kDocType || db.Creator() != hf::kDocCreator) {
      RaiseTypeError("Document.OpenFromPDB", file);
    }
    ApplyHandheld(DocDatabaseReader(db).Read());
    return true;
  } catch (...) {
    throw Wrap32760(CurrentError(), "Document.OpenFromPDB", "Unable to open from PDB.");
  }
}

// ---- PalmDOC ----

void Document::WriteToDOCPDB(std::string_view file) {
  try {
    if (!blocks_) RaiseRuntimeError(91);
    const HandheldFields fields = FieldsForWriting(PalmDocWriter::DatabaseName(header_.DocName, file));
    const std::vector<std::string_view> texts = blocks_->Texts();
    PalmDocWriter(fields, texts).Write(file);
  } catch (...) {
    throw Wrap32760(CurrentError(), "Document.WriteToDOCPDB", "Could not save document '" + fullPath_ + "'.");
  }
}

bool Document::OpenFromDOCPDB(std::string_view file) {
  core::HandheldDatabase db;
  try {
    InitFromDefaults();
    db.ReadFile(file, true);
  } catch (...) {
    throw Wrap32760(CurrentError(), "Document.OpenFromDOCPDB", "Unable to open from DOC PDB.");
  }
  return ReadPalmDocDatabase(db, file);
}

bool Document::ReadPalmDocDatabase(const core::HandheldDatabase& db, std::string_view file) {
  if (db.Creator() == hf::kDocCreator) return ReadDocDatabase(db, file);
  try {
    if (db.Type() != hf::kPalmDocType || db.Creator() != hf::kPalmDocCreator) {
      RaiseTypeError("Document.OpenFromDOCPDB", file);
    }
    ApplyHandheld(PalmDocReader(db).Read());
    return true;
  } catch (...) {
    throw Wrap32760(CurrentError(), "Document.OpenFromDOCPDB", "Unable to open from DOC PDB.");
  }
}

}  // namespace brevora::doc
