#include "platform/fs/file_error.h"

#include <cerrno>

#include "platform/error/error.h"

namespace brevora::fs {

void RaiseFileError(int32_t number) { RaiseRuntimeError(number); }

void RaiseErrno(int err, bool missingIsPath) {
  switch (err) {
    case ENOENT:
      RaiseFileError(missingIsPath ? kPathNotFound : kFileNotFound);
    case EEXIST:
      RaiseFileError(kFileAlreadyExists);
    case EACCES:
    case EPERM:
    case EROFS:
      RaiseFileError(kPermissionDenied);
    case ENOSPC:
    case EDQUOT:
    case EFBIG:
      RaiseFileError(kDiskFull);
    case EIO:
      RaiseFileError(kDeviceIoError);
    case ENOTDIR:
    case ENAMETOOLONG:
    case ELOOP:
      RaiseFileError(kPathNotFound);
    case EXDEV:
      RaiseFileError(kDifferentDrive);
    default:
      RaiseFileError(kPathFileAccess);
  }
}

}  // namespace brevora::fs
