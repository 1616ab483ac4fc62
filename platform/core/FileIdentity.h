#pragma once
// What tells one state of a file from another without reading it: the device and inode it lives
// on, its size, and the times of its last data change and last status change, in nanoseconds. A
// file replaced by another of the same name has a new inode; one rewritten in place has a new
// change time even when its size and modification time came out the same (a file system with
// coarse time stamps, or a program that sets the modification time back).

#include <QString>
#include <QtGlobal>

struct FileIdentity {
    quint64 device = 0;
    quint64 inode = 0;
    qint64 size = -1;
    qint64 modifiedNs = 0;
    qint64 changedNs = 0;

    // The named file as it is now; IsValid() is false when it cannot be looked at.
    static FileIdentity Of(const QString& path);
    // The open file behind a descriptor.
    static FileIdentity OfDescriptor(int descriptor);

    bool IsValid() const { return size >= 0; }
    bool operator==(const FileIdentity&) const = default;
};
