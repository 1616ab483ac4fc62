#pragma once
// The framework's text file, for writing whole files, on QSaveFile. In text mode (the default)
// every "\n" is written as CR LF on every platform, as the Windows runtime does.
//
// A file opened with modeCreate | modeWrite is written to a temporary file in the same folder
// and only replaces the target when Close succeeds: a failed or abandoned write leaves the
// previous file exactly as it was. A target that is not a regular file (a device, a pipe) cannot
// be replaced and is written directly. An existing file in a folder that takes no new file (no
// room for the temporary one) is rewritten in place; its previous contents are kept in memory,
// and on disk in the recovery folder (KeptFile) until the new ones are, and written back when the
// new ones cannot be written whole; after a crash in between, the next start offers them back. Unlike the
// framework, errors are not thrown: the first one is remembered, later writes are skipped, and Close reports
// it.

#include "platform/core/AfxTypes.h"

#include <QByteArray>
#include <QString>

#include <memory>
#include <optional>
#include <string>

class QFileDevice;

class CFile {
public:
    enum OpenFlags : UINT {
        modeRead = 0x0000,
        modeWrite = 0x0001,
        modeReadWrite = 0x0002,
        shareExclusive = 0x0010,
        shareDenyWrite = 0x0020,
        shareDenyNone = 0x0040,
        modeCreate = 0x1000,
        modeNoTruncate = 0x2000,
        typeText = 0x4000,
        typeBinary = 0x8000,
    };
};

class CStdioFile : public CFile {
public:
    CStdioFile();
    // Discards whatever was written unless Close succeeded.
    ~CStdioFile();
    CStdioFile(const CStdioFile&) = delete;
    CStdioFile& operator=(const CStdioFile&) = delete;

    // Why the last Open failed: the file itself, or no copy of a file to be rewritten in place
    // could be kept (the recovery folder cannot take it).
    enum class OpenFailure { None, File, KeptCopy };

    // Only whole-file writing is provided: the flags must hold modeCreate and modeWrite (sharing
    // flags are accepted and ignored); anything else fails. FALSE when the file cannot be created.
    BOOL Open(LPCTSTR lpszFileName, UINT nOpenFlags);
    OpenFailure GetOpenFailure() const { return m_openFailure; }
    // The user agreed: a file to be rewritten in place is rewritten even when its previous
    // contents can be kept only in memory (they still go back when the new ones fail).
    void AllowRewriteWithoutKeptCopy() { m_bKeptCopyRequired = FALSE; }
    BOOL IsOpen() const { return m_device != nullptr; }
    void WriteString(LPCTSTR lpsz);
    // Writes bytes as they are, whatever the mode.
    void Write(const void* lpBuf, UINT nCount);
    // Writes out what is buffered, makes it durable and puts the file in place. FALSE when any
    // step, or any earlier write, failed; the target is then left as it was.
    BOOL Close();
    // Closes without putting anything in place.
    void Abort();

    // Existing files are rewritten in place as in a folder that takes no new file (tests run
    // where every folder takes one).
    static bool rewriteInPlaceForTesting;

private:
    bool FlushBuffer();
    // Opens an existing regular file for rewriting in place, keeping what it held.
    bool OpenInPlace(const QString& path);
    // Puts back what a file rewritten in place held before; false when even that fails.
    bool RestorePrevious();
    // Removes the disk copy of the previous contents when the file is whole again.
    void ForgetKeptCopy(bool fileWhole);

    std::unique_ptr<QFileDevice> m_device;
    // What a file rewritten in place held before, while it may still be needed.
    std::optional<QByteArray> m_previousContents;
    QString m_keptCopy; // its copy in the recovery folder

    std::string m_buffer;
    BOOL m_bText = TRUE;
    BOOL m_bWriteError = FALSE;
    BOOL m_bKeptCopyRequired = TRUE;
    OpenFailure m_openFailure = OpenFailure::None;
};
