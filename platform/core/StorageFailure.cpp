#include "platform/core/StorageFailure.h"

#include <cerrno>

StorageFailure StorageFailure::FromError(int error, const QString& folder) {
    StorageFailure failure;
    failure.error = error;
    failure.folder = folder;
    switch (error) {
    case 0:
        failure.cause = Cause::None;
        break;
    case ENOENT:
        failure.cause = Cause::FolderMissing;
        break;
    case ENOTDIR:
    case EEXIST:
        failure.cause = Cause::NotAFolder;
        break;
    case EROFS:
    case EACCES:
    case EPERM:
        failure.cause = Cause::ReadOnly;
        break;
    case ENOSPC:
    case EDQUOT:
        failure.cause = Cause::Full;
        break;
    default:
        failure.cause = Cause::Other;
        break;
    }
    return failure;
}
