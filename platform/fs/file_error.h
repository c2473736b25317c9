#pragma once
// The Visual Basic run-time errors of platform/fs: an errno value (or a number)
// turned into AutomationError with the number and text Visual Basic gives.
#include <cstdint>

namespace brevora::fs {

inline constexpr int32_t kBadFileName = 52;
inline constexpr int32_t kFileNotFound = 53;
inline constexpr int32_t kDeviceIoError = 57;
inline constexpr int32_t kFileAlreadyExists = 58;
inline constexpr int32_t kDiskFull = 61;
inline constexpr int32_t kPermissionDenied = 70;
inline constexpr int32_t kDifferentDrive = 74;
inline constexpr int32_t kPathFileAccess = 75;
inline constexpr int32_t kPathNotFound = 76;

[[noreturn]] void RaiseFileError(int32_t number);
// errno -> number: ENOENT 53 (76 when `missingIsPath`), EEXIST 58, EACCES/EPERM/EROFS
// 70, ENOSPC/EDQUOT/EFBIG 61, EIO 57, ENOTDIR 76, EXDEV 74, others 75.
[[noreturn]] void RaiseErrno(int err, bool missingIsPath = false);

}  // namespace brevora::fs
