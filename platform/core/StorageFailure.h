#pragma once
// Why a file could not be kept in a folder, sorted into the causes a user can do something about:
// no folder and none can be made, a plain file where the folder should be, a folder that takes no
// writes, a full disk. The system's error number is kept for the rest. A program tells the user
// once per cause, so the cause is what two failures are compared by.

#include <QString>

struct StorageFailure {
    enum class Cause { None, FolderMissing, NotAFolder, ReadOnly, Full, Other };

    Cause cause = Cause::None;
    int error = 0; // errno of the failed step
    QString folder;

    // The cause behind a failed system call on something in the folder.
    static StorageFailure FromError(int error, const QString& folder);
    bool IsFailure() const { return cause != Cause::None; }
};
