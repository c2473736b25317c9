#include "platform/hotsync/device.h"

#include <dirent.h>
#include <fcntl.h>

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstring>

#include "platform/error/error.h"
#include "platform/fs/files.h"
#include "platform/fs/paths.h"
#include "platform/hotsync/device_file_io.h"
#include "platform/hotsync/device_identity.h"
#include "platform/hotsync/device_names.h"
#include "platform/hotsync/device_state.h"
#include "platform/time/dates.h"

namespace brevora::hotsync {
namespace {

// The session's device; one per process, owned here while a session lives.
std::unique_ptr<Device>& TheDevice() {
  static std::unique_ptr<Device> device;
  return device;
}

constexpr uint64_t kHeaderRoom = 78;

uint32_t Code(const std::array<uint8_t, 4>& bytes) {
  return uint32_t{bytes[0]} << 24 | uint32_t{bytes[1]} << 16 | uint32_t{bytes[2]} << 8 | bytes[3];
}

std::array<uint8_t, 4> CodeBytes(uint32_t code) {
  return {static_cast<uint8_t>(code >> 24), static_cast<uint8_t>(code >> 16),
          static_cast<uint8_t>(code >> 8), static_cast<uint8_t>(code)};
}

void CopyName(const std::string& name, char (&out)[kSyncNameSize]) {
  std::memset(out, 0, sizeof out);
  std::memcpy(out, name.data(), std::min(name.size(), sizeof out - 1));
}

uint32_t PalmNow() { return dates::VbDateToPalm(dates::NowVbDate()); }

struct DirCloser {
  void operator()(DIR* d) const { closedir(d); }
};

// A file name this folder gives a database: the name DatabaseFileName makes.
bool IsDatabaseFile(std::string_view fileName) {
  const auto name = DatabaseNameOfFile(fileName);
  return name && IsDatabaseName(*name) && DatabaseFileName(*name) == fileName;
}

}  // namespace

Device* CurrentDevice() { return TheDevice().get(); }

Device::Device(UniqueFd folder, Faults faults) : folder_(std::move(folder)), faults_(faults) {}

int32_t Device::BeginCall() {
  ++calls_;
  if (faults_.killCall && *faults_.killCall == calls_) dying_ = true;
  if (faults_.failCall && *faults_.failCall == calls_) {
    faultReached_ = true;
    return kSyncErrCommunication;
  }
  return kSyncOk;
}

void Device::EndCall(int32_t result) {
  if (result == kSyncErrCommunication || result == kSyncErrDeviceFull || result == kSyncErrIo)
    ++failures_;
  DieIfDying();
}

void Device::DieIfDying() const {
  if (dying_) raise(SIGKILL);
}

bool Device::TakeRoom(uint64_t bytes) {
  if (faults_.deviceFullAfter && roomTaken_ + bytes > *faults_.deviceFullAfter) return false;
  roomTaken_ += bytes;
  return true;
}

SyncDbInfo Device::InfoOf(const DeviceDatabase& db) const {
  SyncDbInfo info{};
  const DatabaseHeader& h = db.header();
  CopyName(db.name(), info.name);
  info.creator = Code(h.creator);
  info.type = Code(h.type);
  info.attributes = h.attributes;
  info.version = h.version;
  info.creationDate = h.creationDate;
  info.modificationDate = h.modificationDate;
  info.backupDate = h.backupDate;
  info.modificationNumber = h.modificationNumber;
  info.recordCount = static_cast<uint16_t>(db.recordCount());
  return info;
}

int32_t Device::LoadList() {
  if (listed_) return kSyncOk;
  const int dirFd = openat(folder_.get(), ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (dirFd < 0) return kSyncErrIo;
  std::unique_ptr<DIR, DirCloser> dir(fdopendir(dirFd));
  if (!dir) {
    close(dirFd);
    return kSyncErrIo;
  }
  std::vector<std::string> files;
  while (const dirent* e = readdir(dir.get())) {
    const std::string_view name = e->d_name;
    if (!name.starts_with('.') && name.ends_with(kDatabaseExtension)) files.emplace_back(name);
  }
  std::sort(files.begin(), files.end());

  list_.clear();
  byName_.clear();
  list_.reserve(files.size());
  for (const std::string& file : files) {
    Listed entry;
    entry.fileName = file;
    std::unique_ptr<DeviceDatabase> db;
    const int32_t rc = DeviceDatabase::Open(folder_.get(), file, false, db);
    if (rc == kSyncErrNotFound) continue;  // removed meanwhile
    if (rc == kSyncOk && !byName_.contains(db->name())) {
      entry.info = InfoOf(*db);
      db->ReleaseFile(folder_.get());
      entry.read = std::move(db);
    } else {
      // Unreadable, or a second file holding a name already listed.
      const auto decoded = DatabaseNameOfFile(file);
      CopyName(decoded && !decoded->empty() ? *decoded : file, entry.info.name);
      entry.info.state = kSyncDbDamaged;
    }
    if (entry.info.state == 0) byName_.emplace(entry.read->name(), list_.size());
    list_.push_back(std::move(entry));
  }
  listed_ = true;
  return kSyncOk;
}

std::optional<std::size_t> Device::Listing(const std::string& name) const {
  const auto it = byName_.find(name);
  if (it != byName_.end()) return it->second;
  // A damaged file is known by the name of its file.
  for (std::size_t i = 0; i < list_.size(); ++i) {
    if (list_[i].info.state == kSyncDbDamaged && list_[i].info.name == name) return i;
  }
  return std::nullopt;
}

void Device::Relist(const DeviceDatabase& db) {
  const auto at = Listing(db.name());
  if (at) {
    list_[*at].info = InfoOf(db);
    return;
  }
  byName_.emplace(db.name(), list_.size());
  list_.push_back({InfoOf(db), db.fileName(), nullptr});
}

void Device::Unlist(const std::string& name) {
  const auto at = Listing(name);
  if (!at) return;
  list_.erase(list_.begin() + static_cast<std::ptrdiff_t>(*at));
  byName_.erase(name);
  for (auto& [key, index] : byName_) {
    if (index > *at) --index;
  }
}

std::optional<uint8_t> Device::FreeHandle() const {
  for (std::size_t h = 1; h < open_.size(); ++h) {
    if (!open_[h]) return static_cast<uint8_t>(h);
  }
  return std::nullopt;
}

int32_t Device::Open(const std::string& name, int32_t mode, uint8_t& handle) {
  if ((mode & kSyncModeRead) == 0 && (mode & kSyncModeWrite) == 0) return kSyncErrBadArgument;
  if (const int32_t rc = LoadList(); rc != kSyncOk) return rc;
  const auto at = Listing(name);
  if (!at) return kSyncErrNotFound;
  if (list_[*at].info.state == kSyncDbDamaged) return kSyncErrDamaged;
  for (const auto& db : open_) {
    if (db && db->name() == name) return kSyncErrAlreadyOpen;
  }
  const auto free = FreeHandle();
  if (!free) return kSyncErrTooManyOpen;
  std::unique_ptr<DeviceDatabase> db = std::move(list_[*at].read);
  if (db) {
    db->SetWritable((mode & kSyncModeWrite) != 0);
  } else if (const int32_t rc = DeviceDatabase::Open(folder_.get(), list_[*at].fileName,
                                                     (mode & kSyncModeWrite) != 0, db);
             rc != kSyncOk) {
    return rc;
  }
  open_[*free] = std::move(db);
  handle = *free;
  return kSyncOk;
}

int32_t Device::Create(const std::string& name, const SyncCreateDbRecord& request,
                       uint8_t& handle) {
  if (!IsDatabaseName(name) || request.card != 0) return kSyncErrBadArgument;
  if (const int32_t rc = LoadList(); rc != kSyncOk) return rc;
  if (Listing(name)) return kSyncErrExists;
  // A file of its name that holds another database (or none) is not replaced.
  const std::string fileName = DatabaseFileName(name);
  if (faccessat(folder_.get(), fileName.c_str(), F_OK, AT_SYMLINK_NOFOLLOW) == 0)
    return kSyncErrExists;
  const auto free = FreeHandle();
  if (!free) return kSyncErrTooManyOpen;
  if (!TakeRoom(kHeaderRoom)) return kSyncErrDeviceFull;
  DatabaseHeader header;
  std::copy(name.begin(), name.end(), header.name.begin());
  header.attributes = request.flags;
  header.version = request.version;
  header.creationDate = header.modificationDate = PalmNow();
  header.type = CodeBytes(request.type);
  header.creator = CodeBytes(request.creator);
  // Kept in memory until it is closed: no half-made database is ever a file.
  auto db = DeviceDatabase::Empty(fileName, header);
  Relist(*db);
  open_[*free] = std::move(db);
  handle = *free;
  return kSyncOk;
}

int32_t Device::Close(uint8_t handle) {
  DeviceDatabase* db = Database(handle);
  if (!db) return kSyncErrNotOpen;
  if (db->changed() || db->isNew()) {
    // A new database never replaces a file that appeared under its name meanwhile.
    const int32_t rc = db->Save(folder_.get(), !db->isNew(), PalmNow(), [this] { DieIfDying(); });
    if (rc != kSyncOk) return rc;
    Relist(*db);
  }
  open_[handle].reset();
  return kSyncOk;
}

int32_t Device::Delete(const std::string& name) {
  if (const int32_t rc = LoadList(); rc != kSyncOk) return rc;
  const auto at = Listing(name);
  if (!at) return kSyncErrNotFound;
  // A database created in this session and never saved has no file: a file of
  // its name is another's.
  const bool unsaved = std::any_of(open_.begin(), open_.end(), [&](const auto& db) {
    return db && db->fileName() == list_[*at].fileName && db->isNew();
  });
  if (!unsaved && unlinkat(folder_.get(), list_[*at].fileName.c_str(), 0) != 0 && errno != ENOENT) {
    return kSyncErrIo;
  }
  for (auto& db : open_) {
    if (db && db->fileName() == list_[*at].fileName) db.reset();  // its changes go with it
  }
  Unlist(name);
  return kSyncOk;
}

int32_t Device::List(uint16_t start, uint16_t capacity, SyncDbInfo* buffer, uint16_t& count) {
  count = 0;
  if (const int32_t rc = LoadList(); rc != kSyncOk) return rc;
  if (start >= list_.size()) return kSyncErrNotFound;
  std::size_t end = std::min<std::size_t>(
      list_.size(), std::size_t{start} + std::min<uint16_t>(capacity, kSyncMaxListPage));
  if (faults_.cutListAfter) {
    if (start >= *faults_.cutListAfter) return kSyncErrCommunication;
    end = std::min<std::size_t>(end, *faults_.cutListAfter);
  }
  for (std::size_t i = start; i < end; ++i) buffer[count++] = list_[i].info;
  return kSyncOk;
}

int32_t Device::Find(const std::string& name, SyncDbInfo& info) {
  if (const int32_t rc = LoadList(); rc != kSyncOk) return rc;
  const auto at = Listing(name);
  if (!at) return kSyncErrNotFound;
  info = list_[*at].info;
  return kSyncOk;
}

DeviceDatabase* Device::Database(uint8_t handle) {
  return handle == 0 ? nullptr : open_[handle].get();
}

std::size_t Device::CloseAll() {
  std::size_t closed = 0;
  for (std::size_t h = 1; h < open_.size(); ++h) {
    if (!open_[h]) continue;
    ++closed;
    Close(static_cast<uint8_t>(h));
    open_[h].reset();  // a database that could not be saved is given up
  }
  return closed;
}

int32_t Device::RegisterConduit(int32_t& handle) {
  handle = nextConduit_++;
  conduits_.push_back(handle);
  return kSyncOk;
}

int32_t Device::UnregisterConduit(int32_t handle) {
  const auto it = std::find(conduits_.begin(), conduits_.end(), handle);
  if (it == conduits_.end()) return kSyncErrBadArgument;
  conduits_.erase(it);
  return kSyncOk;
}

DeviceSession::DeviceSession(const std::string& folder, Faults faults) {
  if (TheDevice()) RaiseError(5, "DeviceSession", "A device is open in this process already.");
  UniqueFd fd(open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  if (!fd)
    RaiseError(76, "DeviceSession",
               "The device folder " + folder + " can't be opened: " + std::strerror(errno));
  TheDevice() = std::make_unique<Device>(std::move(fd), faults);
}

DeviceSession::~DeviceSession() {
  TheDevice()->CloseAll();
  TheDevice().reset();
}

std::size_t DeviceSession::CloseLeftOpen() { return TheDevice()->CloseAll(); }
uint64_t DeviceSession::calls() const { return TheDevice()->calls(); }
uint64_t DeviceSession::failures() const { return TheDevice()->failures(); }
bool DeviceSession::faultReached() const { return TheDevice()->faultReached(); }

std::size_t RemoveDeviceLeftovers(const std::string& folder) {
  std::size_t removed = RemoveAbandonedWholeFiles(folder, IsDatabaseFile);
  try {
    removed += fs::RemoveAbandonedTemporaries(fs::SystemPath(folder), [](std::string_view target) {
      return target == kIdentityFileName;
    });
  } catch (const AutomationError&) {
    // A folder name the code page can't hold never got an identity written
    // (WriteIdentity refuses it): nothing of one to clear.
  }
  return removed;
}

}  // namespace brevora::hotsync
