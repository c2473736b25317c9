#include "conduit-doc/tests/doc_fixture.h"

#include <FreeImage.h>

#include <cstring>
#include <filesystem>
#include <ostream>

#include "conduit-doc/document_app_info.h"
#include "conduit-doc/record_codec.h"
#include "conduit-doc/scriv_product.h"
#include "platform/bytes/big_endian.h"
#include "slides/freeimage_bitmap.h"
#include "slides/freeimage_init.h"

namespace brevora::scriv::testing {

namespace stdfs = std::filesystem;

namespace {

std::span<const uint8_t> Span(std::string_view s) {
  return {reinterpret_cast<const uint8_t*>(s.data()), s.size()};
}
std::string Text(const std::vector<uint8_t>& v) { return std::string(v.begin(), v.end()); }

}  // namespace

void PrintTo(const HandheldDoc& d, std::ostream* out) {
  *out << "{v" << d.version << "/" << d.documentVersion << " cat" << int(d.category)
       << (d.modified ? " modified" : "") << " names '" << d.firstName << "' '" << d.secondName
       << "' link '" << d.linkPath << "' " << d.linkMethod << "/" << d.linkOption << "@"
       << d.linkDate << " ed" << int(d.editable) << " comp" << int(d.compression) << " pos"
       << d.position << " bookmarks " << d.bookmarks.size() << " images " << d.images.size()
       << " text '" << d.text.substr(0, 80) << (d.text.size() > 80 ? "..." : "") << "' ("
       << d.text.size() << ")}";
}

TestDatabase DocumentDatabase(const std::string& name, const HandheldDoc& d) {
  DocumentAppInfo block = DocumentAppInfo::Defaults();
  block.SetVersion(d.documentVersion);
  block.SetFirstName(d.firstName);
  block.SetSecondName(d.secondName);
  block.SetWordA(d.wordA);
  block.SetWordB(d.wordB);
  block.SetModified(d.modified);
  block.SetServerSync(d.serverSync);
  block.SetLinkPath(d.linkPath);
  block.SetLinkMethod(d.linkMethod);
  block.SetLinkOption(d.linkOption);
  block.SetLinkDate(d.linkDate);

  TestDatabase db;
  db.name = name;
  db.type = "zIZU";
  db.creator = "Scrv";
  db.version = d.version;
  db.appInfo.assign(block.bytes().begin(), block.bytes().end());
  TextHeader header;
  header.editable = d.editable;
  header.compression = d.compression;
  header.mode = d.mode;
  header.position = d.position;
  header.textLength = static_cast<uint32_t>(d.text.size());
  std::vector<std::string> records;
  for (std::size_t at = 0; at < d.text.size(); at += 3072)
    records.push_back(d.text.substr(at, 3072));
  for (const std::string& r : records) header.sizes.push_back(static_cast<uint16_t>(r.size()));
  uint32_t id = 1;
  const auto add = [&](std::string data) {
    db.records.push_back({d.category, id++, std::move(data)});
  };
  add(Text(header.Bytes()));
  for (const std::string& r : records) add(header.compressed() ? Text(CompressRecord(Span(r))) : r);
  for (const std::string& image : d.images) add(image);
  for (const Bookmark& b : d.bookmarks) {
    std::string record(20, '\0');
    std::memcpy(record.data(), b.name.data(), std::min<std::size_t>(b.name.size(), 16));
    bytes::StoreBigEndian32(reinterpret_cast<uint8_t*>(record.data()) + 16, b.position);
    add(record);
  }
  return db;
}

std::optional<HandheldDoc> ReadDocument(const TestDatabase& db) {
  if (db.type != "zIZU" || db.creator != "Scrv" || db.records.empty()) return std::nullopt;
  const auto block = DocumentAppInfo::Parse(Span(db.appInfo));
  if (!block) return std::nullopt;
  HandheldDoc d;
  d.version = db.version;
  d.documentVersion = block->version();
  d.category = db.records[0].attributes & 0x0F;
  for (const TestRecord& r : db.records) {
    if ((r.attributes & 0x0F) != d.category) return std::nullopt;
  }
  d.modified = block->modified();
  d.serverSync = block->serverSync();
  d.firstName = block->firstName();
  d.secondName = block->secondName();
  d.wordA = block->wordA();
  d.wordB = block->wordB();
  d.linkPath = block->linkPath();
  d.linkMethod = block->linkMethod();
  d.linkOption = block->linkOption();
  d.linkDate = block->linkDate();
  std::string problem;
  const auto header = TextHeader::Parse(Span(db.records[0].data),
                                        static_cast<uint32_t>(db.records.size()), problem);
  if (!header) return std::nullopt;
  d.editable = header->editable;
  d.compression = header->compression;
  d.mode = header->mode;
  d.position = header->position;
  std::size_t index = 1;
  for (; index <= header->sizes.size(); ++index) {
    const std::string& data = db.records[index].data;
    if (header->compressed()) {
      const auto text = DecompressRecord(Span(data));
      if (!text || text->size() != header->sizes[index - 1]) return std::nullopt;
      d.text += Text(*text);
    } else {
      d.text += data;
    }
  }
  if (d.text.size() != header->textLength) return std::nullopt;
  for (; index < db.records.size(); ++index) {
    const std::string& data = db.records[index].data;
    if (data.size() == 20) {
      d.bookmarks.push_back(
          {data.substr(0, std::min<std::size_t>(16, data.find('\0'))),
           bytes::LoadBigEndian32(reinterpret_cast<const uint8_t*>(data.data()) + 16)});
    } else if (d.bookmarks.empty()) {
      d.images.push_back(data);
    } else {
      return std::nullopt;  // an image record after a bookmark
    }
  }
  return d;
}

std::string DesktopText(const DesktopDoc& d) {
  std::string out;
  const auto line = [&](const std::string& text) { out += text + "\r\n"; };
  line(d.modified ? "1" : "0");
  line(std::to_string(d.version));
  line("1");
  if (d.version >= 3) {
    line(std::to_string(d.linkMethod));
    line("\"" + d.linkPath + "\"");
    line(std::to_string(d.linkDate));
    line(std::to_string(d.linkOption));
  }
  line(std::to_string(d.serverSync));
  line(std::to_string(d.editable));
  line(std::to_string(d.compression));
  line(std::to_string(d.mode));
  line("\"" + d.firstName + "\"");
  line("\"" + d.secondName + "\"");
  line(std::to_string(static_cast<int32_t>(d.position)));
  line(std::to_string(d.wordA));
  line(std::to_string(d.wordB));
  line(std::to_string(d.bookmarks.size()));
  for (const Bookmark& b : d.bookmarks) {
    line("\"" + b.name + "\"");
    line(std::to_string(static_cast<int32_t>(b.position)));
  }
  line("");
  return out + d.text;
}

void WritePicture(const std::string& path, int width, int height, uint8_t red, uint8_t green,
                  uint8_t blue) {
  slides::FreeImageLibrary library;
  slides::Bitmap picture(FreeImage_Allocate(width, height, 24));
  ASSERT_TRUE(picture);
  for (int y = 0; y < height; ++y) {
    BYTE* line = FreeImage_GetScanLine(picture.get(), y);
    for (int x = 0; x < width; ++x) {
      line[x * 3 + FI_RGBA_RED] = red;
      line[x * 3 + FI_RGBA_GREEN] = green;
      line[x * 3 + FI_RGBA_BLUE] = blue;
    }
  }
  const FREE_IMAGE_FORMAT format = FreeImage_GetFIFFromFilename(path.c_str());
  stdfs::create_directories(stdfs::path(path).parent_path());
  ASSERT_TRUE(FreeImage_Save(format, picture.get(), path.c_str(), 0)) << path;
}

DocTest::DocTest() : conduit::testing::ConduitTest(ScrivaneProduct()) {}

std::optional<HandheldDoc> DocTest::HandheldCopy(const std::string& name) const {
  const auto db = HandheldDatabase(name);
  if (!db) return std::nullopt;
  return ReadDocument(*db);
}

}  // namespace brevora::scriv::testing
