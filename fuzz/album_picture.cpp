// Fuzzes the album's import of a user's picture: the bytes as the picture
// file the user adds, as the album window takes it (it refuses a file whose
// type FreeImage does not recognise), decodes it once for the preview box and
// renders it for Save As (the thumbnail and the slide picture, each reduced
// to the slide depth the first byte asks, from the picture held). The only
// refusal is the pipeline's 32751 (source "Albumet") with one of its messages.
// Checks: a file of no known type is not decoded; a decoded picture has
// pixels; the preview fits its box (or is the picture's own size); the held
// picture is found again for the same file; the two PNG files are there,
// reading back at 80 x 60 and the slide size, with no more bits a pixel than
// the depth allows.
#include <FreeImage.h>

#include <filesystem>
#include <string>
#include <vector>

#include "album/decoded_picture.h"
#include "album/image_pipeline.h"
#include "album/picture_messages.h"
#include "album/slide_node.h"
#include "fuzz/file_input.h"
#include "fuzz/pictures.h"
#include "slides/freeimage_bitmap.h"

namespace brevora::fuzz {

std::vector<Seed> Seeds(const std::string&) {
  album::PictureLibrary library;
  std::vector<Seed> seeds;
  for (Seed& s : PictureSeeds()) seeds.push_back({s.name, '\x08' + s.bytes});
  return seeds;
}

}  // namespace brevora::fuzz

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  brevora::fuzz::MakeWorkFolder();
  std::filesystem::create_directories(brevora::fuzz::WorkFolder() + "/staging");
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace brevora;
  using namespace brevora::fuzz;
  static const bool started = [] {
    static album::PictureLibrary library;
    LeaveOutCameraRaw();
    return true;
  }();
  (void)started;
  if (size < 1) return 0;
  const int32_t depthAsked = static_cast<int8_t>(data[0]);
  const std::string path = WriteInput("picture", data + 1, size - 1);
  if (!SmallEnough(path)) return 0;

  const bool known = album::IsSupportedImageFile(path);
  if (!known) {
    Check(!album::DecodeForPreview(path), "a file of no known type was decoded");
    return 0;
  }
  album::DecodedPicture decoded;
  bool held = false;
  Accepts(album::kPictureError, [&] {
    try {
      const album::DibSection& picture = decoded.Decode(path);
      held = true;
      Check(picture.Width() > 0 && picture.Height() > 0, "a decoded picture without pixels");
      Check(decoded.Find(path) == &picture, "the held picture is not found for its file");
      const auto preview = album::FitPreview(picture, 64, 48);
      Check(preview.has_value(), "no preview of a decoded picture");
      const bool fits = picture.Width() <= 64 && picture.Height() <= 48;
      Check(fits ? preview->Width() == picture.Width() && preview->Height() == picture.Height()
                 : preview->Width() == 64 && preview->Height() == 48,
            "the preview does not fit its box");
    } catch (const AutomationError& e) {
      Check(e.source() == album::kPictureSource, "a refusal from another source: " + e.source());
      Check(e.description().starts_with("loadDIBFromPath: "),
            "an unexpected refusal: " + e.description());
      Check(!held && decoded.Held() == nullptr, "a picture held after a refusal");
      throw;
    }
  });
  if (!held) return 0;

  const std::string staging = WorkFolder() + "/staging/";
  std::vector<album::SlideNode> entries(1);
  entries[0].fullPath = path;
  entries[0].slideNumber = 1;
  std::vector<std::string> written;
  Must("rendering the picture", [&] {
    written = album::MakeAllSlideImages(staging, entries, 40, 30, depthAsked, &decoded);
  });
  Check(written.size() == 2 && written[0] == staging + "image1_thumb.png" &&
            written[1] == staging + "image1.png",
        "not the two pictures of the entry");
  const unsigned sizes[2][2] = {{80, 60}, {40, 30}};
  for (int i = 0; i < 2; ++i) {
    const slides::Bitmap back = slides::LoadPicture(written[i]);
    Check(back != nullptr, "a written picture does not read back");
    Check(FreeImage_GetWidth(back.get()) == sizes[i][0] &&
              FreeImage_GetHeight(back.get()) == sizes[i][1],
          "a written picture of another size");
    Check(FreeImage_GetBPP(back.get()) == (depthAsked <= 8 ? 8u : 24u),
          "a written picture of another depth");
  }
  std::filesystem::remove(written[0]);
  std::filesystem::remove(written[1]);
  return 0;
}
