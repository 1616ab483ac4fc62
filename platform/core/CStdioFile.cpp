#include "platform/core/CStdioFile.h"

#include "platform/core/KeptFile.h"
#include "platform/core/RecoveryFolder.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <cstring>
#if defined(Q_OS_UNIX)
#include <unistd.h>
#endif

namespace {
// Text is gathered into chunks of this size before it reaches the file, so that a file written
// line by line costs one system call per chunk rather than one per line.
constexpr std::size_t kChunkSize = 64 * 1024;

constexpr UINT kAccessMask = CFile::modeWrite | CFile::modeReadWrite;

// A device or a pipe cannot be replaced by a new file; it is written in place.
bool IsReplaceable(const QFileInfo& target) {
    return !target.exists() || target.isFile();
}

bool SyncToDisk(QFileDevice& device) {
#if defined(Q_OS_UNIX)
    return ::fsync(device.handle()) == 0;
#else
    return true;
#endif
}
} // namespace

bool CStdioFile::rewriteInPlaceForTesting = false;

CStdioFile::CStdioFile() = default;

CStdioFile::~CStdioFile() {
    Abort();
}

BOOL CStdioFile::Open(LPCTSTR lpszFileName, UINT nOpenFlags) {
    Abort();
    m_openFailure = OpenFailure::File;
    if ((nOpenFlags & kAccessMask) != modeWrite || (nOpenFlags & modeCreate) == 0 ||
        (nOpenFlags & modeNoTruncate) != 0 || lpszFileName == nullptr)
        return FALSE;
    const QString path = QString::fromUtf8(lpszFileName);
    const QFileInfo target(path);
    if (target.isDir())
        return FALSE;
    // The temporary file's buffering is ours (m_buffer), so that every write to the device is a
    // whole chunk whose result is checked here; QSaveFile would otherwise swallow the error of its
    // own final flush.
    std::unique_ptr<QFileDevice> device;
    if (IsReplaceable(target))
        device = std::make_unique<QSaveFile>(path);
    else
        device = std::make_unique<QFile>(path);
    if (!(rewriteInPlaceForTesting && target.isFile()) &&
        device->open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        m_device = std::move(device);
    else if (!target.isFile() || !OpenInPlace(path))
        return FALSE;
    m_bText = (nOpenFlags & typeBinary) == 0 ? TRUE : FALSE;
    m_bWriteError = FALSE;
    m_buffer.clear();
    m_buffer.reserve(kChunkSize + 256);
    m_openFailure = OpenFailure::None;
    return TRUE;
}

void CStdioFile::WriteString(LPCTSTR lpsz) {
    if (m_device == nullptr || m_bWriteError || lpsz == nullptr)
        return;
    if (!m_bText) {
        m_buffer += lpsz;
    } else {
        for (const char* p = lpsz; *p;) {
            const char* newline = std::strchr(p, '\n');
            if (newline == nullptr) {
                m_buffer += p;
                break;
            }
            m_buffer.append(p, static_cast<std::size_t>(newline - p));
            m_buffer += "\r\n";
            p = newline + 1;
        }
    }
    if (m_buffer.size() >= kChunkSize && !FlushBuffer())
        m_bWriteError = TRUE;
}

// Memory would not outlive a crash or a power cut between emptying the file and flushing its new
// contents: the previous contents are first kept on disk in the recovery folder, and a file whose
// copy cannot be made durable is not touched at all.
bool CStdioFile::OpenInPlace(const QString& path) {
    auto file = std::make_unique<QFile>(path);
    if (!file->open(QIODevice::ReadWrite | QIODevice::Unbuffered))
        return false;
    QByteArray previous = file->readAll();
    if (file->error() != QFileDevice::NoError)
        return false;
    QString keptCopy = KeptFile::Keep(QFileInfo(path).absoluteFilePath(), previous);
    if (keptCopy.isEmpty() && m_bKeptCopyRequired) {
        m_openFailure = OpenFailure::KeptCopy;
        return false;
    }
    if (!file->seek(0) || !file->resize(0)) {
        if (!keptCopy.isEmpty())
            RecoveryFolder::RemoveDurably(keptCopy);
        return false;
    }
    m_previousContents = std::move(previous);
    m_keptCopy = std::move(keptCopy);
    m_device = std::move(file);
    return true;
}

void CStdioFile::Write(const void* lpBuf, UINT nCount) {
    if (m_device == nullptr || m_bWriteError || lpBuf == nullptr)
        return;
    m_buffer.append(static_cast<const char*>(lpBuf), nCount);
    if (m_buffer.size() >= kChunkSize && !FlushBuffer())
        m_bWriteError = TRUE;
}

// The copy goes once the file holds whole contents again, new or previous, on disk.
void CStdioFile::ForgetKeptCopy(bool fileWhole) {
    if (fileWhole && !m_keptCopy.isEmpty())
        RecoveryFolder::RemoveDurably(m_keptCopy);
    m_keptCopy.clear();
}

bool CStdioFile::RestorePrevious() {
    const QByteArray& previous = *m_previousContents;
    return m_device->seek(0) && m_device->write(previous) == previous.size() &&
           m_device->resize(previous.size()) && SyncToDisk(*m_device);
}

bool CStdioFile::FlushBuffer() {
    if (m_buffer.empty())
        return true;
    const auto size = static_cast<qint64>(m_buffer.size());
    // The copy learns of each block before the file gets it, so that a file found later to hold
    // a start of the copy's blocks is known to be one this rewrite cut short.
    if (!m_keptCopy.isEmpty())
        KeptFile::AddNew(m_keptCopy, m_buffer.data(), size);
    const qint64 written = m_device->write(m_buffer.data(), size);
    m_buffer.clear();
    return written == size;
}

BOOL CStdioFile::Close() {
    if (m_device == nullptr)
        return FALSE;
    bool ok = !m_bWriteError && FlushBuffer();
    if (auto* saveFile = dynamic_cast<QSaveFile*>(m_device.get())) {
        ok = ok && SyncToDisk(*saveFile);
        if (!ok)
            saveFile->cancelWriting();
        // commit also discards the temporary file when writing was cancelled.
        ok = saveFile->commit() && ok;
        // The new name is on disk only once its folder is: before that, a power cut can bring the
        // previous file back after the caller has let go of what the new one holds.
        ok = ok && RecoveryFolder::SyncFolder(QFileInfo(saveFile->fileName()).absolutePath());
    } else {
        if (m_previousContents) {
            ok = ok && SyncToDisk(*m_device);
            if (ok && !m_keptCopy.isEmpty())
                KeptFile::MarkDone(m_keptCopy);
            ForgetKeptCopy(ok || RestorePrevious());
        }
        m_device->close();
        ok = ok && m_device->error() == QFileDevice::NoError;
    }
    m_device.reset();
    m_previousContents.reset();
    m_buffer.clear();
    return ok ? TRUE : FALSE;
}

void CStdioFile::Abort() {
    // Destroying a QSaveFile without commit removes its temporary file; a file rewritten in place
    // gets its previous contents back.
    if (m_device != nullptr && m_previousContents)
        ForgetKeptCopy(RestorePrevious());
    m_keptCopy.clear();
    m_device.reset();
    m_previousContents.reset();
    m_buffer.clear();
}
