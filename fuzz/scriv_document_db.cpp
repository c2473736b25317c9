// Fuzzes the handheld document database as the document conduit reads it:
// the input is a database (a version byte, a category byte, the block, then
// records, each after a 2-byte big-endian length), put into a device folder
// and read through CHandheldDocument or CHandheldDocument_V5: the block
// (ReadState), then the whole document onto a desktop file (CopyDocument). Bad data is refused with
// a reason, never read past a bound; a document that was read gives a desktop
// file that reads back with its bookmarks, and that file goes to the handheld
// again and reads back with the same text.
#include <filesystem>
#include <string>
#include <vector>

#include "conduit-doc/document_app_info.h"
#include "conduit-doc/handheld_document.h"
#include "conduit-doc/html_records.h"
#include "conduit-doc/local_document.h"
#include "conduit-doc/record_codec.h"
#include "conduit-doc/scv_reader.h"
#include "conduit-doc/scv_writer.h"
#include "conduit-doc/text_header.h"
#include "fuzz/file_input.h"
#include "fuzz/fuzz_target.h"
#include "platform/hotsync/database_writer.h"
#include "platform/hotsync/device.h"
#include "platform/hotsync/device_names.h"

namespace brevora::fuzz {
namespace {

using namespace brevora::hotsync;
using namespace brevora::scriv;
using namespace brevora::conduit;

struct Input {
  uint16_t version = 5;
  uint8_t category = 0;
  std::string block;
  std::vector<std::string> records;
};

std::string Encode(const Input& in) {
  std::string out;
  out += static_cast<char>(in.version);
  out += static_cast<char>(in.category);
  const auto length = [&](std::size_t n) {
    out += static_cast<char>(n >> 8);
    out += static_cast<char>(n);
  };
  length(in.block.size());
  out += in.block;
  for (const std::string& r : in.records) {
    length(r.size());
    out += r;
  }
  return out;
}

Input Decode(std::string_view bytes) {
  Input in;
  if (bytes.size() < 2) return in;
  in.version = static_cast<uint8_t>(bytes[0]);
  in.category = static_cast<uint8_t>(bytes[1]) & 0x0F;
  bytes.remove_prefix(2);
  const auto piece = [&](std::string& out) {
    if (bytes.size() < 2) return false;
    const std::size_t n = std::min<std::size_t>(
        static_cast<uint8_t>(bytes[0]) << 8 | static_cast<uint8_t>(bytes[1]), bytes.size() - 2);
    out = std::string(bytes.substr(2, n));
    bytes.remove_prefix(2 + n);
    return true;
  };
  piece(in.block);
  std::string record;
  while (in.records.size() < 400 && piece(record)) in.records.push_back(record);
  return in;
}

std::span<const uint8_t> Span(std::string_view s) {
  return {reinterpret_cast<const uint8_t*>(s.data()), s.size()};
}

// Writes the database into the device folder beside the input files.
void PutDatabase(const Input& in) {
  DatabaseHeader header;
  const std::string name = "Fuzz";
  std::copy(name.begin(), name.end(), header.name.begin());
  header.type = {'z', 'I', 'Z', 'U'};
  header.creator = {'S', 'c', 'r', 'v'};
  header.version = in.version;
  std::vector<DatabaseWriter::Record> records;
  uint32_t id = 0;
  for (const std::string& r : in.records) records.push_back({in.category, ++id, Span(r)});
  const DatabaseWriter writer(header, Span(in.block), {}, std::move(records),
                              DatabaseWriter::Placement::Packed);
  const std::vector<uint8_t> bytes = writer.Bytes();
  WriteInput("../device/" + DatabaseFileName(name), bytes.data(), bytes.size());
}

Input Document(const std::string& text, bool compressed, std::size_t block,
               std::vector<std::string> extra) {
  Input in;
  DocumentAppInfo info = DocumentAppInfo::Defaults();
  info.SetFirstName("Story");
  info.SetLinkPath("/home/u/story.doc");
  info.SetLinkMethod(1);
  info.SetLinkDate(3900000000u);
  in.block = std::string(info.bytes().begin(), info.bytes().end()).substr(0, block);
  TextHeader header;
  header.compression = compressed ? 2 : 1;
  header.textLength = static_cast<uint32_t>(text.size());
  const auto pieces = CutRecords(text);
  for (std::string_view p : pieces) header.sizes.push_back(static_cast<uint16_t>(p.size()));
  const auto bytes = header.Bytes();
  in.records.push_back(std::string(bytes.begin(), bytes.end()));
  for (std::string_view p : pieces) {
    const auto c = CompressRecord(Span(p));
    in.records.push_back(compressed ? std::string(c.begin(), c.end()) : std::string(p));
  }
  for (std::string& e : extra) in.records.push_back(std::move(e));
  return in;
}

}  // namespace

std::vector<Seed> Seeds(const std::string&) {
  std::string story = "<html><body><p>Once upon a time &amp; long ago.</p>\n";
  while (story.size() < 7000) story += "<p>And then <b>more</b> happened.</p>\n";
  const std::string bookmark = std::string("Ch. 1\0\0\0\0\0\0\0\0\0\0\0\0\0\0\x01\x00", 20);
  return {
      {"empty.bin", Encode(Document("", true, 1020, {}))},
      {"story.bin", Encode(Document(story, true, 1020, {std::string("\x02\x00", 2), bookmark}))},
      {"plain.bin", Encode(Document("<p>plain records</p>", false, 1020, {bookmark}))},
      {"old400.bin", Encode(Document("<p>old</p>", true, 400, {}))},
      {"noblock.bin", Encode(Document("<br>x", true, 0, {}))},
  };
}

}  // namespace brevora::fuzz

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  brevora::fuzz::MakeWorkFolder();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace brevora::fuzz;
  using namespace brevora::scriv;
  using namespace brevora::conduit;
  const std::string folder = WorkFolder() + "/device";
  std::filesystem::remove_all(folder);
  std::filesystem::create_directories(folder);
  const Input in = Decode(std::string_view(reinterpret_cast<const char*>(data), size));
  PutDatabase(in);

  Must("the document read", [&] {
    brevora::hotsync::DeviceSession session(folder);
    auto db = in.version == 5 ? std::unique_ptr<CHandheldDocument>(new CHandheldDocument_V5)
                              : std::make_unique<CHandheldDocument>(in.version);
    Check(db->Open("Fuzz", ""), "the database opens");
    if (!db->ReadState()) {
      Check(!db->Refusal().empty(), "a block refused without a reason");
      return;
    }
    Check(db->GetCategoryID() == (in.records.empty() ? 0 : in.category),
          "the category is record 0's");
    CLocalDocument local;
    CDocumentHeader header;
    db->CopyHeaderTo(header);
    local.WriteHeader(header);
    std::string problem;
    const CopyStep step = db->CopyDocument(local, problem);
    if (step == CopyStep::Refused) {
      Check(!problem.empty(), "bad data refused without a reason");
      return;
    }
    Check(step == CopyStep::Done, "a device failure while reading a good folder");
    const std::string file = local.Bytes();
    std::string why;
    const auto read = ScvReader(file).Read({"Fuzz.scv", true}, why);
    Check(read.has_value(), "the desktop file written does not read back: " + why);
    // The link path as a quoted line can hold it: no double quote, no line break.
    const std::string quoted = brevora::scriv::ScvWriter::Quoted(db->appInfo().linkPath());
    Check(read->header.linkPath == quoted.substr(1, quoted.size() - 2), "the link path");
    Check(read->info.bookmarkCount == read->bookmarks.size(), "the bookmark count");
    db->Close();

    // The desktop file goes to the handheld again: the same text as the handheld holds it.
    const std::string path = WorkFolder() + "/files/Fuzz.scv";
    WriteInput("Fuzz.scv", reinterpret_cast<const uint8_t*>(file.data()), file.size());
    CLocalDocumentEx again;
    Check(again.OpenPath(path) == CLocalDocument::OpenResult::Opened, "the desktop file opens");
    if (!again.ReadDocument(why)) {
      Check(!why.empty(), "a desktop file refused without a reason");
      return;
    }
    CHandheldDocument_V5 copy;
    Check(copy.OpenOrCreate("Copy", "", 1), "a new database");
    Check(again.WriteToDevice(copy) == CopyStep::Done, "the document is written");
    CLocalDocument back;
    back.WriteHeader(header);
    Check(copy.CopyDocument(back, problem) == CopyStep::Done,
          "the written document reads back: " + problem);
    const auto reread = ScvReader(back.Bytes()).Read({"Copy.scv", true}, why);
    Check(reread && reread->bookmarks == read->bookmarks, "the bookmarks come back");
    Check(reread->text == DeviceText(read->text), "the text comes back as the handheld holds it");
    copy.Close();
  });
  return 0;
}
