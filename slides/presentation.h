#pragma once
// Presentation ("TabulynPC.Presentation"): a presentation for the handheld
// viewer, a sequence of slides stored as one handheld database file (FullPath;
// layout in slides/presentation_format.h). While it is open its pictures are
// unpacked into an image folder beside the file (getImageDirectory), which
// lives only as long as the object: it is cleaned when the presentation is
// closed, opened from a user's folder, or destroyed. Only files inside that
// folder are ever deleted; pictures a caller named elsewhere are left alone.
//
// It is the automation face over PresentationModel (slides/presentation_model.h)
// and the storage functions (slides/presentation_storage.h): the properties
// delegate to the model; the object itself keeps the binding (FullPath, the
// image folder it unpacked into) and its collaborators (Session, application
// object, link step), and wraps the storage calls in them.
//
// Storage (presentation.cpp): WriteToDisk builds the whole database and
// replaces the file through a temporary file; OpenFromDisk reads it: the name,
// modified flag, reserved field and link from its header, the slides (with
// outlines and notes), slide count and name from its records, and unpacks the
// pictures (with the read-slides flag False it reads the header alone: no
// record data, no picture, no image folder); UpdateHeader rewrites only the
// application-info block; createImages unpacks the pictures again. Failures of
// OpenFromDisk, WriteToDisk and UpdateHeader are raised as 32760 with the
// operation's source and message and the inner description on the next line,
// whatever the inner error; createImages raises its errors unwrapped.
//
// The link to a PowerPoint file is part of the model (four properties here);
// the link step itself is reached through PresentationLinkStep: a new
// presentation has the PowerPoint one (slides/ppt_link.h), which the tests
// replace through PresentationInternal (slides/presentation_internal.h). After
// a save pushed the presentation to its linked file and the link time changed,
// the renewed time is written into the saved file's header at once.
// OpenFromPPT and WriteToPPT (presentation_ppt.cpp) convert through a
// temporary database file.
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "platform/automation/member_table.h"
#include "slides/presentation_link.h"
#include "slides/presentation_model.h"
#include "slides/slides.h"

namespace brevora::core {
class Session;
class Application;
}  // namespace brevora::core

namespace brevora::slides {

class Presentation : public Dispatchable<Presentation> {
 public:
  static constexpr const char* kProgId = "TabulynPC.Presentation";
  static constexpr const char* kClsid = "{5D1E7B30-2A4C-4F86-B1D9-6C0E3A7F5B01}";
  static constexpr double kServerSyncFlag = PresentationModel::kServerSyncFlag;

  static const MemberTable<Presentation>& Members();

  Presentation();
  // Cleans the image folder and closes; errors are swallowed.
  ~Presentation() override;

  const Ref<slides::Slides>& Slides() const { return model_.slides; }
  void SetSlides(Ref<slides::Slides> slides) { model_.slides = std::move(slides); }
  const std::string& FileName() const { return model_.fileName; }
  void SetFileName(std::string name) { model_.fileName = std::move(name); }
  int16_t NumSlides() const { return model_.numSlides; }
  void SetNumSlides(int16_t n) { model_.numSlides = n; }
  int16_t Category() const { return model_.category; }
  void SetCategory(int16_t c) { model_.category = c; }
  int16_t Version() const { return model_.version; }
  void SetVersion(int16_t v) { model_.version = v; }
  bool IsModified() const { return model_.isModified; }
  void SetIsModified(bool v) { model_.isModified = v; }
  bool IsServerSync() const { return model_.IsServerSync(); }
  void SetIsServerSync(bool v) { model_.SetServerSync(v); }
  // The 4-character reserved field of the header, carried unchanged.
  const std::string& Reserved() const { return model_.reserved; }

  const std::string& FullPath() const { return fullPath_; }
  // The public property: when the current file exists and is not `path`, it
  // is renamed to `path` first (an existing file at `path` is refused: 58),
  // then the path is stored. Failure: 32760 "Presentation.FullPath" (a 32760
  // inside passes on unchanged).
  void SetFullPath(std::string_view path);

  // Deletes the image folder's pictures, forgets the path, removes all slides.
  // Failure: 32760 "Presentation.ClosePresentation" "Error closing
  // Presentation." (a 32760 inside passes on unchanged).
  void ClosePresentation();
  // Clears the link, sets IsModified; returns true.
  bool InitFromDefaults();

  // The link properties, through the model's checks: the name's let with ""
  // resets time, method and option to 0; method and option accept 0 to 3, else
  // 32760 "Slidora - presentation" and the value is not stored.
  bool HasLinkedPPTFile() const { return model_.HasLinkedFile(); }
  const std::string& LinkedPPTFileName() const { return model_.link.fileName; }
  void SetLinkedPPTFileName(std::string_view name) { model_.SetLinkedFileName(name); }
  double LinkedPPTFileModDateTime() const { return model_.link.modDateTime; }
  void SetLinkedPPTFileModDateTime(double seconds) { model_.link.modDateTime = seconds; }
  int32_t LinkedPPTSyncMethod() const { return model_.link.syncMethod; }
  void SetLinkedPPTSyncMethod(int32_t method) { model_.SetSyncMethod(method); }
  int32_t LinkedPPTSyncOption() const { return model_.link.syncOption; }
  void SetLinkedPPTSyncOption(int32_t option) { model_.SetSyncOption(option); }

  // "Synchronize", "Palm to PPT", "PPT to Palm", "Do Nothing" for 0 to 3; any
  // other method gives "Synchronize".
  std::string SyncMethodText() const { return model_.SyncMethodText(); }
  // The method of one of those texts (exact, case-sensitive); any other text: 0.
  static int16_t SyncMethodFromText(std::string_view text) {
    return PresentationModel::SyncMethodFromText(text);
  }

  // One-shot conversions (presentation_ppt.cpp) through a new presentation
  // converter on ApplicationSession() and a temporary database file ("tbr..."
  // in the temporary folder, NewPresentationTempFile), removed on every path.
  // FullPath is what it was before the call again afterwards, on every path;
  // the pictures OpenFromPPT unpacked stay in the temporary file's image
  // folder, which is then the folder this object unpacked into (DeleteFolder
  // cleans it). OpenFromPPT returns the open's result; WriteToPPT true.
  // Temporary name failure: 32760 "Presentation.GetTempFile"; other errors
  // reach the caller as the converter or OpenFromDisk/WriteToDisk raised them.
  bool OpenFromPPT(std::string_view pptFile);
  bool WriteToPPT(std::string_view pptFile);

  // Storage; see the class comment. OpenFromPDB and WriteToPDB are OpenFromDisk
  // and WriteToDisk of `file` (their 32760 passes on unchanged); the Zazer
  // pair does nothing (the open returns False).
  bool OpenFromDisk(std::string_view file = {}, bool readRecords = true,
                    bool updateFromLink = false);
  void WriteToDisk(std::string_view file = {}, bool updateLink = false);
  void UpdateHeader();
  void CreateImages();
  bool OpenFromPDB(std::string_view file);
  void WriteToPDB(std::string_view file);
  bool OpenFromZazerDB(const Variant&) { return false; }
  void WriteToZazerDB(const Variant&) {}

  // A user's file: HomeDirectory of the presentations (file mode 2) of `user`
  // (the current user when empty), the category folder (created when missing)
  // and the name with ".pdb". Opening cleans the image folder first; writing
  // keeps the pictures it is about to store. A category or name that is not a
  // plain name (separators, "..", control characters) is refused (32760).
  bool OpenFromUser(std::string_view user, std::string_view category, std::string_view name);
  void WriteToUser(std::string_view user, std::string_view category, std::string_view name);

  // Deletes the slides' pictures that lie inside the image folder (and the
  // folder this object unpacked into), then removes those folders when empty.
  // Errors end each step quietly.
  void DeleteFolder();
  // FullPath without its file name's extension, and "img/".
  std::string ImageDirectory() const;
  // True when `file` is a handheld database with creator "Sldr"; any error: false.
  static bool FileIsPresentation(std::string_view file);

  const Ref<core::Session>& Session() const { return session_; }
  // Stores the Session and takes the application object it hands out.
  void SetSession(Ref<core::Session> session);
  // The Session of the application object (created on first use): the one the
  // converters this presentation makes work on.
  Ref<core::Session> ApplicationSession();

 private:
  // Tests replace the link step through PresentationInternal
  // (slides/presentation_internal.h).
  friend class PresentationInternal;

  // Replaces the link step (null: opening and saving leave the linked file alone).
  void SetLinkStep(std::shared_ptr<PresentationLinkStep> step) { linkStep_ = std::move(step); }

  core::Application& App();
  std::string UserPath(std::string_view user, std::string_view category, std::string_view name,
                       bool cleanFolder);

  PresentationModel model_;
  std::string fullPath_;
  std::string unpackedFolder_;  // where this object unpacked pictures; "" when nowhere
  Ref<core::Session> session_;
  Ref<core::Application> app_;
  std::shared_ptr<PresentationLinkStep> linkStep_;
};

}  // namespace brevora::slides
