// Fuzzes the pictures of a document's "scriv_temp" folder where they reach
// FreeImage: the bytes as the picture an "<img" tag names, captured as the
// document conduit writes it to the handheld (CaptureImageBits) and cut into
// image records. Nothing raises. A capture is a 16-bit 5-6-5 bitmap file
// image that holds together: "BM", its own size, the bits at 66, an
// information header of 16 bits with bit fields, a width and height of half
// the picture's (a side of 1 stays 1; as its header says, when the format can
// tell) and the rows of its stride; its records are at most 256, each with
// the picture's name, its index from 0 and their number, and carry the image
// whole. A file FreeImage can't read is no capture.
#include <FreeImage.h>

#include <algorithm>
#include <string>
#include <vector>

#include "conduit-doc/document_db_format.h"
#include "conduit-doc/image_capture.h"
#include "conduit-doc/image_records.h"
#include "conduit-doc/image_tags.h"
#include "fuzz/file_input.h"
#include "fuzz/pictures.h"
#include "platform/bytes/big_endian.h"

namespace brevora::fuzz {
namespace {

namespace fmt = brevora::scriv_format;

uint32_t Little32(const std::vector<uint8_t>& b, std::size_t at) {
  return b[at] | b[at + 1] << 8 | b[at + 2] << 16 | static_cast<uint32_t>(b[at + 3]) << 24;
}
uint16_t Little16(const std::vector<uint8_t>& b, std::size_t at) {
  return static_cast<uint16_t>(b[at] | b[at + 1] << 8);
}

const scriv::ImageObject& Images() {
  static const scriv::ImageObject images = [] {
    scriv::ImageObject object = scriv::CreateImageObject();
    LeaveOutCameraRaw();
    return object;
  }();
  return images;
}

// The picture's size as its header says; 0 x 0 when the format can't tell
// without decoding.
std::pair<uint32_t, uint32_t> HeaderSize(const std::string& path) {
  const FREE_IMAGE_FORMAT format = FreeImage_GetFileType(path.c_str(), 0);
  if (format == FIF_UNKNOWN || !FreeImage_FIFSupportsNoPixels(format)) return {0, 0};
  const slides::Bitmap header(FreeImage_Load(format, path.c_str(), FIF_LOAD_NOPIXELS));
  if (!header) return {0, 0};
  return {FreeImage_GetWidth(header.get()), FreeImage_GetHeight(header.get())};
}

}  // namespace

std::vector<Seed> Seeds(const std::string&) {
  (void)Images();
  return PictureSeeds();
}

}  // namespace brevora::fuzz

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  brevora::fuzz::MakeWorkFolder();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace brevora;
  using namespace brevora::fuzz;
  const scriv::ImageObject& images = Images();
  const std::string reference = "holiday/harbour.png";
  const std::string path = WriteInput("harbour.png", data, size);
  if (!SmallEnough(path)) return 0;

  std::optional<std::vector<uint8_t>> bits;
  Must("capturing the picture", [&] { bits = scriv::CaptureImageBits(images, path); });
  if (!bits) return 0;
  const std::vector<uint8_t>& b = *bits;
  Check(FreeImage_GetFileType(path.c_str(), 0) != FIF_UNKNOWN,
        "a file of no known type was captured");
  Check(b.size() >= fmt::kBitmapBitsOffset && b[0] == 'B' && b[1] == 'M',
        "not a bitmap file image");
  Check(Little32(b, 2) == b.size() && Little32(b, 10) == fmt::kBitmapBitsOffset, "the file header");
  const std::size_t info = fmt::kBitmapFileHeaderSize;
  const uint32_t width = Little32(b, info + 4);
  const uint32_t height = Little32(b, info + 8);
  Check(Little32(b, info) == fmt::kBitmapInfoHeaderSize && Little16(b, info + 12) == 1 &&
            Little16(b, info + 14) == fmt::kBitmapBitsPerPixel &&
            Little32(b, info + 16) == fmt::kBitmapBitFields,
        "the information header");
  Check(width > 0 && height > 0, "a capture without pixels");
  Check(b.size() == fmt::kBitmapBitsOffset + scriv::BitmapStride(width) * height &&
            Little32(b, info + 20) == b.size() - fmt::kBitmapBitsOffset,
        "the rows are not those of the size");
  const std::size_t masks = info + fmt::kBitmapInfoHeaderSize;
  Check(Little32(b, masks) == 0xF800 && Little32(b, masks + 4) == 0x07E0 &&
            Little32(b, masks + 8) == 0x001F,
        "not 5-6-5 masks");
  const auto [pictureWidth, pictureHeight] = HeaderSize(path);
  if (pictureWidth > 0) {
    Check(width == std::max<uint32_t>(1, pictureWidth / 2) &&
              height == std::max<uint32_t>(1, pictureHeight / 2),
          "not half the picture's size");
  }

  const auto records = scriv::ImageDataRecords(scriv::PictureName(reference), b);
  Check(!records.empty() && records.size() <= fmt::kMaxChunks,
        "a capture that does not fit its records");
  std::vector<uint8_t> joined;
  for (std::size_t i = 0; i < records.size(); ++i) {
    const std::vector<uint8_t>& r = records[i];
    Check(
        r.size() > fmt::kChunkHeaderSize && r.size() <= fmt::kChunkHeaderSize + fmt::kMaxChunkData,
        "a record of another size");
    Check(r[0] == fmt::kImageChunkMark && r[fmt::kChunkIndexOffset] == i &&
              bytes::LoadBigEndian16(r.data() + fmt::kChunkCountOffset) == records.size(),
          "a chunk header");
    Check(std::string(reinterpret_cast<const char*>(r.data() + fmt::kChunkNameOffset)) ==
              "harbour.png",
          "the picture's name");
    joined.insert(joined.end(), r.begin() + fmt::kChunkHeaderSize, r.end());
  }
  Check(joined == b, "the records do not carry the image");
  return 0;
}
