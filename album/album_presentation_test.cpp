// Albums saved as presentations and opened again, through the real Session
// and Presentation (reached by ProgID and name, as the program does) with a
// scripted chooser in place of the application object's windows; fakes only
// where the real objects cannot fail the way a test needs.
#include "album/album_presentation.h"

#include <FreeImage.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <functional>
#include <map>
#include <string>
#include <vector>

#include "album/image_pipeline.h"
#include "album/picture_messages.h"
#include "core/session.h"
#include "platform/automation/class_registry.h"
#include "platform/automation/variant.h"
#include "platform/fs/files.h"
#include "platform/fs/paths.h"
#include "platform/text/case.h"
#include "slides/outline.h"
#include "slides/pictures_test_support.h"
#include "slides/presentation.h"
#include "slides/slide.h"
#include "slides/slidr_options.h"
#include "slides/thumbnail.h"
#include "testing/caught_error.h"
#include "testing/scripted_chooser.h"
#include "testing/temp_home.h"

namespace brevora::album {
namespace {

using ::brevora::testing::ErrorOf;
using brevora::testing::ScriptedChooser;
using slides::testing::PictureInfo;
using slides::testing::ReadPicture;

// A picture of one colour.
void WriteSolid(const std::string& path, int width, int height, uint8_t r, uint8_t g, uint8_t b) {
  slides::Bitmap bitmap(FreeImage_Allocate(width, height, 24));
  RGBQUAD colour{};
  colour.rgbRed = r;
  colour.rgbGreen = g;
  colour.rgbBlue = b;
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) FreeImage_SetPixelColor(bitmap.get(), x, y, &colour);
  }
  ASSERT_TRUE(slides::SavePng(bitmap.get(), path));
}

// The colour in the middle of a picture file, as red, green, blue.
std::vector<int> MiddleColour(const std::string& path) {
  slides::Bitmap loaded = slides::LoadPicture(path);
  if (!loaded) return {};
  slides::Bitmap rgb(FreeImage_ConvertTo24Bits(loaded.get()));
  RGBQUAD c{};
  FreeImage_GetPixelColor(rgb.get(), FreeImage_GetWidth(rgb.get()) / 2,
                          FreeImage_GetHeight(rgb.get()) / 2, &c);
  return {c.rgbRed, c.rgbGreen, c.rgbBlue};
}

bool Near(const std::vector<int>& a, const std::vector<int>& b) {
  if (a.size() != 3 || b.size() != 3) return false;
  for (size_t i = 0; i < 3; ++i) {
    if (std::abs(a[i] - b[i]) > 8) return false;
  }
  return true;
}

// What a saved presentation holds, read with the presentation classes.
struct SavedSlide {
  int index;
  int id;
  std::string title;
  PictureInfo picture;
  PictureInfo thumbnail;
  std::vector<int> colour;
};
struct Saved {
  std::string name;
  bool modified;
  std::string linkedFile;
  std::vector<SavedSlide> slides;
};

Saved ReadSaved(const std::string& path) {
  Saved saved;
  Ref<slides::Presentation> p = MakeRef<slides::Presentation>();
  p->OpenFromDisk(path);
  saved.name = p->FileName();
  saved.modified = p->IsModified();
  saved.linkedFile = p->LinkedPPTFileName();
  for (const Ref<slides::Slide>& s : *p->Slides()) {
    saved.slides.push_back({s->Index(), s->ID(), s->Outlines()->Item(Variant(int32_t{1}))->Text(),
                            ReadPicture(s->FilePath()), ReadPicture(s->Thumbnail()->ImagePath()),
                            MiddleColour(s->FilePath())});
  }
  return saved;
}

struct EntryView {
  std::string title;
  int number;
  std::string fullPath;
  bool operator==(const EntryView&) const = default;
};

std::vector<EntryView> View(const Album& album) {
  std::vector<EntryView> v;
  for (const SlideNode& e : album.Entries()) v.push_back({e.title, e.slideNumber, e.fullPath});
  return v;
}

// Puts a fake class under a ProgID for the scope and the real one back after.
class ScopedClass {
 public:
  ScopedClass(std::string progId, Factory fake, std::string clsid, Factory real)
      : progId_(std::move(progId)), clsid_(std::move(clsid)), real_(std::move(real)) {
    if (fake) {
      RegisterClass(progId_, "", std::move(fake));
    } else {
      UnregisterClass(progId_);
    }
  }
  ~ScopedClass() { RegisterClass(progId_, clsid_, real_); }

 private:
  std::string progId_, clsid_;
  Factory real_;
};

// An object answering the members it is given, each by name without regard to
// case; 438 for any other.
class FakeObject : public Dispatch {
 public:
  using Member = std::function<Variant(Args)>;
  Ref<FakeObject> On(std::string_view name, Member member) {
    members_[text::LCase(name)] = std::move(member);
    return Ref<FakeObject>(this);
  }
  Variant Invoke(std::string_view name, CallKind, Args args) override {
    const auto it = members_.find(text::LCase(name));
    if (it == members_.end()) RaiseRuntimeError(438);
    return it->second(args);
  }

 private:
  std::map<std::string, Member> members_;
};

Ref<FakeObject> Fake() { return MakeRef<FakeObject>(); }
FakeObject::Member Returns(Variant v) {
  return [v](Args) { return v; };
}

// A Session whose presentation opens any path and holds the given slides
// (index, picture file, title), with its image folder at `imageFolder`.
struct FakeSlide {
  int16_t index;
  std::string file;
  std::string title;
};
Factory FakeSession(std::string imageFolder, std::vector<FakeSlide> slides) {
  return [imageFolder, slides]() -> Ref<Dispatch> {
    std::vector<Ref<Dispatch>> items;
    for (const FakeSlide& s : slides) {
      Ref<FakeObject> line = Fake()->On("Text", Returns(Variant(s.title)));
      Ref<FakeObject> outlines =
          Fake()->On("Count", Returns(Variant(int32_t{1})))->On("Item", Returns(Variant(line)));
      items.push_back(Fake()
                          ->On("filePath", Returns(Variant(s.file)))
                          ->On("index", Returns(Variant(s.index)))
                          ->On("outlines", Returns(Variant(outlines))));
    }
    Ref<FakeObject> collection =
        Fake()
            ->On("Count", Returns(Variant(static_cast<int32_t>(items.size()))))
            ->On("Item", [items](Args a) {
              return Variant(items.at(static_cast<size_t>(a[0].AsLong() - 1)));
            });
    Ref<FakeObject> presentation = Fake()
                                       ->On("OpenFromDisk", Returns(Variant(true)))
                                       ->On("getImageDirectory", Returns(Variant(imageFolder)))
                                       ->On("Slides", Returns(Variant(collection)));
    return Fake()
        ->On("LoadGlobalSettings", Returns(Variant()))
        ->On("FileMode", Returns(Variant()))
        ->On("GetTabrelPC", Returns(Variant(Ref<Dispatch>(Fake()))))
        ->On("getPresentation", Returns(Variant(presentation)));
  };
}

Ref<Dispatch> RealSession() { return MakeRef<core::Session>(); }
Ref<Dispatch> RealOptions() { return MakeRef<slides::SlidrOptions>(); }

class AlbumPresentation : public ::testing::Test {
 protected:
  std::string Path(const std::string& name) const { return dir_ + name; }
  std::string Picture(const std::string& name, int width, int height) const {
    slides::testing::WriteTestPicture(Path(name), width, height, 24);
    return Path(name);
  }
  std::string Solid(const std::string& name, uint8_t r, uint8_t g, uint8_t b) const {
    WriteSolid(Path(name), 64, 48, r, g, b);
    return Path(name);
  }
  // Saves the album to `name` in the test folder.
  bool SaveAs(const std::string& name) {
    chooser_.Answer(Path(name));
    return SaveAlbumAs(album_, chooser_);
  }
  bool Open(const std::string& path) {
    chooser_.Answer(path);
    return OpenAlbum(album_, chooser_, pictures_);
  }

  PictureLibrary library_;
  std::string dir_ = brevora::testing::MakeTempDir("album") + "/";
  ScriptedChooser chooser_;
  Album album_;
  std::unique_ptr<fs::TempFolder> pictures_;
};

TEST_F(AlbumPresentation, SavesEveryEntryAsASlideAndOpensItBack) {
  album_.AddImage(Picture("harbour.png", 640, 480));
  album_.AddImage(Picture("beach.png", 100, 100));
  album_.Select(1);
  album_.SetCurrentTitle("Beach at noon");

  ASSERT_TRUE(SaveAs("Holiday.pdb"));
  EXPECT_EQ(chooser_.calls(), (std::vector<ScriptedChooser::Call>{{true, "Untitled"}}));

  const Saved saved = ReadSaved(Path("Holiday.pdb"));
  EXPECT_EQ(saved.name, "Holiday");
  EXPECT_TRUE(saved.modified);
  EXPECT_EQ(saved.linkedFile, "");
  ASSERT_EQ(saved.slides.size(), 2u);
  const char* titles[] = {"Slide #1", "Beach at noon"};
  for (int i = 0; i < 2; ++i) {
    const SavedSlide& s = saved.slides[static_cast<size_t>(i)];
    EXPECT_EQ(s.index, i + 1);
    EXPECT_EQ(s.id, i + 1);
    EXPECT_EQ(s.title, titles[i]);
    // The stored options' defaults: 320 x 240 at 8 bits, thumbnails 80 x 60.
    EXPECT_EQ(s.picture.width, 320u);
    EXPECT_EQ(s.picture.height, 240u);
    EXPECT_EQ(s.picture.bpp, 8u);
    EXPECT_TRUE(s.picture.palette);
    EXPECT_EQ(s.thumbnail.width, 80u);
    EXPECT_EQ(s.thumbnail.height, 60u);
  }
  // The entries name the pictures the save wrote in the image folder, which
  // the presentation cleared again when it was released.
  const std::string images = Path("Holidayimg/");
  EXPECT_EQ(album_.Entries()[1].presImagePath, images + "image2.png");
  EXPECT_EQ(album_.Entries()[1].thumbnailPath, images + "image2_thumb.png");
  EXPECT_FALSE(fs::FolderExists(images));

  // Reopened: the titles in slide order, the pictures copied into a private
  // folder, the first entry current.
  album_.ClearAlbum();
  ASSERT_TRUE(Open(Path("Holiday.pdb")));
  EXPECT_EQ(chooser_.calls().back(), (ScriptedChooser::Call{false, ""}));
  ASSERT_NE(pictures_, nullptr);
  const std::string copies = pictures_->Path();
  EXPECT_EQ(View(album_), (std::vector<EntryView>{{"Slide #1", 1, copies + "image1.png"},
                                                  {"Beach at noon", 2, copies + "image2.png"}}));
  EXPECT_EQ(album_.Current(), 0);
  EXPECT_EQ(ReadPicture(copies + "image2.png").width, 320u);
  EXPECT_FALSE(fs::FolderExists(images)) << "the opened presentation cleared its pictures";
}

TEST_F(AlbumPresentation, SlideOrderFollowsAMove) {
  album_.AddImage(Solid("red.png", 255, 0, 0));
  album_.AddImage(Solid("green.png", 0, 255, 0));
  album_.AddImage(Solid("blue.png", 0, 0, 255));
  album_.Select(2);
  album_.MoveCurrentTo(1);
  ASSERT_TRUE(SaveAs("Colours.pdb"));
  const Saved saved = ReadSaved(Path("Colours.pdb"));
  ASSERT_EQ(saved.slides.size(), 3u);
  EXPECT_EQ(saved.slides[0].title, "Slide #3");
  EXPECT_TRUE(Near(saved.slides[0].colour, {0, 0, 255}));
  EXPECT_TRUE(Near(saved.slides[1].colour, {0, 255, 0}));
  EXPECT_TRUE(Near(saved.slides[2].colour, {255, 0, 0}));
  EXPECT_EQ(saved.slides[2].title, "Slide #1");
}

TEST_F(AlbumPresentation, CancelledWindowsChangeNothing) {
  album_.AddImage(Picture("a.png", 40, 30));
  chooser_.Answer(std::nullopt);
  EXPECT_FALSE(SaveAlbumAs(album_, chooser_));
  chooser_.Answer(std::nullopt);
  EXPECT_FALSE(OpenAlbum(album_, chooser_, pictures_));
  EXPECT_EQ(View(album_), (std::vector<EntryView>{{"Slide #1", 1, Path("a.png")}}));
  EXPECT_EQ(pictures_, nullptr);
  EXPECT_EQ(fs::ListFolder(dir_, fs::ListKind::Files), (std::vector<std::string>{"a.png"}));
  EXPECT_EQ(fs::ListFolder(fs::TempDir(), fs::ListKind::Folders),
            (std::vector<std::string>{"album"}))
      << "no private folder left behind";
}

TEST_F(AlbumPresentation, AnUnreadablePictureStopsTheSaveAndChangesNothing) {
  // An earlier save, and a user's picture lying in its image folder under a
  // name the save writes.
  album_.AddImage(Solid("red.png", 255, 0, 0));
  ASSERT_TRUE(SaveAs("Holiday.pdb"));
  const std::vector<uint8_t> before = fs::ReadWholeFile(Path("Holiday.pdb"));
  fs::MakeFolder(Path("Holidayimg"));
  const std::string lying = Solid("Holidayimg/image1.png", 0, 255, 0);
  const std::vector<uint8_t> lyingBytes = fs::ReadWholeFile(lying);

  album_.AddImage(lying);
  const std::vector<uint8_t> png = slides::testing::TestPicturePng(64, 64, 24);
  fs::AtomicWrite(Path("damaged.png"), std::vector<uint8_t>(png.begin(), png.begin() + 40));
  album_.AddImage(Path("damaged.png"));
  const auto entries = View(album_);
  const std::string savedPicture = album_.Entries()[0].presImagePath;

  const auto e = ErrorOf([&] { SaveAs("Holiday.pdb"); });
  ASSERT_NE(e.number(), 0);
  EXPECT_EQ(e.number(), kPictureError);
  EXPECT_EQ(e.description(), "loadDIBFromPath: Error in loading DIB");
  EXPECT_EQ(fs::ReadWholeFile(Path("Holiday.pdb")), before);
  EXPECT_EQ(fs::ListFolder(Path("Holidayimg"), fs::ListKind::Files),
            (std::vector<std::string>{"image1.png"}));
  EXPECT_EQ(fs::ReadWholeFile(lying), lyingBytes);
  EXPECT_EQ(View(album_), entries);
  EXPECT_EQ(album_.Entries()[0].presImagePath, savedPicture);
  EXPECT_EQ(album_.Entries()[1].presImagePath, "");
}

TEST_F(AlbumPresentation, APictureInTheImageFolderIsReadBeforeAnythingIsWritten) {
  // Entry 2's picture is the image folder's image1.png, the name entry 1's
  // slide picture gets: it must be read first, and be there again afterwards.
  fs::MakeFolder(Path("Holidayimg"));
  const std::string lying = Solid("Holidayimg/image1.png", 255, 0, 0);
  const std::vector<uint8_t> lyingBytes = fs::ReadWholeFile(lying);
  // The first name it would wait under is taken already.
  const std::string taken = Path("Holidayimg/.tbr" + std::to_string(getpid()) + "-1-image1.png");
  fs::AtomicWrite(taken, std::string("someone else's"));
  album_.AddImage(Solid("blue.png", 0, 0, 255));
  album_.AddImage(lying);
  ASSERT_TRUE(SaveAs("Holiday.pdb"));
  const std::vector<uint8_t> stillThere = fs::ReadWholeFile(taken);
  EXPECT_EQ(std::string(stillThere.begin(), stillThere.end()), "someone else's");

  const Saved saved = ReadSaved(Path("Holiday.pdb"));
  ASSERT_EQ(saved.slides.size(), 2u);
  EXPECT_TRUE(Near(saved.slides[0].colour, {0, 0, 255}));
  EXPECT_TRUE(Near(saved.slides[1].colour, {255, 0, 0})) << "slide 2 shows its own picture";
  EXPECT_EQ(fs::ListFolder(Path("Holidayimg"), fs::ListKind::Files),
            (std::vector<std::string>{"image1.png"}));
  EXPECT_EQ(fs::ReadWholeFile(lying), lyingBytes);
}

TEST_F(AlbumPresentation, AFailedWriteLeavesTheImageFolderAsItWas) {
  // The chosen path is a folder: the database write fails after the pictures
  // went into the image folder; the user's file there comes back.
  fs::MakeFolder(Path("Holiday.pdb"));
  fs::MakeFolder(Path("Holidayimg"));
  const std::string lying = Solid("Holidayimg/image1_thumb.png", 0, 255, 0);
  const std::vector<uint8_t> lyingBytes = fs::ReadWholeFile(lying);
  album_.AddImage(Solid("blue.png", 0, 0, 255));
  const auto entries = View(album_);

  const auto e = ErrorOf([&] { SaveAs("Holiday.pdb"); });
  ASSERT_NE(e.number(), 0);
  EXPECT_EQ(e.number(), 32760);
  EXPECT_EQ(e.source(), "Presentation.WriteToDisk");
  EXPECT_EQ(fs::ListFolder(Path("Holidayimg"), fs::ListKind::Files),
            (std::vector<std::string>{"image1_thumb.png"}));
  EXPECT_EQ(fs::ReadWholeFile(lying), lyingBytes);
  EXPECT_EQ(View(album_), entries);
}

TEST_F(AlbumPresentation, WithoutOptionsTheSaveStopsWith380) {
  album_.AddImage(Picture("a.png", 40, 30));
  const auto entries = View(album_);
  {
    ScopedClass noOptions(slides::SlidrOptions::kProgId, nullptr, slides::SlidrOptions::kClsid,
                          RealOptions);
    const auto e = ErrorOf([&] { SaveAs("Holiday.pdb"); });
    ASSERT_NE(e.number(), 0);
    EXPECT_EQ(e.number(), 380);
    EXPECT_EQ(e.source(), "SlidrExport");
    EXPECT_EQ(e.description(), "Unable to access Slidora Options");
  }
  EXPECT_EQ(View(album_), entries);
  EXPECT_FALSE(fs::FileExists(Path("Holiday.pdb")));
  EXPECT_FALSE(fs::FolderExists(Path("Holidayimg")));
}

TEST_F(AlbumPresentation, MissingImageFolderStopsTheOpenAndKeepsTheAlbum) {
  album_.AddImage(Picture("a.png", 40, 30));
  const auto entries = View(album_);
  ScopedClass session(core::Session::kProgId, FakeSession(Path("gone/"), {}), core::Session::kClsid,
                      RealSession);
  const auto e = ErrorOf([&] { Open(Path("Holiday.pdb")); });
  ASSERT_NE(e.number(), 0);
  EXPECT_EQ(e.number(), 32751);
  EXPECT_EQ(e.source(), "Slidr Add-in");
  EXPECT_EQ(e.description(), "Image files do not exist, import failed.");
  EXPECT_EQ(View(album_), entries);
  EXPECT_EQ(pictures_, nullptr);
}

TEST_F(AlbumPresentation, ASlideWithoutItsPictureStopsTheOpen) {
  album_.AddImage(Picture("a.png", 40, 30));
  const auto entries = View(album_);
  const std::string present = Solid("present.png", 255, 0, 0);
  for (const std::string& missing : {std::string(), Path("gone.png")}) {
    ScopedClass session(core::Session::kProgId,
                        FakeSession(dir_, {{1, present, "One"}, {2, missing, "Two"}}),
                        core::Session::kClsid, RealSession);
    const auto e = ErrorOf([&] { Open(Path("Holiday.pdb")); });
    ASSERT_NE(e.number(), 0);
    EXPECT_EQ(e.number(), 32751);
    EXPECT_EQ(e.description(), "Image files do not exist, import failed.");
    EXPECT_EQ(View(album_), entries);
    EXPECT_EQ(pictures_, nullptr);
  }
  EXPECT_EQ(fs::ListFolder(fs::TempDir(), fs::ListKind::Folders),
            (std::vector<std::string>{"album"}))
      << "the copies made so far went too";
}

TEST_F(AlbumPresentation, EntriesAreNumberedInSlideOrderWhateverTheIndexes) {
  // Slides numbered 3, 7 and 10, the middle one without a title.
  {
    Ref<slides::Presentation> p = MakeRef<slides::Presentation>();
    const int16_t indexes[] = {3, 7, 10};
    for (int16_t n : indexes) {
      const std::string picture = Solid("s" + std::to_string(n) + ".png", uint8_t(n * 20), 0, 0);
      Ref<slides::Slide> s = p->Slides()->Add(n, 1, picture);
      s->AddThumbnail(picture, 1);
      if (n != 7) s->Outlines()->Add(0, 0, 0, 0, "Title " + std::to_string(n));
    }
    p->WriteToDisk(Path("Odd.pdb"));
  }
  ASSERT_TRUE(Open(Path("Odd.pdb")));
  const std::string copies = pictures_->Path();
  EXPECT_EQ(View(album_), (std::vector<EntryView>{{"Title 3", 1, copies + "image1.png"},
                                                  {"Slide #2", 2, copies + "image2.png"},
                                                  {"Title 10", 3, copies + "image3.png"}}));
  EXPECT_EQ(fs::ReadWholeFile(copies + "image3.png"), fs::ReadWholeFile(Path("s10.png")));

  // Slides that share an index still get a copy each.
  const std::string first = Solid("first.png", 255, 0, 0);
  const std::string second = Solid("second.png", 0, 255, 0);
  ScopedClass session(core::Session::kProgId,
                      FakeSession(dir_, {{1, first, "One"}, {1, second, "Other"}}),
                      core::Session::kClsid, RealSession);
  ASSERT_TRUE(Open(Path("Twins.pdb")));
  ASSERT_NE(pictures_->Path(), copies);
  EXPECT_FALSE(fs::FolderExists(copies)) << "the previous album's copies went with it";
  EXPECT_EQ(album_.Entries().size(), 2u);
  EXPECT_EQ(fs::ReadWholeFile(album_.Entries()[0].fullPath), fs::ReadWholeFile(first));
  EXPECT_EQ(fs::ReadWholeFile(album_.Entries()[1].fullPath), fs::ReadWholeFile(second));
}

TEST_F(AlbumPresentation, AFailedOpenKeepsTheAlbum) {
  album_.AddImage(Picture("a.png", 40, 30));
  ASSERT_TRUE(SaveAs("Holiday.pdb"));
  ASSERT_TRUE(Open(Path("Holiday.pdb")));
  const auto entries = View(album_);
  const std::string copies = pictures_->Path();

  fs::AtomicWrite(Path("notes.pdb"), std::string("not a presentation"));
  const auto e = ErrorOf([&] { Open(Path("notes.pdb")); });
  ASSERT_NE(e.number(), 0);
  EXPECT_EQ(e.number(), 32760);
  EXPECT_EQ(e.source(), "Presentation.OpenFromDisk");
  EXPECT_EQ(View(album_), entries);
  EXPECT_EQ(pictures_->Path(), copies);
  EXPECT_TRUE(fs::FileExists(album_.Entries()[0].fullPath));
}

TEST_F(AlbumPresentation, ApplicationWindowsAreCalledByNameWithThePathByReference) {
  // The application object's own members: the path goes in and comes back by
  // reference; Open asks for no template.
  std::vector<std::string> seen;
  Ref<FakeObject> app =
      Fake()
          ->On("GetFileToSave_Slidora",
               [&](Args a) {
                 seen.push_back("save " + a[0].AsString() + " " + std::to_string(a.size()));
                 a[0] = Variant("/home/ann/Holiday.pdb");
                 return Variant(true);
               })
          ->On("getfiletoopen_slidora", [&](Args a) {
            seen.push_back("open " + a[0].AsString() + " " + std::to_string(a[1].AsBoolean()));
            a[0] = Variant("");
            return Variant(false);
          });
  ApplicationChooser chooser;
  std::string path = "Untitled";
  EXPECT_TRUE(chooser.FileToSave(*app, path));
  EXPECT_EQ(path, "/home/ann/Holiday.pdb");
  path.clear();
  EXPECT_FALSE(chooser.FileToOpen(*app, path));
  EXPECT_EQ(seen, (std::vector<std::string>{"save Untitled 1", "open  0"}));

  // An application object without them: 438, which the window tells the user.
  Ref<FakeObject> bare = Fake();
  const auto e = ErrorOf([&] { chooser.FileToSave(*bare, path); });
  ASSERT_NE(e.number(), 0);
  EXPECT_EQ(e.number(), 438);
}

TEST_F(AlbumPresentation, ExtractNameAndEnsureFolder) {
  const std::pair<const char*, const char*> names[] = {
      {"C:\\Albums\\Holiday.pdb", "Holiday"},
      {"/home/ann/Holiday.pdb", "Holiday"},
      {"/home/ann/archive.tar.pdb", "archive.tar"},
      {"/home/ann/Holiday", "Holiday"},
      {"Holiday.pdb", "Holiday"},
  };
  for (const auto& [path, name] : names) EXPECT_EQ(ExtractName(path), name) << path;

  EXPECT_FALSE(EnsureFolder(Path("new")));
  EXPECT_TRUE(fs::FolderExists(Path("new")));
  EXPECT_TRUE(EnsureFolder(Path("new")));
  fs::AtomicWrite(Path("file"), std::string("x"));
  EXPECT_FALSE(EnsureFolder(Path("file/sub"))) << "errors are ignored";
  EXPECT_FALSE(EnsureFolder(Path("no/such/parent")));
  EXPECT_FALSE(fs::FolderExists(Path("no"))) << "parents are not made";
}

}  // namespace
}  // namespace brevora::album
