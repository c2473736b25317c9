// The picture the album keeps decoded: held while its file stays as it was,
// decoded afresh when the file changes, nothing held after a failure; and a
// save that takes it instead of decoding the file again writes the same files.
#include "album/decoded_picture.h"

#include <FreeImage.h>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <string>
#include <vector>

#include "album/image_pipeline.h"
#include "album/picture_messages.h"
#include "platform/fs/files.h"
#include "slides/freeimage_bitmap.h"
#include "testing/caught_error.h"
#include "testing/temp_home.h"

namespace brevora::album {
namespace {

using ::brevora::testing::ErrorOf;

class Decoded : public ::testing::Test {
 protected:
  // A 24-bit BMP of 40 x 30 of one colour: pictures of one size have files of
  // one size.
  std::string Bmp(const std::string& name, uint8_t blue) const {
    slides::Bitmap b(FreeImage_Allocate(40, 30, 24));
    for (int y = 0; y < 30; ++y) {
      BYTE* line = FreeImage_GetScanLine(b.get(), y);
      for (int x = 0; x < 40; ++x) {
        line[x * 3 + FI_RGBA_BLUE] = blue;
        line[x * 3 + FI_RGBA_GREEN] = static_cast<BYTE>(x * 6);
        line[x * 3 + FI_RGBA_RED] = static_cast<BYTE>(y * 8);
      }
    }
    const std::string path = dir_ + name;
    EXPECT_TRUE(FreeImage_Save(FIF_BMP, b.get(), path.c_str(), 0));
    return path;
  }
  static uint8_t BlueOf(const DibSection& dib) { return dib.Row(0)[0]; }

  PictureLibrary library_;
  std::string dir_ = brevora::testing::MakeTempDir("decoded") + "/";
};

TEST_F(Decoded, HeldWhileTheFileStaysAsItWas) {
  const std::string a = Bmp("a.bmp", 10), b = Bmp("b.bmp", 20);
  DecodedPicture decoded;
  EXPECT_EQ(decoded.Held(), nullptr);
  EXPECT_EQ(decoded.Find(a), nullptr);

  const DibSection& first = decoded.Decode(a);
  EXPECT_EQ(BlueOf(first), 10);
  EXPECT_EQ(&decoded.Decode(a), &first) << "not decoded again";
  EXPECT_EQ(decoded.Find(a), &first);
  EXPECT_EQ(decoded.Held(), &first);
  EXPECT_EQ(decoded.Find(b), nullptr) << "another file";

  EXPECT_EQ(BlueOf(decoded.Decode(b)), 20);
  EXPECT_EQ(decoded.Find(a), nullptr) << "one picture is held";
  decoded.Clear();
  EXPECT_EQ(decoded.Held(), nullptr);
  EXPECT_EQ(decoded.Find(b), nullptr);
}

TEST_F(Decoded, ChangedFileIsDecodedAfresh) {
  struct Change {
    const char* what;
    void (*apply)(const std::string& path, const std::string& other);
  };
  const Change changes[] = {
      {"rewritten in place, a new time",
       [](const std::string& path, const std::string& other) {
         const std::vector<uint8_t> bytes = fs::ReadWholeFile(other);
         FILE* f = std::fopen(path.c_str(), "r+b");
         ASSERT_NE(f, nullptr);
         std::fwrite(bytes.data(), 1, bytes.size(), f);
         std::fclose(f);
         const timespec times[2] = {{0, UTIME_OMIT}, {1234567, 0}};
         ASSERT_EQ(utimensat(AT_FDCWD, path.c_str(), times, 0), 0);
       }},
      {"replaced by another file",
       [](const std::string& path, const std::string& other) {
         fs::RemoveFile(path);
         fs::CopyFile(other, path, /*replace=*/false);
       }},
      {"removed", [](const std::string& path, const std::string&) { fs::RemoveFile(path); }},
  };
  for (const Change& c : changes) {
    SCOPED_TRACE(c.what);
    const std::string path = Bmp("picture.bmp", 10), other = Bmp("other.bmp", 99);
    DecodedPicture decoded;
    decoded.Decode(path);
    c.apply(path, other);
    EXPECT_EQ(decoded.Find(path), nullptr);
    if (fs::FileExists(path)) {
      EXPECT_EQ(BlueOf(decoded.Decode(path)), 99);
    }
  }
}

TEST_F(Decoded, FailedDecodeHoldsNothing) {
  const std::string good = Bmp("good.bmp", 10);
  fs::AtomicWrite(dir_ + "notes.txt", std::string_view("Holiday notes\n"));
  DecodedPicture decoded;
  decoded.Decode(good);
  const auto e = ErrorOf([&] { decoded.Decode(dir_ + "notes.txt"); });
  EXPECT_EQ(e.number(), 32751);
  EXPECT_EQ(e.description(), "loadDIBFromPath: Attempted to load invalid image file");
  EXPECT_EQ(decoded.Held(), nullptr);
  EXPECT_EQ(decoded.Find(good), nullptr);
}

// A save given the picture held takes it instead of decoding the file: the
// files it writes are those a decode gives. (To see that the file is not read,
// it is given other bytes of the same size and its time put back: a change
// the stamp can't see, so the save still writes the held picture.)
TEST_F(Decoded, SaveTakesTheHeldPicture) {
  const std::string path = Bmp("picture.bmp", 10), other = Bmp("other.bmp", 200);
  auto save = [&](const std::string& name, const DecodedPicture* decoded) {
    const std::string out = brevora::testing::MakeTempDir(name) + "/";
    std::vector<SlideNode> entries(1);
    entries[0].fullPath = path;
    entries[0].slideNumber = 1;
    MakeAllSlideImages(out, entries, 320, 240, 8, decoded);
    return std::vector{fs::ReadWholeFile(out + "image1_thumb.png"),
                       fs::ReadWholeFile(out + "image1.png")};
  };
  const auto fromFile = save("from-file", nullptr);
  DecodedPicture decoded;
  decoded.Decode(path);
  EXPECT_EQ(save("held", &decoded), fromFile);

  struct stat before {};
  ASSERT_EQ(stat(path.c_str(), &before), 0);
  const std::vector<uint8_t> bytes = fs::ReadWholeFile(other);
  ASSERT_EQ(bytes.size(), static_cast<size_t>(before.st_size));
  FILE* f = std::fopen(path.c_str(), "r+b");
  ASSERT_NE(f, nullptr);
  std::fwrite(bytes.data(), 1, bytes.size(), f);
  std::fclose(f);
  const timespec times[2] = {before.st_atim, before.st_mtim};
  ASSERT_EQ(utimensat(AT_FDCWD, path.c_str(), times, 0), 0);
  ASSERT_NE(decoded.Find(path), nullptr);
  EXPECT_EQ(save("held-again", &decoded), fromFile) << "the held picture was used";
  EXPECT_NE(save("decoded-again", nullptr), fromFile) << "the file holds another picture now";
}

}  // namespace
}  // namespace brevora::album
