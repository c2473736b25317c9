#include "testing/handheld_folder.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <span>
#include <stdexcept>

#include "platform/hotsync/database_reader.h"
#include "platform/hotsync/database_writer.h"
#include "platform/hotsync/device_names.h"
#include "platform/hotsync/run_lock.h"

namespace brevora::testing {
namespace {

using hotsync::DatabaseHeader;
using hotsync::DatabaseReader;
using hotsync::DatabaseWriter;

std::span<const uint8_t> Bytes(const std::string& s) {
  return std::span(reinterpret_cast<const uint8_t*>(s.data()), s.size());
}

template <std::size_t N>
void Put(std::array<uint8_t, N>& field, const std::string& text) {
  field.fill(0);
  std::copy_n(text.begin(), std::min(text.size(), N), field.begin());
}

std::optional<TestDatabase> ReadFile(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return std::nullopt;
  const std::string file((std::istreambuf_iterator<char>(in)), {});
  const auto layout = DatabaseReader::Parse(Bytes(file), file.size());
  if (!layout) return std::nullopt;
  const DatabaseHeader& h = layout->header;
  TestDatabase db;
  db.name.assign(h.name.begin(), std::find(h.name.begin(), h.name.end(), 0));
  db.type.assign(h.type.begin(), h.type.end());
  db.creator.assign(h.creator.begin(), h.creator.end());
  db.version = h.version;
  db.attributes = h.attributes;
  auto slice = [&](const hotsync::ByteRange& r) { return file.substr(r.begin, r.size()); };
  db.appInfo = slice(layout->appInfo);
  db.sortInfo = slice(layout->sortInfo);
  for (const auto& r : layout->records)
    db.records.push_back({r.attributes, r.uniqueID, slice(r.data)});
  return db;
}

}  // namespace

TestDatabase Database(std::string name, std::vector<TestRecord> records) {
  TestDatabase db;
  db.name = std::move(name);
  db.records = std::move(records);
  return db;
}

void PutDatabase(const std::string& folder, const TestDatabase& db) {
  DatabaseHeader h;
  Put(h.name, db.name);
  Put(h.type, db.type);
  Put(h.creator, db.creator);
  h.version = db.version;
  h.attributes = db.attributes;
  h.creationDate = h.modificationDate = 3'000'000'000u;
  std::vector<DatabaseWriter::Record> records;
  for (const TestRecord& r : db.records) {
    records.push_back({r.attributes, r.id, Bytes(r.data)});
    h.uniqueIDSeed = std::max(h.uniqueIDSeed, r.id);
  }
  const DatabaseWriter writer(h, Bytes(db.appInfo), Bytes(db.sortInfo), std::move(records),
                              DatabaseWriter::Placement::Packed);
  const std::vector<uint8_t> bytes = writer.Bytes();
  std::ofstream out(std::filesystem::path(folder) / hotsync::DatabaseFileName(db.name),
                    std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(bytes.data()),
            static_cast<std::streamsize>(bytes.size()));
  if (!out.flush()) throw std::runtime_error("can't write a test database into " + folder);
}

std::optional<TestDatabase> GetDatabase(const std::string& folder, const std::string& name) {
  auto db = ReadFile(std::filesystem::path(folder) / hotsync::DatabaseFileName(name));
  if (db && db->name == name) return db;
  return std::nullopt;
}

std::vector<std::string> DatabaseNames(const std::string& folder) {
  std::vector<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(folder)) {
    const std::string file = entry.path().filename().string();
    if (file.starts_with('.') || !file.ends_with(".pdb")) continue;
    if (auto db = ReadFile(entry.path())) names.push_back(db->name);
  }
  std::sort(names.begin(), names.end());
  return names;
}

std::vector<std::string> HiddenFiles(const std::string& folder) {
  std::vector<std::string> files;
  if (!std::filesystem::exists(folder)) return files;
  for (const auto& entry : std::filesystem::recursive_directory_iterator(folder)) {
    const std::string name = entry.path().filename().string();
    if (entry.is_directory() || !name.starts_with('.') || name == hotsync::kRunLockFileName)
      continue;
    files.push_back(std::filesystem::relative(entry.path(), folder).string());
  }
  std::sort(files.begin(), files.end());
  return files;
}

}  // namespace brevora::testing
