#include "platform/fs/file_error.h"

#include <cerrno>

#include "platform/automation/error.h"

namespace brevora::fs {
namespace {

const char* Text(int32_t number) {
  switch (number) {
    case kBadFileName: return "Bad file name or number";
    case kFileNotFound: return "File not found";
    case kDeviceIoError: return "Device I/O error";
    case kFileAlreadyExists: return "File already exists";
    case kDiskFull: return "Disk full";
    case kPermissionDenied: return "Permission denied";
    case kDifferentDrive: return "Can't rename with different drive";
    case kPathNotFound: return "Path not found";
    default: return "Path/File access error";
  }
}

}  // namespace

void RaiseFileError(int32_t number) { throw AutomationError(number, "", Text(number)); }

void RaiseErrno(int err, bool missingIsPath) {
  switch (err) {
    case ENOENT: RaiseFileError(missingIsPath ? kPathNotFound : kFileNotFound);
    case EEXIST: RaiseFileError(kFileAlreadyExists);
    case EACCES: case EPERM: case EROFS: RaiseFileError(kPermissionDenied);
    case ENOSPC: case EDQUOT: case EFBIG: RaiseFileError(kDiskFull);
    case EIO: RaiseFileError(kDeviceIoError);
    case ENOTDIR: case ENAMETOOLONG: case ELOOP: RaiseFileError(kPathNotFound);
    case EXDEV: RaiseFileError(kDifferentDrive);
    default: RaiseFileError(kPathFileAccess);
  }
}

}  // namespace brevora::fs
