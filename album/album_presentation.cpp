#include "album/album_presentation.h"

#include <sys/stat.h>

#include <vector>

#include "album/image_folder_install.h"
#include "album/image_pipeline.h"
#include "platform/automation/call_by_name.h"
#include "platform/automation/class_registry.h"
#include "platform/automation/convert.h"
#include "platform/error/error.h"
#include "platform/fs/files.h"
#include "platform/fs/paths.h"

namespace brevora::album {
namespace {

constexpr int32_t kSlidoraFileMode = 2;
constexpr int16_t kCompression = 1;
constexpr const char* kMissingImages = "Image files do not exist, import failed.";

using M = CallKind;

Ref<Dispatch> ObjectRef(const Variant& v) { return Ref<Dispatch>(&ObjectOf(v)); }

// The Session made for one save or open and its application object.
struct Connection {
  Ref<Dispatch> session;
  Ref<Dispatch> application;
};

Connection Connect() {
  Connection c;
  c.session = CreateObject("TabulynPC.Session");
  CallByName(c.session, "LoadGlobalSettings", M::Method);
  CallByName(c.session, "FileMode", M::Let, kSlidoraFileMode);
  c.application = ObjectRef(CallByName(c.session, "GetTabrelPC", M::Method));
  return c;
}

Ref<Dispatch> CreateOptions() {
  Ref<Dispatch> options;
  try {
    options = CreateObject("TabulynPC.SlidrOptions");
  } catch (const AutomationError&) {
    // Told below, as when no object came back.
  }
  if (!options)
    RaiseError(kInvalidPropertyValue, "SlidrExport", "Unable to access Slidora Options");
  return options;
}

// The title of an opened slide: the text of its first outline line; "Slide #"
// and its number when it has none (or only the empty title every slide holds).
std::string TitleOf(const Ref<Dispatch>& slide, int32_t number) {
  const Ref<Dispatch> outlines = ObjectRef(CallByName(slide, "outlines", M::Get));
  std::string title;
  if (CLng(CallByName(outlines, "Count", M::Get)) > 0) {
    const Ref<Dispatch> first = ObjectRef(CallByName(outlines, "Item", M::Method, int32_t{1}));
    title = CStr(CallByName(first, "Text", M::Get));
  }
  return title.empty() ? "Slide #" + std::to_string(number) : title;
}

// Adds one entry's slide, picture, thumbnail and title line.
void AddSlide(const Ref<Dispatch>& slides, const SlideNode& entry) {
  const Ref<Dispatch> slide = ObjectRef(
      CallByName(slides, "Add", M::Method, entry.slideNumber, kCompression, entry.presImagePath));
  CallByName(slide, "id", M::Let, int32_t{entry.slideNumber});
  CallByName(slide, "addThumbnail", M::Method, entry.thumbnailPath, kCompression);
  const Ref<Dispatch> outlines = ObjectRef(CallByName(slide, "outlines", M::Get));
  CallByName(outlines, "Add", M::Method, int16_t{0}, int16_t{0}, int16_t{0}, int16_t{0},
             entry.title);
}

}  // namespace

std::string ExtractName(std::string_view path) {
  std::string name = fs::FileNamePart(path);
  const size_t dot = name.rfind('.');
  if (dot != std::string::npos) name.erase(dot);
  return name;
}

bool EnsureFolder(std::string_view path) {
  if (fs::FolderExists(path)) return true;
  // One level, as the folder's parent must exist; a failure is left to what
  // needs the folder to report.
  ::mkdir(fs::NativePath(path).c_str(), 0777);
  return false;
}

bool SaveAlbumAs(Album& album, PresentationChooser& chooser, const DecodedPicture* decoded) {
  const Connection c = Connect();
  std::string path = "Untitled";
  if (!chooser.FileToSave(*c.application, path)) return false;

  std::vector<SlideNode> entries = album.Entries();
  const fs::TempFolder staging(PictureFolder());
  // Declared before the presentation, so that the presentation is released
  // (and removes what it unpacked) before the image folder is put back.
  std::unique_ptr<ImageFolderInstall> install;
  {
    const Ref<Dispatch> presentation =
        ObjectRef(CallByName(c.session, "getPresentation", M::Method));
    CallByName(presentation, "InitFromDefaults", M::Method);
    CallByName(presentation, "fileName", M::Let, ExtractName(path));
    CallByName(presentation, "FullPath", M::Let, path);
    CallByName(presentation, "LinkedPPTFileName", M::Let, "");
    CallByName(presentation, "LinkedPPTFileModDateTime", M::Let, 0.0);
    CallByName(presentation, "LinkedPPTSyncOption", M::Let, int32_t{0});
    CallByName(presentation, "LinkedPPTSyncMethod", M::Let, int32_t{0});
    CallByName(presentation, "IsModified", M::Let, true);

    const Ref<Dispatch> options = CreateOptions();
    const std::string imageFolder = CStr(CallByName(presentation, "getImageDirectory", M::Method));
    const int32_t width = CLng(CallByName(options, "SlideWidth", M::Get));
    const int32_t height = CLng(CallByName(options, "SlideHeight", M::Get));
    const int32_t depth = CLng(CallByName(options, "SlideDepth", M::Get));

    // Every picture is read and rendered before the image folder is touched.
    const std::vector<std::string> rendered =
        MakeAllSlideImages(staging.Path(), entries, width, height, depth, decoded);
    EnsureFolder(imageFolder);
    install = std::make_unique<ImageFolderInstall>(imageFolder);
    for (const std::string& file : rendered) install->Install(file);
    for (SlideNode& entry : entries) {
      entry.thumbnailPath = imageFolder + fs::FileNamePart(entry.thumbnailPath);
      entry.presImagePath = imageFolder + fs::FileNamePart(entry.presImagePath);
    }

    const Ref<Dispatch> slides = ObjectRef(CallByName(presentation, "Slides", M::Get));
    for (const SlideNode& entry : entries) AddSlide(slides, entry);
    CallByName(presentation, "WriteToDisk", M::Method, path);
  }
  album.Entries() = std::move(entries);
  return true;
}

bool OpenAlbum(Album& album, PresentationChooser& chooser,
               std::unique_ptr<fs::TempFolder>& pictures) {
  const Connection c = Connect();
  std::string path;
  if (!chooser.FileToOpen(*c.application, path)) return false;

  const Ref<Dispatch> presentation = ObjectRef(CallByName(c.session, "getPresentation", M::Method));
  CallByName(presentation, "OpenFromDisk", M::Method, path);
  const std::string imageFolder = CStr(CallByName(presentation, "getImageDirectory", M::Method));
  if (!fs::FolderExists(imageFolder)) RaiseError(kPictureError, "Slidr Add-in", kMissingImages);

  auto copies = std::make_unique<fs::TempFolder>(PictureFolder());
  const Ref<Dispatch> slides = ObjectRef(CallByName(presentation, "Slides", M::Get));
  const int32_t count = CLng(CallByName(slides, "Count", M::Get));
  std::vector<Album::OpenedSlide> opened;
  for (int32_t n = 1; n <= count; ++n) {
    const Ref<Dispatch> slide = ObjectRef(CallByName(slides, "Item", M::Method, n));
    const std::string source = CStr(CallByName(slide, "filePath", M::Get));
    if (source.empty() || !fs::FileExists(source)) {
      RaiseError(kPictureError, "Slidr Add-in", kMissingImages);
    }
    Album::OpenedSlide entry;
    entry.title = TitleOf(slide, n);
    entry.fullPath = copies->Path() + "image" + std::to_string(n) + ".png";
    fs::CopyFile(source, entry.fullPath, /*replace=*/false);
    opened.push_back(std::move(entry));
  }
  album.ReplaceWith(opened);
  pictures = std::move(copies);
  return true;
}

}  // namespace brevora::album
