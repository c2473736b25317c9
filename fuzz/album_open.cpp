// Fuzzes the album's Open where a user's presentation file reaches it: the
// bytes as the chosen file, opened into an album that already holds an entry,
// through the real Session and Presentation. The only refusals are the
// presentation's 32760 (it wraps every failure of the file) and the album's
// 32751 "Image files do not exist, import failed."; a refusal leaves the album
// and its pictures' folder as they were. An accepted file gives entries
// numbered 1..n whose pictures are copies inside the album's private folder,
// and that folder goes when the album lets it go.
#include <FreeImage.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "album/album_presentation.h"
#include "album/image_pipeline.h"
#include "album/picture_messages.h"
#include "fuzz/file_input.h"
#include "slides/freeimage_bitmap.h"
#include "testing/scripted_chooser.h"

namespace brevora::fuzz {
namespace {

using album::Album;

struct Entry {
  std::string path, title;
  int number, id;
  bool operator==(const Entry&) const = default;
};

std::vector<Entry> EntriesOf(const Album& a) {
  std::vector<Entry> v;
  for (const album::SlideNode& e : a.Entries())
    v.push_back({e.fullPath, e.title, e.slideNumber, e.uniqueId});
  return v;
}

bool Inside(const std::string& folder, const std::string& file) {
  const std::string f = std::filesystem::path(file).lexically_normal().string();
  const std::string d = std::filesystem::path(folder).lexically_normal().string();
  return f.compare(0, d.size(), d) == 0 && f.find("/..") == std::string::npos &&
         std::filesystem::path(f).parent_path() == std::filesystem::path(d).parent_path();
}

}  // namespace

std::vector<Seed> Seeds(const std::string& scratch) {
  std::vector<Seed> seeds;
  album::PictureLibrary library;
  Album album;
  for (int n = 1; n <= 2; ++n) {
    const std::string picture = scratch + "/p" + std::to_string(n) + ".png";
    slides::Bitmap b(FreeImage_Allocate(16 * n, 12 * n, 24));
    for (unsigned y = 0; y < FreeImage_GetHeight(b.get()); ++y) {
      BYTE* line = FreeImage_GetScanLine(b.get(), static_cast<int>(y));
      for (unsigned x = 0; x < FreeImage_GetLine(b.get()); ++x)
        line[x] = static_cast<BYTE>(x * 5 + y * 11 + n);
    }
    slides::SavePng(b.get(), picture);
    album.AddImage(picture);
  }
  album.Select(1);
  album.SetCurrentTitle("Harbour at dusk");
  brevora::testing::ScriptedChooser chooser;
  chooser.Answer(scratch + "/Holiday.pdb");
  album::SaveAlbumAs(album, chooser);
  seeds.push_back({"holiday.pdb", FileBytes(scratch + "/Holiday.pdb")});
  Album empty;
  chooser.Answer(scratch + "/Empty.pdb");
  album::SaveAlbumAs(empty, chooser);
  seeds.push_back({"empty.pdb", FileBytes(scratch + "/Empty.pdb")});
  return seeds;
}

}  // namespace brevora::fuzz

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  brevora::fuzz::MakeWorkFolder();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace brevora;
  using namespace brevora::fuzz;
  const std::string path = WriteInput("deck.pdb", data, size);
  album::Album album;
  album.AddImage(WorkFolder() + "/files/kept.png");
  album.Select(0);
  const auto before = EntriesOf(album);
  std::unique_ptr<fs::TempFolder> pictures;
  testing::ScriptedChooser chooser;
  chooser.Answer(path);

  bool opened = false;
  AcceptsWrapped([&] {
    try {
      opened = album::OpenAlbum(album, chooser, pictures);
      Check(opened, "the chooser said OK, yet nothing was opened");
    } catch (const AutomationError& e) {
      // The album's own refusal: the presentation's pictures are missing.
      if (e.number() == album::kPictureError && e.source() == "Slidr Add-in") return;
      throw;
    }
  });

  if (!opened) {
    Check(EntriesOf(album) == before, "a refused file changed the album");
    Check(album.Current() == 0, "a refused file changed the current entry");
    Check(pictures == nullptr, "a refused file left a pictures folder");
  } else {
    Check(pictures != nullptr, "an opened album without its pictures folder");
    const std::string folder = pictures->Path();
    int number = 1;
    for (const album::SlideNode& e : album.Entries()) {
      Check(e.slideNumber == number, "entries not numbered 1..n");
      Check(e.fullPath == folder + "image" + std::to_string(number) + ".png",
            "unexpected copy name " + e.fullPath);
      Check(Inside(folder, e.fullPath), "a copy outside the private folder: " + e.fullPath);
      Check(std::filesystem::is_regular_file(e.fullPath),
            "a copy that is not there: " + e.fullPath);
      ++number;
    }
    Check(album.Current() == (album.Entries().empty() ? -1 : 0), "the first entry is not current");
    const std::string native = folder;
    pictures.reset();
    std::error_code ignored;
    Check(!std::filesystem::exists(native, ignored), "the pictures folder outlived the album");
  }
  return 0;
}
