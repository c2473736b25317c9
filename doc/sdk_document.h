#pragma once
// SDK_Document ("TabulynPC.SDK_Document"): the document converter. It converts
// between .doc files and desktop document files (.scv) by driving Word and the
// suite's Word add-in, whose macros do the conversion (doc/word_application.h,
// doc/word_session.h), and between desktop document files and handheld
// document databases in process, through Document.
//
// The document conduit creates it by ProgID and calls DOCToSCVExt_Sync,
// SCVToDOCExt_Sync (three strings each) and Refresh late-bound; a linked
// document's link step and Document.OpenFromDOC / WriteToDOC use it natively.
//
// Word is taken per call: from the server pool in server mode, else a running
// Word or a new one. At the end of a conversion it is handed back by where it
// came from, on every path: released to the pool, quit when the call started
// it, left running when it was running already. The members that open a
// document for the user (OpenDOCDocument, OpenDocument, SaveDocument) leave
// Word running when they succeed.
//
// Every Session value it reads or writes goes through its application object's
// Session (the application object is made on first need when none was set).
// Failures are raised as 32760 with source "SDK_Document.<member>" and the
// member's message, CR LF and the inner description; an error already numbered
// 32760 (Word's version check, the missing add-in, an add-in error numbered
// 32760) passes on unchanged.
#include <cstdint>
#include <string>
#include <string_view>

#include "office/converter.h"
#include "platform/automation/member_table.h"

namespace brevora::core {
class Session;
class Application;
}  // namespace brevora::core

namespace brevora::doc {

class Document;

class SDK_Document : public Dispatchable<SDK_Document, office::Converter> {
 public:
  static constexpr const char* kProgId = "TabulynPC.SDK_Document";
  static constexpr const char* kClsid = "{7D41B2E0-5C3A-4F18-9E62-0A8B4D6C2F03}";

  static const MemberTable<SDK_Document>& Members();

  SDK_Document();
  ~SDK_Document() override;

  // Stores the Session and takes the application object it hands out; 91 for none.
  void SetSession(Ref<core::Session> session);

  // ---- Word for the user ----
  // Opens `file` in Word (with the add-in loaded) and shows Word.
  void OpenDOCDocument(std::string_view file);
  // The add-in's "OpenDocument" on a document of the user store; shows Word.
  void OpenDocument(std::string_view user, std::string_view category, std::string_view document);
  // The add-in's "SaveDocument" into the user store.
  void SaveDocument(std::string_view user, std::string_view category, std::string_view document);
  // Deletes <home>/<category>/<document>.scv of the user (file mode 1) when it
  // exists, then refreshes the desktop windows. Category and document must be
  // plain names (no separator, not "..").
  void RemoveFromUser(std::string_view user, std::string_view category, std::string_view document);

  // ---- Conversions through Word ----
  void DOCToSCVExt(std::string_view doc, std::string_view scv);
  void SCVToDOCExt(std::string_view scv, std::string_view doc);
  // The conduit's entries: macro "DOCToSCVExt" with (doc, scv, link), macro
  // "SCVToDOCExt" with (scv, doc, options), handed to the add-in as Parameter1-3.
  void DOCToSCVExtSync(std::string_view doc, std::string_view scv, std::string_view link);
  void SCVToDOCExtSync(std::string_view scv, std::string_view doc, std::string_view options);
  // With the user made current first: macro "DOCToSCV" / "SCVToDOC" with
  // (doc, category, document).
  void DOCToSCV(std::string_view doc, std::string_view user, std::string_view category,
                std::string_view document);
  void SCVToDOC(std::string_view user, std::string_view category, std::string_view document,
                std::string_view doc);

  // ---- Handheld databases ----
  // Through a desktop file in a temporary work folder; a .doc name of 32 or
  // more characters is worked on as a copy named by its first 31 characters.
  // The target .doc is replaced only once the conversion has produced it.
  void PDBToDOC(std::string_view pdbFile, std::string_view docFile);
  void DOCToPDB(std::string_view docFile, std::string_view pdbFile);
  // In process, through Document; a reading step that returns false writes nothing.
  void SCVToPDB(std::string_view user, std::string_view category, std::string_view document,
                std::string_view pdbFile);
  void PDBToSCV(std::string_view pdbFile, std::string_view user, std::string_view category,
                std::string_view document);
  void PDBToSCVExt(std::string_view pdbFile, std::string_view scvFile);
  void SCVToPDBExt(std::string_view scvFile, std::string_view pdbFile);

  // Calls Refresh1 on every open desktop window (office/desktop_windows.h); 0.
  int32_t Refresh();

 private:
  Ref<Document> NewDocument();
  void SetParameters(std::string_view p1, std::string_view p2, std::string_view p3);
  // The conversion through Word: Word, the add-in, the three parameters, the
  // macro, Word handed back.
  void ConvertThroughWord(std::string_view macro, std::string_view p1, std::string_view p2,
                          std::string_view p3);
};

}  // namespace brevora::doc
