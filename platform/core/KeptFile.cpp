#include "platform/core/KeptFile.h"

#include "platform/core/CStdioFile.h"
#include "platform/core/RecoveryFolder.h"

#include <QDir>
#include <QFile>

#include <atomic>

namespace {
constexpr const char* kHeader = "TallyscopeKeptFile 1\n";
std::atomic<int> g_nextCopy{1};
} // namespace

QString KeptFile::Keep(const QString& target, const QByteArray& contents) {
    const QString id = RecoveryFolder::InstanceId();
    if (id.isEmpty())
        return QString();
    const QString path =
        QDir(RecoveryFolder::Path()).filePath(QStringLiteral("%1-%2.kept").arg(id).arg(g_nextCopy++));
    QByteArray copy = kHeader;
    copy += target.toUtf8().toBase64() + '\n';
    copy += QByteArray::number(contents.size()) + '\n';
    copy += contents;
    return RecoveryFolder::WriteDurably(path, copy) ? path : QString();
}

std::optional<KeptFile> KeptFile::Read(const QString& copyPath) {
    QFile file(copyPath);
    if (!file.open(QIODevice::ReadOnly) || file.readLine() != kHeader)
        return std::nullopt;
    KeptFile kept;
    kept.target = QString::fromUtf8(QByteArray::fromBase64(file.readLine().trimmed()));
    bool sized = false;
    const qint64 size = file.readLine().trimmed().toLongLong(&sized);
    kept.contents = file.readAll();
    if (kept.target.isEmpty() || !sized || kept.contents.size() != size)
        return std::nullopt;
    return kept;
}

bool KeptFile::PutBack() const {
    CStdioFile file;
    if (!file.Open(target.toUtf8().constData(), CFile::modeCreate | CFile::modeWrite | CFile::typeBinary))
        return false;
    file.Write(contents.constData(), static_cast<UINT>(contents.size()));
    return file.Close();
}
