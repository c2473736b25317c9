#include "doc/sdk_document.h"

#include "core/application.h"
#include "core/file_mode.h"
#include "core/session.h"
#include "doc/document.h"
#include "doc/word_application.h"
#include "doc/word_session.h"
#include "platform/automation/call_by_name.h"
#include "platform/automation/class_registry.h"
#include "platform/error/error.h"
#include "platform/fs/file_error.h"
#include "platform/fs/files.h"
#include "platform/fs/paths.h"
#include "platform/fs/temp_folder.h"

namespace brevora::doc {

namespace {

const ClassRegistration registration(SDK_Document::kProgId, SDK_Document::kClsid,
                                     [] { return Ref<Dispatch>(MakeRef<SDK_Document>()); });

// A handheld document name holds at most 31 characters; the add-in takes it
// from the .doc file's name.
constexpr size_t kLongNameLength = 32;
constexpr size_t kShortNameLength = 31;

std::string Stem(std::string_view path) { return fs::StripExtension(fs::FileNamePart(path)); }

}  // namespace

SDK_Document::SDK_Document() = default;
SDK_Document::~SDK_Document() = default;

void SDK_Document::SetSession(Ref<core::Session> session) {
  if (!session) RaiseRuntimeError(91);
  HoldSession(std::move(session));
}

Ref<Document> SDK_Document::NewDocument() {
  Ref<Document> document = MakeRef<Document>();
  document->SetSession(Ref<core::Session>(&OperationSession()));
  return document;
}

void SDK_Document::SetParameters(std::string_view p1, std::string_view p2, std::string_view p3) {
  core::Session& session = OperationSession();
  session.SetParameter1(Variant(p1));
  session.SetParameter2(Variant(p2));
  session.SetParameter3(Variant(p3));
}

void SDK_Document::ConvertThroughWord(std::string_view macro, std::string_view p1,
                                      std::string_view p2, std::string_view p3) {
  core::Session& session = OperationSession();
  WordObject word = session.IsServerMode() ? WordFromPool() : GetWordObject();
  OpenAddIn(*word.app);
  SetParameters(p1, p2, p3);
  RunWordMacro(*word.app, session, macro);
  // Handed back by where Word came from; on a failure the holder does it on
  // the way out (a pool entry released, a Word we started quit).
  word.holder.Release();
}

// ---- Word for the user --------------------------------------------------------------

void SDK_Document::OpenDOCDocument(std::string_view file) {
  RunWrapped("SDK_Document.OpenDOCDocument", "Could not open DOC document.", [&] {
    WordObject word = GetWordObject();
    OpenAddIn(*word.app);
    const Variant documents = CallByName(word.app, "Documents", CallKind::Get);
    CallByName(ObjectOf(documents), "Open", CallKind::Method, file);
    CallByName(word.app, "Visible", CallKind::Let, true);
    word.holder.LeaveRunning();
  });
}

void SDK_Document::OpenDocument(std::string_view user, std::string_view category,
                                std::string_view document) {
  RunWrapped("SDK_Document.OpenDocument", "Could not open document.", [&] {
    WordObject word = GetWordObject();
    OpenAddIn(*word.app);
    SetParameters(user, category, document);
    RunWordMacro(*word.app, OperationSession(), "OpenDocument");
    CallByName(word.app, "Visible", CallKind::Let, true);
    word.holder.LeaveRunning();
  });
}

void SDK_Document::SaveDocument(std::string_view user, std::string_view category,
                                std::string_view document) {
  RunWrapped("SDK_Document.SaveDocument", "Could not save document.", [&] {
    WordObject word = GetWordObject();
    OpenAddIn(*word.app);
    SetParameters(user, category, document);
    RunWordMacro(*word.app, OperationSession(), "SaveDocument");
    word.holder.LeaveRunning();
  });
}

void SDK_Document::RemoveFromUser(std::string_view user, std::string_view category,
                                  std::string_view document) {
  RunWrapped("SDK_Document.RemoveFromUser", "Could not remove from user.", [&] {
    // Names come from callers outside: they must stay inside the category folder.
    if (!fs::IsPlainName(category) || !fs::IsPlainName(document))
      fs::RaiseFileError(fs::kBadFileName);
    // Documents: so that the path ends in ".scv", whatever mode the Session was in.
    App().SetFileMode(core::kScrivaneMode);
    App().SetCurrentUser(user);
    const auto mode = static_cast<int16_t>(OperationSession().FileMode());
    const std::string path = App().HomeDirectory() + std::string(category) + "\\" +
                             core::AddFileModeExtension(document, mode);
    RemoveStoredFile(path);
    Refresh();
  });
}

// ---- Conversions through Word -------------------------------------------------------

void SDK_Document::DOCToSCVExt(std::string_view doc, std::string_view scv) {
  DOCToSCVExtSync(doc, scv, "");
}

void SDK_Document::SCVToDOCExt(std::string_view scv, std::string_view doc) {
  SCVToDOCExtSync(scv, doc, "");
}

void SDK_Document::DOCToSCVExtSync(std::string_view doc, std::string_view scv,
                                   std::string_view link) {
  RunWrapped("SDK_Document.DOCToSCVExt_Sync", "Error converting from DOC to SCV.",
             [&] { ConvertThroughWord("DOCToSCVExt", doc, scv, link); });
}

void SDK_Document::SCVToDOCExtSync(std::string_view scv, std::string_view doc,
                                   std::string_view options) {
  RunWrapped("SDK_Document.SCVToDOCExt_Sync", "Error converting from SCV to DOC.",
             [&] { ConvertThroughWord("SCVToDOCExt", scv, doc, options); });
}

void SDK_Document::DOCToSCV(std::string_view doc, std::string_view user, std::string_view category,
                            std::string_view document) {
  RunWrapped("SDK_Document.DOCToSCV", "Error converting from DOC to SCV.", [&] {
    App().SetCurrentUser(user);
    ConvertThroughWord("DOCToSCV", doc, category, document);
  });
}

void SDK_Document::SCVToDOC(std::string_view user, std::string_view category,
                            std::string_view document, std::string_view doc) {
  RunWrapped("SDK_Document.SCVToDOC", "Error converting from SCV To DOC.", [&] {
    App().SetCurrentUser(user);
    ConvertThroughWord("SCVToDOC", doc, category, document);
  });
}

// ---- Handheld databases ---------------------------------------------------------------

void SDK_Document::PDBToDOC(std::string_view pdbFile, std::string_view docFile) {
  RunWrapped("SDK_Document.PDBToDOC", "Error converting from PDB To DOC.", [&] {
    Ref<Document> document = NewDocument();
    const fs::TempFolder work({.prefix = "DOC"});
    const std::string stem = Stem(docFile);
    const std::string target = stem.size() >= kLongNameLength
                                   ? work.Path() + stem.substr(0, kShortNameLength) + ".doc"
                                   : std::string(docFile);
    const std::string scv = work.Path() + Stem(target) + ".scv";
    if (document->OpenFromPDB(pdbFile)) document->WriteToDisk(scv);
    SCVToDOCExt(scv, target);
    // The old .doc is replaced only by a complete copy of the new one.
    if (target != docFile) fs::CopyFile(target, docFile, true);
  });
}

void SDK_Document::DOCToPDB(std::string_view docFile, std::string_view pdbFile) {
  RunWrapped("SDK_Document.DOCToPDB", "Error converting from DOC to PDB.", [&] {
    Ref<Document> document = NewDocument();
    const fs::TempFolder work({.prefix = "DOC"});
    const std::string stem = Stem(docFile);
    std::string source(docFile);
    if (stem.size() >= kLongNameLength) {
      source = work.Path() + stem.substr(0, kShortNameLength) + ".doc";
      fs::CopyFile(docFile, source, false);
    }
    const std::string scv = work.Path() + Stem(source) + ".scv";
    DOCToSCVExt(source, scv);
    if (document->OpenFromDisk(scv, true)) document->WriteToPDB(pdbFile);
  });
}

void SDK_Document::SCVToPDB(std::string_view user, std::string_view category, std::string_view name,
                            std::string_view pdbFile) {
  RunWrapped("SDK_Document.SCVToPDB", "Error converting from SCV To PDB.", [&] {
    Ref<Document> document = NewDocument();
    if (document->OpenFromUser(user, category, name)) document->WriteToPDB(pdbFile);
  });
}

void SDK_Document::PDBToSCV(std::string_view pdbFile, std::string_view user,
                            std::string_view category, std::string_view name) {
  RunWrapped("SDK_Document.PDBToSCV", "Error converting from PDB to SCV.", [&] {
    Ref<Document> document = NewDocument();
    if (document->OpenFromPDB(pdbFile)) document->WriteToUser(user, category, name);
  });
}

void SDK_Document::PDBToSCVExt(std::string_view pdbFile, std::string_view scvFile) {
  RunWrapped("SDK_Document.PDBToSCVExt", "Error converting from PDB to SCV.", [&] {
    Ref<Document> document = NewDocument();
    if (document->OpenFromPDB(pdbFile)) document->WriteToDisk(scvFile);
  });
}

void SDK_Document::SCVToPDBExt(std::string_view scvFile, std::string_view pdbFile) {
  RunWrapped("SDK_Document.SCVToPDBExt", "Error converting from SCV to PDB.", [&] {
    Ref<Document> document = NewDocument();
    if (document->OpenFromDisk(scvFile, true)) document->WriteToPDB(pdbFile);
  });
}

// ---- Refresh ----------------------------------------------------------------------------

int32_t SDK_Document::Refresh() {
  RefreshDesktop("SDK_Document.Refresh");
  return 0;
}

}  // namespace brevora::doc
