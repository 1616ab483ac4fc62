#include "platform/core/KeptFile.h"

#include "platform/core/CStdioFile.h"
#include "platform/core/FileIdentity.h"
#include "platform/core/RecoveryFolder.h"

#include <QDir>
#include <QFile>

#include <algorithm>
#include <atomic>

#include <unistd.h>

namespace {
constexpr const char* kHeader = "TallyscopeKeptFile 2\n";
constexpr const char* kFirstHeader = "TallyscopeKeptFile 1\n";
// No line of a copy's header is longer: a path of a few thousand characters in base64.
constexpr qint64 kLongestLine = 64 * 1024;
std::atomic<int> g_nextCopy{1};

bool ReadNumber(QIODevice& device, qint64& number) {
    bool read = false;
    number = device.readLine(kLongestLine).trimmed().toLongLong(&read);
    return read && number >= 0;
}

// The bytes still to come, when the device can tell; a size no larger than that can be read whole.
bool FitsIn(QIODevice& device, qint64 size) {
    return device.isSequential() || size <= device.size() - device.pos();
}

bool Append(const QString& copyPath, const QByteArray& bytes, bool durably) {
    QFile copy(copyPath);
    if (!copy.open(QIODevice::WriteOnly | QIODevice::Append | QIODevice::Unbuffered))
        return false;
    if (copy.write(bytes) != bytes.size())
        return false;
    return !durably || ::fsync(copy.handle()) == 0;
}
} // namespace

QString KeptFile::Keep(const QString& target, const QByteArray& contents) {
    const QString id = RecoveryFolder::InstanceId();
    if (id.isEmpty())
        return QString();
    const QString path =
        QDir(RecoveryFolder::Path()).filePath(QStringLiteral("%1-%2.kept").arg(id).arg(g_nextCopy++));
    const FileIdentity identity = FileIdentity::Of(target);
    QByteArray copy = kHeader;
    copy += target.toUtf8().toBase64() + '\n';
    copy += QByteArray::number(identity.device) + ' ' + QByteArray::number(identity.inode) + '\n';
    copy += QByteArray::number(contents.size()) + '\n';
    copy += contents;
    return RecoveryFolder::WriteDurably(path, copy) ? path : QString();
}

bool KeptFile::AddNew(const QString& copyPath, const char* data, qint64 size) {
    QByteArray block = "new " + QByteArray::number(size) + '\n';
    block.append(data, static_cast<qsizetype>(size));
    return Append(copyPath, block, false);
}

bool KeptFile::MarkDone(const QString& copyPath) {
    return Append(copyPath, "done\n", true);
}

std::optional<KeptFile> KeptFile::Read(const QString& copyPath) {
    QFile file(copyPath);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    return Parse(file);
}

// The header and the previous contents must be whole; the blocks of new contents count as far as
// they are whole, as a crash may cut the last one.
std::optional<KeptFile> KeptFile::Parse(QIODevice& device) {
    const QByteArray header = device.readLine(kLongestLine);
    const bool first = header == kFirstHeader;
    if (!first && header != kHeader)
        return std::nullopt;
    KeptFile kept;
    kept.target = QString::fromUtf8(QByteArray::fromBase64(device.readLine(kLongestLine).trimmed()));
    if (!first) {
        const QList<QByteArray> identity = device.readLine(kLongestLine).trimmed().split(' ');
        bool device = false, inode = false;
        if (identity.size() == 2) {
            kept.device = identity[0].toULongLong(&device);
            kept.inode = identity[1].toULongLong(&inode);
        }
        if (!device || !inode)
            return std::nullopt;
        kept.identityKnown = true;
    }
    qint64 size = 0;
    if (kept.target.isEmpty() || !ReadNumber(device, size) || !FitsIn(device, size))
        return std::nullopt;
    kept.contents = device.read(size);
    if (kept.contents.size() != size)
        return std::nullopt;
    if (first)
        return device.atEnd() ? std::optional<KeptFile>(std::move(kept)) : std::nullopt;
    for (;;) {
        const QByteArray line = device.readLine(kLongestLine);
        if (line == "done\n") {
            kept.newComplete = true;
            break;
        }
        qint64 blockSize = 0;
        bool sized = false;
        if (line.startsWith("new ") && line.endsWith('\n'))
            blockSize = line.mid(4).trimmed().toLongLong(&sized);
        if (!sized || blockSize < 0 || !FitsIn(device, blockSize))
            break;
        const QByteArray block = device.read(blockSize);
        if (block.size() != blockSize)
            break;
        kept.newContents += block;
    }
    return kept;
}

KeptFile::TargetState KeptFile::StateOfTarget() const {
    const FileIdentity now = FileIdentity::Of(target);
    if (!now.IsValid() || (identityKnown && (now.device != device || now.inode != inode)))
        return TargetState::Other;
    QFile file(target);
    if (!file.open(QIODevice::ReadOnly))
        return TargetState::Other;
    // Nothing longer than both can be either.
    const QByteArray holds = file.read(std::max(contents.size(), newContents.size()) + 1);
    if (holds == contents)
        return TargetState::Previous;
    const bool finished = newComplete && holds.size() == newContents.size();
    return newContents.startsWith(holds) && !finished ? TargetState::CutShort : TargetState::Other;
}

bool KeptFile::PutBack() const {
    CStdioFile file;
    if (!file.Open(target.toUtf8().constData(), CFile::modeCreate | CFile::modeWrite | CFile::typeBinary))
        return false;
    file.Write(contents.constData(), static_cast<UINT>(contents.size()));
    return file.Close();
}
