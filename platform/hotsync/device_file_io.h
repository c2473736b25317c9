#pragma once
// The few file operations of the device folder, on a folder descriptor: exact
// reads at an offset and whole-file replacement through a temporary file.
// Each returns a Sync Manager result (sync_manager.h): kSyncOk, kSyncErrIo,
// kSyncErrExists, kSyncErrNotFound.
#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace brevora::hotsync {

// Reads exactly `out.size()` bytes at `offset`; kSyncErrIo when the file is
// shorter or the read fails.
int32_t ReadAt(int fd, uint64_t offset, std::span<uint8_t> out);

// Writes a file `name` in the folder `dir`: `fill` hands its bytes to the given
// sink; they go to a temporary file beside it, ".<name>.<8 hex digits>.tmp",
// are flushed to the disk (unless `flush` is false, for files that may be lost
// but never be torn), and the file is renamed to `name`, replacing an existing
// one only when `replace` (else kSyncErrExists, the existing file untouched).
// On failure the temporary file is removed and the folder left as it was.
// While it is written the temporary file is locked (flock), so that
// RemoveAbandonedWholeFiles tells it from one a killed process left.
// `beforeRename`, when given, runs once the temporary file is complete, just
// before the rename (a test's moment to be killed).
int32_t WriteWholeFile(
    int dir, const std::string& name, bool replace,
    const std::function<void(const std::function<void(std::span<const uint8_t>)>&)>& fill,
    bool flush = true, const std::function<void()>& beforeRename = {});

// The target name of a temporary file name WriteWholeFile makes: "Plan.pdb" of
// ".Plan.pdb.0a1b2c3d.tmp"; nullopt for any other name.
std::optional<std::string> WholeFileTemporaryTarget(std::string_view name);

// Removes from the folder `folder` (native path) the temporary files of
// WriteWholeFile that killed processes left: those whose target name `whose`
// accepts and that no live writer holds. Nothing else is touched. Returns how
// many were removed.
std::size_t RemoveAbandonedWholeFiles(const std::string& folder,
                                      const std::function<bool(std::string_view target)>& whose);

}  // namespace brevora::hotsync
