#pragma once
// Test support: databases of a device folder (platform/hotsync/device.h) as
// plain values, to set up a handheld before a HotSync and to look at it after.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace brevora::testing {

struct TestRecord {
  uint8_t attributes = 0;  // high four bits attributes, low four category
  uint32_t id = 0;
  std::string data;
  bool operator==(const TestRecord&) const = default;
};

struct TestDatabase {
  std::string name;
  std::string type = "DATA";
  std::string creator = "test";
  uint16_t version = 1;
  uint16_t attributes = 0;
  std::string appInfo;
  std::string sortInfo;
  std::vector<TestRecord> records;
  // Contents only: names, codes, version, attributes, blocks and records.
  bool operator==(const TestDatabase&) const = default;
};

// A database of that name, type "DATA", creator "test", version 1, with the
// given records and nothing else.
TestDatabase Database(std::string name, std::vector<TestRecord> records = {});

// Writes `db` into the device folder under its encoded file name, laid out as
// the device lays out its own files.
void PutDatabase(const std::string& folder, const TestDatabase& db);
// The database of that name; nullopt when there is none or its file is damaged.
std::optional<TestDatabase> GetDatabase(const std::string& folder, const std::string& name);
// The names of the readable databases of the folder, sorted.
std::vector<std::string> DatabaseNames(const std::string& folder);

// The hidden files under `folder`, at any depth, as paths relative to it,
// sorted; the HotSync lock files (".hotsync.lock") left out. What a HotSync
// must not leave behind in a device folder or a user's folders: temporary
// files of its writes.
std::vector<std::string> HiddenFiles(const std::string& folder);

}  // namespace brevora::testing
