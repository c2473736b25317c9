#pragma once
// DeviceDatabase: one database of the device folder while it is open. Opening
// reads the header, the record list and the blocks; a record's data is read
// from the file the first time it is asked for. Changes stay in memory until
// Save writes the whole database back through a temporary file + rename.
//
// Results are Sync Manager codes (sync_manager.h). Record data is bounded by the
// file: nothing outside a record's own range is ever read.
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "platform/hotsync/database_reader.h"
#include "platform/hotsync/unique_fd.h"

namespace brevora::hotsync {

class DeviceDatabase {
 public:
  struct RecordInfo {
    uint8_t attributes = 0;  // the whole byte: high four bits attributes, low four category
    uint32_t id = 0;
    uint32_t size = 0;
  };

  // Opens the file `fileName` of the folder `dir`. kSyncErrNotFound when it is
  // missing, kSyncErrDamaged when it does not hold together, kSyncErrIo.
  static int32_t Open(int dir, const std::string& fileName, bool writable,
                      std::unique_ptr<DeviceDatabase>& out);
  // A new, empty database kept as the file `fileName` (which its creator writes).
  static std::unique_ptr<DeviceDatabase> Empty(const std::string& fileName,
                                               const DatabaseHeader& header);

  DeviceDatabase(const DeviceDatabase&) = delete;
  DeviceDatabase& operator=(const DeviceDatabase&) = delete;

  const std::string& fileName() const { return fileName_; }
  const DatabaseHeader& header() const { return header_; }
  std::string name() const;
  bool writable() const { return writable_; }
  void SetWritable(bool writable) { writable_ = writable; }
  bool changed() const { return changed_; }
  // Made by Empty and not saved yet: no file of it exists.
  bool isNew() const { return new_; }
  // Lets the file go until a record is read (the file is then opened again
  // from `dir`): a listed database keeps what was read without holding a
  // descriptor.
  void ReleaseFile(int dir);

  // Blocks; empty when absent. Setting a block to what it holds changes nothing.
  const std::vector<uint8_t>& appInfo() const { return appInfo_; }
  const std::vector<uint8_t>& sortInfo() const { return sortInfo_; }
  void SetAppInfo(std::span<const uint8_t> bytes);
  void SetSortInfo(std::span<const uint8_t> bytes);

  std::size_t recordCount() const { return records_.size(); }
  RecordInfo Info(std::size_t index) const;
  std::optional<std::size_t> IndexOf(uint32_t id) const;
  // The data of record `index`, read from the file when not read yet.
  int32_t Data(std::size_t index, std::span<const uint8_t>& data);
  // Appends a record under a new unique id; kSyncErrTooLarge when the count
  // or the ids are used up.
  int32_t Append(uint8_t attributes, std::span<const uint8_t> data, uint32_t& id);
  void Replace(std::size_t index, uint8_t attributes, std::span<const uint8_t> data);
  void Erase(std::size_t index);

  // The whole database as its file's bytes are written: reads every record not
  // read yet, then hands the bytes to WriteWholeFile (device_file_io.h).
  // `modificationDate` is set in the header and the modification number goes up
  // when anything changed. kSyncErrTooLarge when the file can't hold it.
  // `beforeRename` is handed to WriteWholeFile.
  int32_t Save(int dir, bool replace, uint32_t modificationDate,
               const std::function<void()>& beforeRename = {});

 private:
  struct Record {
    uint8_t attributes = 0;
    uint32_t id = 0;
    ByteRange range;  // in the file, until loaded
    std::optional<std::vector<uint8_t>> data;
  };

  DeviceDatabase() = default;
  // Reads record `index` from the file (see Data).
  int32_t Load(std::size_t index);

  std::string fileName_;
  bool writable_ = true;
  bool changed_ = false;
  bool new_ = false;
  DatabaseHeader header_;
  std::vector<uint8_t> appInfo_;
  std::vector<uint8_t> sortInfo_;
  std::vector<Record> records_;
  uint32_t highestId_ =
      0;          // the highest record id ever held, so that Append needn't look at every record
  UniqueFd fd_;   // the file the records are read from; none for a new database
  int dir_ = -1;  // the folder to open it from again after ReleaseFile
};

}  // namespace brevora::hotsync
