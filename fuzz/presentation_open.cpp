// Fuzzes the presentation database where a user's file reaches it:
// Presentation::OpenFromDisk on the input written as a file, with its slides
// and picture records (unpacked into the image folder beside the file) and
// header-only. The only refusal is 32760 "Presentation.OpenFromDisk" (it wraps
// every failure). Every picture file an open names must lie inside the image
// folder, and destroying the presentation must leave that folder gone.
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "fuzz/file_input.h"
#include "slides/presentation.h"
#include "slides/slide.h"
#include "slides/slides.h"
#include "slides/thumbnail.h"

namespace brevora::fuzz {
namespace {

using slides::Presentation;

// A 2 x 2 RGB PNG.
const std::string kPicture(
    "\x89\x50\x4E\x47\x0D\x0A\x1A\x0A\x00\x00\x00\x0D\x49\x48\x44\x52\x00\x00\x00\x02\x00\x00\x00"
    "\x02"
    "\x08\x02\x00\x00\x00\xFD\xD4\x9A\x73\x00\x00\x00\x13\x49\x44\x41\x54\x78\x9C\x63\xF8\xCF\xC0"
    "\xC0"
    "\x00\xC2\x40\xE2\xFF\xFF\xFF\x00\x22\xEC\x05\xFB\x66\x0A\x11\x7E\x00\x00\x00\x00\x49\x45\x4E"
    "\x44"
    "\xAE\x42\x60\x82",
    76);

bool Inside(const std::string& folder, const std::string& file) {
  if (file.empty()) return true;
  const std::string f = std::filesystem::path(file).lexically_normal().string();
  std::string d = std::filesystem::path(folder).lexically_normal().string();
  if (d.empty() || d.back() != '/') d += '/';
  return f.compare(0, d.size(), d) == 0 && f.find("/..") == std::string::npos;
}

}  // namespace

std::vector<Seed> Seeds(const std::string& scratch) {
  std::vector<Seed> seeds;
  const std::string picture = scratch + "/picture.png";
  {
    std::ofstream out(picture, std::ios::binary);
    out << kPicture;
  }
  const auto save = [&](const std::string& name, Presentation& p) {
    const std::string path = scratch + "/" + name;
    p.WriteToDisk(path);
    seeds.push_back({name, FileBytes(path)});
  };
  {
    Ref<Presentation> p = MakeRef<Presentation>();
    p->SetFileName("Empty deck");
    save("empty.pdb", *p);
  }
  {
    Ref<Presentation> p = MakeRef<Presentation>();
    p->SetFileName("Quarterly review");
    p->SetLinkedPPTFileName("C:\\Decks\\review.ppt");
    for (int16_t n = 1; n <= 2; ++n) {
      const std::string k = std::to_string(n);
      Ref<slides::Slide> s = p->Slides()->Add(n, 0, picture);
      s->SetID(100 + n);
      s->AddThumbnail(picture, 0);
      if (n == 2) s->AddVantaSlide(picture, 0, 202);
      s->Outlines()->Add(0, 0, 0, slides::NONE, "Title " + k);
      s->Outlines()->Add(1, 0, 1, slides::CIRCLEBULLET, "Line " + k);
      s->SetNoteText("Note " + k + "\r\nsecond");
    }
    save("review.pdb", *p);
  }
  return seeds;
}

}  // namespace brevora::fuzz

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  brevora::fuzz::MakeWorkFolder();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace brevora::fuzz;
  const std::string path = WriteInput("deck.pdb", data, size);
  for (const bool readSlides : {true, false}) {
    std::string folder;
    {
      brevora::Ref<Presentation> p = brevora::MakeRef<Presentation>();
      folder = p->ImageDirectory();
      const bool opened = AcceptsWrapped([&] { p->OpenFromDisk(path, readSlides); });
      folder = p->ImageDirectory();
      if (opened) {
        for (const brevora::Ref<brevora::slides::Slide>& s : *p->Slides()) {
          Check(Inside(folder, s->FilePath()),
                "a picture outside the image folder: " + s->FilePath());
          if (s->Thumbnail())
            Check(Inside(folder, s->Thumbnail()->ImagePath()),
                  "a thumbnail outside the image folder");
          if (s->VantaSlide())
            Check(Inside(folder, s->VantaSlide()->ImagePath()),
                  "a picture outside the image folder");
        }
      }
    }
    std::error_code ignored;
    Check(!std::filesystem::exists(folder, ignored), "the image folder outlived its presentation");
  }
  return 0;
}
