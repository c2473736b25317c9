#pragma once
// HandheldDatabase: a handheld database held in memory (header fields, application-info and
// sort-info blocks, records) that reads and writes the standard Palm database
// file (layout in platform/hotsync/database_format.h).
//
// A caller that builds a database sets the name, type, creator, version,
// attributes, dates and blocks, adds records to Records() and calls WriteFile,
// which works out the record count and every offset. A caller that reads calls
// ReadFile and takes the fields, the blocks and the records; records read are
// keyed "K" followed by their unique id (a later record with an id already
// present is added without a key).
//
// Text is code-page text (one byte per character). Dates are Visual Basic dates
// (days since 1899-12-30, local time) stored as whole seconds since 1904-01-01.
#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "core/big_endian_number.h"
#include "core/database_record.h"
#include "platform/automation/collection.h"

namespace brevora::core {

using RecordCollection = Collection<RecordRef>;

class HandheldDatabase {
 public:
  HandheldDatabase();
  ~HandheldDatabase();
  HandheldDatabase(const HandheldDatabase&) = delete;
  HandheldDatabase& operator=(const HandheldDatabase&) = delete;

  // The characters before the first zero byte. The let takes at most 31
  // characters (380 "PDB.PDBName" otherwise, the stored name unchanged).
  std::string Name() const;
  void SetName(std::string_view name);
  // Always the 4 bytes as 4 characters (a zero byte gives a NUL). The lets take
  // at most 4 characters, zero-padded (380 otherwise, the value unchanged).
  std::string Type() const;
  void SetType(std::string_view type);
  std::string Creator() const;
  void SetCreator(std::string_view creator);

  BigEndian16& Attributes() { return attributes_; }
  BigEndian16& Version() { return version_; }
  BigEndian16& RecordCount() { return recordCount_; }
  BigEndian32& ModificationNumber() { return modificationNumber_; }
  BigEndian32& AppInfoID() { return appInfoID_; }
  BigEndian32& SortInfoID() { return sortInfoID_; }
  BigEndian32& UniqueIDSeed() { return uniqueIDSeed_; }
  BigEndian32& NextRecordListID() { return nextRecordListID_; }

  // Visual Basic dates. The lets round to the nearest second; a date before
  // 1904-01-01 or after 2040-02-06 06:28:15 is an overflow (6).
  double CreationDate() const;
  void SetCreationDate(double date);
  double ModificationDate() const;
  void SetModificationDate(double date);
  double LastBackupDate() const;
  void SetLastBackupDate(double date);

  // The blocks as byte strings; empty when absent.
  const std::string& AppInfoBlock() const { return appInfoBlock_; }
  void SetAppInfoBlock(std::string block) { appInfoBlock_ = std::move(block); }
  const std::string& SortInfoBlock() const { return sortInfoBlock_; }
  void SetSortInfoBlock(std::string block) { sortInfoBlock_ = std::move(block); }

  // The records, in list order.
  RecordCollection& Records() { return records_; }
  const RecordCollection& Records() const { return records_; }

  // Replaces the whole database by the file's contents; with readData false the
  // records get offsets, attributes and ids but no data. A file whose structure
  // does not hold together is refused (321 "Invalid file format"). Any failure
  // raises its own number with source "PDB.ReadFile" and the message
  // "Error reading PDB File (<fileName>)" CR LF <inner description>, and leaves
  // the database as it was. Returns true. With `keyed` false the records get
  // no "K<id>" keys: a caller that only walks them in order saves building the
  // keys (most of the time of reading a database of many small records).
  bool ReadFile(std::string_view fileName, bool readData, bool keyed = true);

  // Sets the record count, the block offsets and the records' data offsets
  // (and a modification date earlier than the creation date to the creation
  // date), then replaces the file through a temporary file renamed over it.
  // A database that cannot be written (more than 65535 records, more than 4 GiB)
  // is refused before the disk is touched. Failures raise their own number with
  // source "PDB.WriteFile" and "Error writing PDB File (<fileName>)" CR LF
  // <inner description>; the old file is then left as it was. Returns true.
  bool WriteFile(std::string_view fileName);

 private:
  friend class HandheldDatabaseReader;
  friend class HandheldDatabaseWriter;

  std::array<uint8_t, 32> name_{};
  std::array<uint8_t, 4> type_{};
  std::array<uint8_t, 4> creator_{};
  BigEndian16 attributes_;
  BigEndian16 version_;
  BigEndian16 recordCount_;
  BigEndian32 creationDate_;
  BigEndian32 modificationDate_;
  BigEndian32 lastBackupDate_;
  BigEndian32 modificationNumber_;
  BigEndian32 appInfoID_;
  BigEndian32 sortInfoID_;
  BigEndian32 uniqueIDSeed_;
  BigEndian32 nextRecordListID_;
  std::string appInfoBlock_;
  std::string sortInfoBlock_;
  RecordCollection records_;
};

}  // namespace brevora::core
