#pragma once
// The few file operations of the device folder, on a folder descriptor: exact
// reads at an offset and whole-file replacement through a temporary file.
// Each returns a Sync Manager result (sync_manager.h): kSyncOk, kSyncErrIo,
// kSyncErrExists, kSyncErrNotFound.
#include <cstdint>
#include <functional>
#include <span>
#include <string>

namespace brevora::hotsync {

// Reads exactly `out.size()` bytes at `offset`; kSyncErrIo when the file is
// shorter or the read fails.
int32_t ReadAt(int fd, uint64_t offset, std::span<uint8_t> out);

// Writes a file `name` in the folder `dir`: `fill` hands its bytes to the given
// sink; they go to a temporary file beside it, are flushed to the disk (unless
// `flush` is false, for files that may be lost but never be torn), and the
// file is renamed to `name`, replacing an existing one only when `replace`
// (else kSyncErrExists, the existing file untouched). On failure the temporary
// file is removed and the folder left as it was.
int32_t WriteWholeFile(int dir, const std::string& name, bool replace,
                       const std::function<void(const std::function<void(std::span<const uint8_t>)>&)>& fill,
                       bool flush = true);

}  // namespace brevora::hotsync
