#include "platform/hotsync/device_database.h"

#include <fcntl.h>
#include <sys/stat.h>

#include <algorithm>
#include <cerrno>

#include "platform/error/error.h"
#include "platform/hotsync/database_writer.h"
#include "platform/hotsync/device_file_io.h"
#include "platform/hotsync/sync_manager.h"

namespace brevora::hotsync {
namespace {

using database_format::kMaxRecords;
using database_format::kMaxUniqueID;
// The first read takes this much: the header, the list and the blocks of most
// databases.
constexpr uint64_t kFirstRead = 4096;

}  // namespace

int32_t DeviceDatabase::Open(int dir, const std::string& fileName, bool writable,
                             std::unique_ptr<DeviceDatabase>& out) {
  // Non-blocking, so a FIFO under a database's name can't hold the open up.
  UniqueFd fd(openat(dir, fileName.c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK));
  if (!fd)
    return errno == ENOENT ? kSyncErrNotFound : errno == ELOOP ? kSyncErrDamaged : kSyncErrIo;
  // Most databases are read whole by the first read, which then also tells
  // their size; larger ones are asked for it.
  std::vector<uint8_t> prefix(kFirstRead);
  ssize_t got = -1;
  do {
    got = pread(fd.get(), prefix.data(), prefix.size(), 0);
  } while (got < 0 && errno == EINTR);
  if (got < 0) return errno == EISDIR || errno == ESPIPE ? kSyncErrDamaged : kSyncErrIo;
  uint64_t fileSize = static_cast<uint64_t>(got);
  if (fileSize == kFirstRead) {
    struct stat st {};
    if (fstat(fd.get(), &st) != 0) return kSyncErrIo;
    fileSize = static_cast<uint64_t>(st.st_size);
    if (!S_ISREG(st.st_mode) || fileSize < kFirstRead) return kSyncErrDamaged;
  }
  prefix.resize(static_cast<std::size_t>(std::min(fileSize, kFirstRead)));
  if (prefix.size() < database_format::kHeaderSize) return kSyncErrDamaged;
  const uint64_t needed = DatabaseReader::PrefixSize(DatabaseReader::ParseHeader(prefix));
  if (needed > fileSize) return kSyncErrDamaged;
  if (needed > prefix.size()) {
    const std::size_t had = prefix.size();
    prefix.resize(static_cast<std::size_t>(needed));
    if (ReadAt(fd.get(), had, std::span(prefix).subspan(had)) != kSyncOk) return kSyncErrIo;
  }
  const auto layout = DatabaseReader::Parse(prefix, fileSize);
  if (!layout) return kSyncErrDamaged;
  const auto name = std::find(layout->header.name.begin(), layout->header.name.end(), 0);
  if (name == layout->header.name.begin() || name == layout->header.name.end())
    return kSyncErrDamaged;

  std::unique_ptr<DeviceDatabase> db(new DeviceDatabase());
  db->fileName_ = fileName;
  db->writable_ = writable;
  db->header_ = layout->header;
  auto readBlock = [&](const ByteRange& range, std::vector<uint8_t>& block) -> int32_t {
    block.resize(static_cast<std::size_t>(range.size()));
    if (range.end <= prefix.size()) {
      std::copy(prefix.begin() + static_cast<std::ptrdiff_t>(range.begin),
                prefix.begin() + static_cast<std::ptrdiff_t>(range.end), block.begin());
      return kSyncOk;
    }
    return ReadAt(fd.get(), range.begin, block);
  };
  if (readBlock(layout->appInfo, db->appInfo_) != kSyncOk) return kSyncErrIo;
  if (readBlock(layout->sortInfo, db->sortInfo_) != kSyncOk) return kSyncErrIo;
  db->records_.reserve(layout->records.size());
  for (const RecordEntry& r : layout->records) {
    Record record;
    record.attributes = r.attributes;
    record.id = r.uniqueID;
    record.range = r.data;
    db->highestId_ = std::max(db->highestId_, r.uniqueID);
    db->records_.push_back(std::move(record));
  }
  db->fd_ = std::move(fd);
  out = std::move(db);
  return kSyncOk;
}

std::unique_ptr<DeviceDatabase> DeviceDatabase::Empty(const std::string& fileName,
                                                      const DatabaseHeader& header) {
  std::unique_ptr<DeviceDatabase> db(new DeviceDatabase());
  db->fileName_ = fileName;
  db->new_ = true;
  db->header_ = header;
  db->header_.appInfoID = 0;
  db->header_.sortInfoID = 0;
  db->header_.numRecords = 0;
  return db;
}

std::string DeviceDatabase::name() const {
  const auto end = std::find(header_.name.begin(), header_.name.end(), 0);
  return std::string(header_.name.begin(), end);
}

void DeviceDatabase::SetAppInfo(std::span<const uint8_t> bytes) {
  if (std::equal(bytes.begin(), bytes.end(), appInfo_.begin(), appInfo_.end())) return;
  appInfo_.assign(bytes.begin(), bytes.end());
  changed_ = true;
}

void DeviceDatabase::SetSortInfo(std::span<const uint8_t> bytes) {
  if (std::equal(bytes.begin(), bytes.end(), sortInfo_.begin(), sortInfo_.end())) return;
  sortInfo_.assign(bytes.begin(), bytes.end());
  changed_ = true;
}

void DeviceDatabase::ReleaseFile(int dir) {
  fd_.reset();
  dir_ = dir;
}

DeviceDatabase::RecordInfo DeviceDatabase::Info(std::size_t index) const {
  const Record& r = records_[index];
  const uint64_t size = r.data ? r.data->size() : r.range.size();
  return {r.attributes, r.id, static_cast<uint32_t>(std::min<uint64_t>(size, UINT32_MAX))};
}

std::optional<std::size_t> DeviceDatabase::IndexOf(uint32_t id) const {
  for (std::size_t i = 0; i < records_.size(); ++i) {
    if (records_[i].id == id) return i;
  }
  return std::nullopt;
}

int32_t DeviceDatabase::Data(std::size_t index, std::span<const uint8_t>& data) {
  Record& r = records_[index];
  if (!r.data) {
    if (!fd_ && dir_ >= 0) {
      fd_ =
          UniqueFd(openat(dir_, fileName_.c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK));
    }
    if (!fd_ || Load(index) != kSyncOk) return kSyncErrIo;
  }
  data = *r.data;
  return kSyncOk;
}

// Reads record `index` and, in the same read, the records laid out right after
// it that are not loaded yet, up to 64 KB: a database read record by record
// then costs a read per 64 KB rather than one per record. A file changed since
// it was listed is cut short here: the read fails, it never runs past the
// file; when the larger read fails, the record alone is read.
int32_t DeviceDatabase::Load(std::size_t index) {
  constexpr uint64_t kReadAhead = 64 * 1024;
  const ByteRange first = records_[index].range;
  std::size_t last = index;
  uint64_t end = first.end;
  while (last + 1 < records_.size() && !records_[last + 1].data &&
         records_[last + 1].range.begin == end &&
         records_[last + 1].range.end - first.begin <= kReadAhead) {
    ++last;
    end = records_[last].range.end;
  }
  if (last > index) {
    std::vector<uint8_t> bytes(static_cast<std::size_t>(end - first.begin));
    if (ReadAt(fd_.get(), first.begin, bytes) == kSyncOk) {
      for (std::size_t i = index; i <= last; ++i) {
        const auto from =
            bytes.begin() + static_cast<std::ptrdiff_t>(records_[i].range.begin - first.begin);
        records_[i].data.emplace(from,
                                 from + static_cast<std::ptrdiff_t>(records_[i].range.size()));
      }
      return kSyncOk;
    }
  }
  std::vector<uint8_t> bytes(static_cast<std::size_t>(first.size()));
  if (ReadAt(fd_.get(), first.begin, bytes) != kSyncOk) return kSyncErrIo;
  records_[index].data = std::move(bytes);
  return kSyncOk;
}

int32_t DeviceDatabase::Append(uint8_t attributes, std::span<const uint8_t> data, uint32_t& id) {
  if (records_.size() >= kMaxRecords) return kSyncErrTooLarge;
  const uint32_t highest = std::max(header_.uniqueIDSeed & kMaxUniqueID, highestId_);
  if (highest >= kMaxUniqueID) return kSyncErrTooLarge;
  Record record;
  record.attributes = attributes;
  record.id = highest + 1;
  record.data = std::vector<uint8_t>(data.begin(), data.end());
  records_.push_back(std::move(record));
  header_.uniqueIDSeed = highest + 1;
  highestId_ = highest + 1;
  id = highest + 1;
  changed_ = true;
  return kSyncOk;
}

void DeviceDatabase::Replace(std::size_t index, uint8_t attributes, std::span<const uint8_t> data) {
  Record& r = records_[index];
  r.attributes = attributes;
  r.data = std::vector<uint8_t>(data.begin(), data.end());
  changed_ = true;
}

void DeviceDatabase::Erase(std::size_t index) {
  records_.erase(records_.begin() + static_cast<std::ptrdiff_t>(index));
  changed_ = true;
}

int32_t DeviceDatabase::Save(int dir, bool replace, uint32_t modificationDate,
                             const std::function<void()>& beforeRename) {
  std::vector<DatabaseWriter::Record> records;
  records.reserve(records_.size());
  for (std::size_t i = 0; i < records_.size(); ++i) {
    std::span<const uint8_t> data;
    if (const int32_t rc = Data(i, data); rc != kSyncOk) return rc;
    records.push_back({records_[i].attributes, records_[i].id, data});
  }
  DatabaseHeader header = header_;
  if (changed_) {
    header.modificationDate = modificationDate;
    ++header.modificationNumber;
  }
  try {
    // Packed, so that the blocks read back at their exact sizes.
    const DatabaseWriter writer(header, appInfo_, sortInfo_, std::move(records),
                                DatabaseWriter::Placement::Packed);
    const int32_t rc = WriteWholeFile(
        dir, fileName_, replace, [&](const auto& sink) { writer.WriteTo(sink); }, true,
        beforeRename);
    if (rc != kSyncOk) return rc;
    header_ = writer.header();
  } catch (const AutomationError&) {
    return kSyncErrTooLarge;
  }
  changed_ = false;
  new_ = false;
  return kSyncOk;
}

}  // namespace brevora::hotsync
