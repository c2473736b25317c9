// The suite's handheld document database and PalmDOC databases. The databases
// are built and read by DocDatabaseWriter/Reader and PalmDocWriter/Reader; here
// the model's fields go in and come out. Each reader hands the other kind of
// database to the other.
#include "doc/document_storage.h"

#include "core/handheld_database.h"
#include "doc/doc_db_reader.h"
#include "doc/doc_db_writer.h"
#include "doc/document_errors.h"
#include "doc/handheld_document.h"
#include "doc/handheld_format.h"
#include "doc/palmdoc_db_reader.h"
#include "doc/palmdoc_db_writer.h"

namespace brevora::doc {

namespace hf = handheld_format;

namespace {

constexpr const char* kUnrecognizedType =
    "Unrecognized PDB type.  Only PDB files in DOC format are supported.";

[[noreturn]] void RaiseTypeError(const char* source, std::string_view file) {
  RaiseError(kWrapError, source,
             "Could not open Document '" + std::string(file) + "'." + kCrLf + kUnrecognizedType);
}

HandheldFields FieldsForWriting(const DocumentModel& model, std::string databaseName) {
  HandheldFields fields;
  fields.name = std::move(databaseName);
  fields.version = model.version;
  fields.editable = model.header.editable;
  fields.compression = model.header.compression;
  fields.searchMode = model.header.searchMode;
  fields.databaseValue = model.header.databaseValue;
  fields.bookmarks = model.header.StoredBookmarks();
  return fields;
}

void ApplyHandheld(HandheldRead read, DocumentModel& model) {
  model.header.editable = read.fields.editable;
  model.header.compression = read.fields.compression;
  model.header.searchMode = read.fields.searchMode;
  model.header.databaseValue = read.fields.databaseValue;
  model.header.ReplaceBookmarks(read.fields.bookmarks);
  if (model.header.DocName.empty()) model.header.DocName = read.nameFromText;
  model.SetBlocks(std::move(read.blocks));
}

}  // namespace

// ---- The suite's handheld document database ----

void WriteDocumentDatabase(const DocumentModel& model, std::string_view file) {
  if (!model.blocks) RaiseRuntimeError(91);
  const HandheldFields fields =
      FieldsForWriting(model, DocDatabaseWriter::DatabaseName(model.header.DocName, file));
  const std::vector<std::string_view> texts = model.blocks->Texts();
  DocDatabaseWriter(fields, texts).Write(file);
}

void ReadDocumentDatabase(const core::HandheldDatabase& db, std::string_view file,
                          DocumentModel& model) {
  if (db.Creator() == hf::kPalmDocCreator) return ReadPalmDocDatabase(db, file, model);
  try {
    if (db.Type() != hf::kDocType || db.Creator() != hf::kDocCreator) {
      RaiseTypeError("Document.OpenFromPDB", file);
    }
    ApplyHandheld(DocDatabaseReader(db).Read(), model);
  } catch (...) {
    throw Wrap32760(CurrentError(), "Document.OpenFromPDB", "Unable to open from PDB.");
  }
}

// ---- PalmDOC ----

void WritePalmDocDatabase(const DocumentModel& model, std::string_view file) {
  if (!model.blocks) RaiseRuntimeError(91);
  const HandheldFields fields =
      FieldsForWriting(model, PalmDocWriter::DatabaseName(model.header.DocName, file));
  const std::vector<std::string_view> texts = model.blocks->Texts();
  PalmDocWriter(fields, texts).Write(file);
}

void ReadPalmDocDatabase(const core::HandheldDatabase& db, std::string_view file,
                         DocumentModel& model) {
  if (db.Creator() == hf::kDocCreator) return ReadDocumentDatabase(db, file, model);
  try {
    if (db.Type() != hf::kPalmDocType || db.Creator() != hf::kPalmDocCreator) {
      RaiseTypeError("Document.OpenFromDOCPDB", file);
    }
    ApplyHandheld(PalmDocReader(db).Read(), model);
  } catch (...) {
    throw Wrap32760(CurrentError(), "Document.OpenFromDOCPDB", "Unable to open from DOC PDB.");
  }
}

}  // namespace brevora::doc
