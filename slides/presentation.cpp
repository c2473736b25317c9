// Presentation: the automation face over PresentationModel (member table,
// binding, close, user paths, the image folder) and its database storage
// members, which call the storage functions (slides/presentation_storage.h).
// OpenFromPPT and WriteToPPT are in presentation_ppt.cpp.
#include "slides/presentation.h"

#include <algorithm>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "core/application.h"
#include "core/file_mode.h"
#include "core/handheld_database.h"
#include "core/session.h"
#include "platform/automation/call_by_name.h"
#include "platform/automation/class_registry.h"
#include "platform/automation/convert.h"
#include "platform/error/error.h"
#include "platform/fs/files.h"
#include "platform/fs/paths.h"
#include "slides/image_files.h"
#include "slides/png_reduction.h"
#include "slides/ppt_link.h"
#include "slides/presentation_storage.h"

namespace brevora::slides {
namespace {

const ClassRegistration kRegistration(Presentation::kProgId, Presentation::kClsid,
                                      [] { return Ref<Dispatch>(MakeRef<Presentation>()); });

// Calls the by-reference depth form of a reduction from a late-bound call.
template <class F>
void ReduceByRef(Args a, F reduce) {
  int16_t depth = CInt(a[2]);
  reduce(CStr(a[0]), CStr(a[1]), depth);
  a[2] = Variant(depth);
}

}  // namespace

const MemberTable<Presentation>& Presentation::Members() {
  using M = CallKind;
  using P = Presentation;
  static const MemberTable<Presentation> table{
      {"Slides", M::Set,
       [](P& p, Args a) {
         Ref<slides::Slides> s = ObjectOrNothing<slides::Slides>(a[0]);
         if (!s) RaiseRuntimeError(91);
         p.SetSlides(std::move(s));
       }},
      {"Slides", M::Get, [](P& p, Args) { return Variant(p.Slides()); }},
      {"FileName", M::Let, [](P& p, Args a) { p.SetFileName(CStr(a[0])); }},
      {"FileName", M::Get, [](P& p, Args) { return Variant(p.FileName()); }},
      {"NumSlides", M::Let, [](P& p, Args a) { p.SetNumSlides(CInt(a[0])); }},
      {"NumSlides", M::Get, [](P& p, Args) { return Variant(p.NumSlides()); }},
      {"Category", M::Get, [](P& p, Args) { return Variant(p.Category()); }},
      {"Category", M::Let, [](P& p, Args a) { p.SetCategory(CInt(a[0])); }},
      {"ClosePresentation", M::Method, [](P& p, Args) { p.ClosePresentation(); }},
      {"FullPath", M::Get, [](P& p, Args) { return Variant(p.FullPath()); }},
      {"FullPath", M::Let, [](P& p, Args a) { p.SetFullPath(CStr(a[0])); }},
      {"HasLinkedPPTFile", M::Get, [](P& p, Args) { return Variant(p.HasLinkedPPTFile()); }},
      {"InitFromDefaults", M::Method, [](P& p, Args) { return Variant(p.InitFromDefaults()); }},
      {"IsModified", M::Get, [](P& p, Args) { return Variant(p.IsModified()); }},
      {"IsModified", M::Let, [](P& p, Args a) { p.SetIsModified(CBool(a[0])); }},
      {"IsServerSync", M::Get, [](P& p, Args) { return Variant(p.IsServerSync()); }},
      {"IsServerSync", M::Let, [](P& p, Args a) { p.SetIsServerSync(CBool(a[0])); }},
      {"LinkedPPTFileModDateTime", M::Get,
       [](P& p, Args) { return Variant(p.LinkedPPTFileModDateTime()); }},
      {"LinkedPPTFileName", M::Get, [](P& p, Args) { return Variant(p.LinkedPPTFileName()); }},
      {"LinkedPPTFileName", M::Let, [](P& p, Args a) { p.SetLinkedPPTFileName(CStr(a[0])); }},
      {"LinkedPPTFileModDateTime", M::Let,
       [](P& p, Args a) { p.SetLinkedPPTFileModDateTime(CDbl(a[0])); }},
      {"LinkedPPTSyncMethod", M::Get, [](P& p, Args) { return Variant(p.LinkedPPTSyncMethod()); }},
      {"LinkedPPTSyncMethod", M::Let, [](P& p, Args a) { p.SetLinkedPPTSyncMethod(CLng(a[0])); }},
      {"LinkedPPTSyncOption", M::Get, [](P& p, Args) { return Variant(p.LinkedPPTSyncOption()); }},
      {"LinkedPPTSyncOption", M::Let, [](P& p, Args a) { p.SetLinkedPPTSyncOption(CLng(a[0])); }},
      {"OpenFromPDB", M::Method, [](P& p, Args a) { return Variant(p.OpenFromPDB(CStr(a[0]))); },
       1},
      {"OpenFromZazerDB", M::Method, [](P& p, Args a) { return Variant(p.OpenFromZazerDB(a[0])); },
       1},
      {"OpenFromUser", M::Method,
       [](P& p, Args a) { return Variant(p.OpenFromUser(CStr(a[0]), CStr(a[1]), CStr(a[2]))); }, 3},
      {"OpenFromPPT", M::Method, [](P& p, Args a) { return Variant(p.OpenFromPPT(CStr(a[0]))); },
       1},
      {"OpenFromDisk", M::Method,
       [](P& p, Args a) {
         const std::string file = a[0].IsMissing() ? std::string() : CStr(a[0]);
         const bool readCells = a[1].IsMissing() ? true : CBool(a[1]);
         const bool updateFromLink = a[2].IsMissing() ? false : CBool(a[2]);
         return Variant(p.OpenFromDisk(file, readCells, updateFromLink));
       },
       0, 3},
      {"Session", M::Get, [](P& p, Args) { return Variant(p.Session()); }},
      {"Session", M::Set, [](P& p, Args a) { p.SetSession(ObjectOrNothing<core::Session>(a[0])); }},
      {"SyncMethodFromText", M::Method,
       [](P&, Args a) { return Variant(SyncMethodFromText(CStr(a[0]))); }, 1},
      {"SyncMethodText", M::Method, [](P& p, Args) { return Variant(p.SyncMethodText()); }},
      {"UpdateHeader", M::Method, [](P& p, Args) { p.UpdateHeader(); }},
      {"Version", M::Get, [](P& p, Args) { return Variant(p.Version()); }},
      {"Version", M::Let, [](P& p, Args a) { p.SetVersion(CInt(a[0])); }},
      {"WriteToDisk", M::Method,
       [](P& p, Args a) {
         const std::string file = a[0].IsMissing() ? std::string() : CStr(a[0]);
         p.WriteToDisk(file, a[1].IsMissing() ? false : CBool(a[1]));
       },
       0, 2},
      {"WriteToPDB", M::Method, [](P& p, Args a) { p.WriteToPDB(CStr(a[0])); }, 1},
      {"WriteToZazerDB", M::Method, [](P& p, Args a) { p.WriteToZazerDB(a[0]); }, 1},
      {"WriteToUser", M::Method,
       [](P& p, Args a) { p.WriteToUser(CStr(a[0]), CStr(a[1]), CStr(a[2])); }, 3},
      {"WriteToPPT", M::Method, [](P& p, Args a) { return Variant(p.WriteToPPT(CStr(a[0]))); }, 1},
      {"deleteFolder", M::Method, [](P& p, Args) { p.DeleteFolder(); }},
      {"createImages", M::Method, [](P& p, Args) { p.CreateImages(); }},
      {"getImageDirectory", M::Method, [](P& p, Args) { return Variant(p.ImageDirectory()); }},
      {"fileIsPresentation", M::Method,
       [](P&, Args a) { return Variant(FileIsPresentation(CStr(a[0]))); }, 1},
      {"optimizePngFileDLL", M::Method, [](P&, Args a) { ReduceByRef(a, OptimizePngFileDLL); }, 3},
      {"optimizePngFile", M::Method, [](P&, Args a) { ReduceByRef(a, OptimizePngFile); }, 3}};
  return table;
}

Presentation::Presentation() : linkStep_(std::make_shared<PptLink>()) {}

Presentation::~Presentation() {
  try {
    DeleteFolder();
    ClosePresentation();
  } catch (...) {
    // The object is going away; nothing can be reported.
  }
}

core::Application& Presentation::App() {
  if (!app_) app_ = core::NewApplication();
  return *app_;
}

void Presentation::SetSession(Ref<core::Session> session) {
  session_ = std::move(session);
  if (session_) app_ = session_->GetTabrelPC();
}

Ref<core::Session> Presentation::ApplicationSession() { return App().Session(); }

void Presentation::SetFullPath(std::string_view path) {
  const std::string old = fullPath_;
  if (!old.empty() && fs::FileExists(old) && !SameFile(old, path)) {
    try {
      fs::RenameNoReplace(old, path);
    } catch (...) {
      throw Wrap32760(CurrentError(), "Presentation.FullPath",
                      "Could not rename Presentation " + old + ".  Please close and reopen  " +
                          std::string(path) + ".");
    }
  }
  fullPath_ = std::string(path);
}

void Presentation::ClosePresentation() {
  try {
    DeleteFolder();
    fullPath_.clear();
    slides::Slides& slides = *model_.slides;
    while (slides.Count() > 0) slides.Remove(Variant(slides.Count()));
  } catch (...) {
    throw Wrap32760(CurrentError(), "Presentation.ClosePresentation",
                    "Error closing Presentation.");
  }
}

bool Presentation::InitFromDefaults() {
  PresentationLinkInfo link;
  ClearLinkInfo(link);
  model_.isModified = true;
  ApplyLinkInfo(model_, link);
  return true;
}

std::string Presentation::ImageDirectory() const { return ImageFolderOf(fullPath_); }

void Presentation::DeleteFolder() {
  std::vector<std::string> folders;
  if (!fullPath_.empty()) folders.push_back(ImageDirectory());
  if (!unpackedFolder_.empty() &&
      std::none_of(folders.begin(), folders.end(),
                   [&](const std::string& f) { return SameFolder(unpackedFolder_, f); })) {
    folders.push_back(unpackedFolder_);
  }
  if (folders.empty()) return;

  auto removeOwnPicture = [&](const std::string& path) {
    if (path.empty()) return;
    const bool own = std::any_of(folders.begin(), folders.end(),
                                 [&](const std::string& f) { return IsInFolder(path, f); });
    if (!own) return;
    try {
      if (fs::FileExists(path)) fs::RemoveFile(path);
    } catch (const AutomationError&) {
      // Ends quietly; the folder then stays.
    }
  };
  for (const Ref<Slide>& slide : *model_.slides) {
    removeOwnPicture(slide->FilePath());
    removeOwnPicture(slide->Thumbnail()->ImagePath());
    removeOwnPicture(slide->VantaSlide()->ImagePath());
  }
  for (const std::string& folder : folders) {
    try {
      if (fs::FolderExists(folder)) fs::RemoveFolder(folder);
    } catch (const AutomationError&) {
      // Not empty, or not ours to remove: left as it is.
    }
  }
  unpackedFolder_.clear();
}

bool Presentation::FileIsPresentation(std::string_view file) { return IsPresentationFile(file); }

std::string Presentation::UserPath(std::string_view user, std::string_view category,
                                   std::string_view name, bool cleanFolder) {
  core::Application& app = App();
  app.SetFileMode(core::kSlidoraMode);
  if (!user.empty()) app.SetCurrentUser(user);
  if (cleanFolder) DeleteFolder();
  if (!(category.empty() || fs::IsPlainName(category)) || !fs::IsPlainName(name)) {
    RaiseError(kWrapError, "Presentation.UserPath",
               "Invalid category or presentation name: '" + std::string(category) + "', '" +
                   std::string(name) + "'.");
  }
  const std::string folder = app.HomeDirectory() + std::string(category);
  try {
    fs::MakeFolder(folder);
  } catch (const AutomationError&) {
    // The open or write that follows reports a folder that could not be made.
  }
  const int16_t mode = static_cast<int16_t>(app.Session()->FileMode());
  return (category.empty() ? folder : folder + "/") + core::AddFileModeExtension(name, mode);
}

bool Presentation::OpenFromUser(std::string_view user, std::string_view category,
                                std::string_view name) {
  fullPath_ = UserPath(user, category, name, /*cleanFolder=*/true);
  return OpenFromDisk(fullPath_, true, false);
}

void Presentation::WriteToUser(std::string_view user, std::string_view category,
                               std::string_view name) {
  fullPath_.clear();
  fullPath_ = UserPath(user, category, name, /*cleanFolder=*/false);
  WriteToDisk("", false);
}

bool Presentation::OpenFromDisk(std::string_view fileView, bool readRecords, bool updateFromLink) {
  const std::string file(fileView);  // the view may be of fullPath_ itself
  try {
    if (!file.empty()) fullPath_ = file;
    // Without the slides only the header is read: no record data, no pictures.
    auto db = std::make_unique<core::HandheldDatabase>();
    PresentationHeader header = ReadPresentationHeader(fullPath_, readRecords, *db, model_);
    if (readRecords) {
      const std::string folder = ImageDirectory();
      fs::MakeFolder(folder);
      unpackedFolder_ = folder;
    }
    PresentationLinkInfo link = header.link;
    if (updateFromLink && linkStep_ && linkStep_->SyncLinkedFile(*this, link, /*onOpen=*/true)) {
      db = std::make_unique<core::HandheldDatabase>();
      link = ReadPresentationHeader(fullPath_, readRecords, *db, model_).link;
    }
    ApplyLinkInfo(model_, link);
    if (readRecords) ReadPresentationRecords(*db, ImageDirectory(), model_);
    return true;
  } catch (...) {
    throw WrapAlways(CurrentError(), "Presentation.OpenFromDisk",
                     "Could not open Presentation '" + file + "'.");
  }
}

void Presentation::WriteToDisk(std::string_view fileView, bool updateLink) {
  const std::string file(fileView);  // the view may be of fullPath_ itself
  try {
    if (!file.empty()) fullPath_ = file;
    if (fullPath_.empty()) {
      RaiseError(kWrapError, "Presentation.WriteToDisk",
                 "Please name the Presentation before saving it.");
    }
    core::HandheldDatabase db;
    WritePresentationDatabase(model_, fullPath_, db);

    if (updateLink && linkStep_) {
      PresentationLinkInfo link = GetLinkInfo(model_);
      if (!link.fileName.empty()) {
        linkStep_->SyncLinkedFile(*this, link, /*onOpen=*/false);
        if (link.modDateTime != model_.link.modDateTime) {
          model_.link.modDateTime = link.modDateTime;
          // The renewed time goes into the file now: else the next open would
          // find the linked file newer and convert it back for nothing.
          RewritePresentationHeader(model_, db, fullPath_);
        }
      }
    }
  } catch (...) {
    throw WrapAlways(CurrentError(), "Presentation.WriteToDisk",
                     "Could not save Presentation '" + fullPath_ + "'.");
  }
}

void Presentation::UpdateHeader() {
  try {
    WritePresentationHeader(model_, fullPath_);
  } catch (...) {
    throw WrapAlways(CurrentError(), "Presentation.UpdateHeader", "Could not update header.");
  }
}

void Presentation::CreateImages() {
  const std::string folder = ImageDirectory();
  fs::MakeFolder(folder);
  unpackedFolder_ = folder;
  UnpackPresentationPictures(fullPath_, folder, model_);
}

bool Presentation::OpenFromPDB(std::string_view file) {
  try {
    return OpenFromDisk(file, true, false);
  } catch (...) {
    throw Wrap32760(CurrentError(), "Presentation.OpenFromPDB", "Unable to open from PDB.");
  }
}

void Presentation::WriteToPDB(std::string_view fileView) {
  const std::string file(fileView);  // the view may be of fullPath_ itself
  try {
    WriteToDisk(file, false);
  } catch (...) {
    throw Wrap32760(CurrentError(), "Presentation.WriteToPDB",
                    "Could not save Presentation '" + file + "'.");
  }
}

}  // namespace brevora::slides
