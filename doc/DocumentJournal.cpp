#include "doc/DocumentJournal.h"

#include "doc/CTallyscopeDoc.h"
#include "platform/app/CFrameWnd.h"
#include "platform/app/CWinApp.h"
#include "platform/core/RecoveryFolder.h"
#include "platform/ui/ModalHost.h"

#include <QDir>
#include <QLockFile>

namespace {
CString ReasonOf(const StorageFailure& failure) {
    CString reason;
    switch (failure.cause) {
    case StorageFailure::Cause::FolderMissing:
        reason = kReasonFolderMissing;
        break;
    case StorageFailure::Cause::NotAFolder:
        reason = kReasonNotAFolder;
        break;
    case StorageFailure::Cause::ReadOnly:
        reason = kReasonReadOnly;
        break;
    case StorageFailure::Cause::Full:
        reason = kReasonFull;
        break;
    default:
        reason.Format(kReasonOther, failure.error);
        break;
    }
    return reason;
}
} // namespace

DocumentJournal::DocumentJournal(CTallyscopeDoc& doc) : m_doc(doc) {
    m_timer.setSingleShot(true);
    m_timer.setInterval(kDelayMs);
    QObject::connect(&m_timer, &QTimer::timeout, [this] { Write(); });
    m_retryTimer.setSingleShot(true);
    m_retryTimer.setInterval(kRetryMs);
    QObject::connect(&m_retryTimer, &QTimer::timeout, [this] {
        if (m_doc.IsModified())
            Write();
    });
    m_journal = std::make_unique<WorkJournal>([this](const StorageFailure& failure, long long number) {
        QMetaObject::invokeMethod(
            &m_timer, [this, failure, number] { Reported(failure, number); }, Qt::QueuedConnection);
    });
}

DocumentJournal::~DocumentJournal() {
    m_journal.reset();
}

void DocumentJournal::Changed() {
    if (!m_timer.isActive())
        m_timer.start();
}

bool DocumentJournal::WriteNow() {
    Write();
    const bool written = m_journal->Flush();
    if (written)
        LetGoOfOrphan();
    return written;
}

void DocumentJournal::Clear() {
    m_timer.stop();
    m_retryTimer.stop();
    m_journal->Clear();
    LetGoOfOrphan();
}

void DocumentJournal::PictureOpened(std::shared_ptr<const OpenedPicture> picture) {
    m_openedPicture = std::move(picture);
}

void DocumentJournal::CheckFolder() {
    const StorageFailure failure = RecoveryFolder::Check();
    if (!failure.IsFailure())
        return;
    m_unprotected = true;
    TellFailure(failure);
}

void DocumentJournal::TakeOver(const QString& orphanPath, std::unique_ptr<QLockFile> claim) {
    m_orphan = orphanPath;
    m_orphanClaim = std::move(claim);
    m_orphanWrite = m_lastWrite;
    if (m_doc.IsModified() && m_journal->Flush())
        LetGoOfOrphan();
}

void DocumentJournal::Write() {
    m_timer.stop();
    m_lastWrite = m_journal->Write([work = RecoveredWork::Capture(m_doc), opened = m_openedPicture]() mutable {
        work.picture = opened ? opened->JournalStamp() : RecoveredWork::PictureStamp::Of(work.picturePath);
        return work.Serialise();
    });
}

void DocumentJournal::Reported(const StorageFailure& failure, long long number) {
    if (!failure.IsFailure()) {
        if (number >= m_orphanWrite)
            LetGoOfOrphan();
        if (m_unprotected) {
            m_unprotected = false;
            ShowStatus(kMsgJournalProtectedAgain);
        }
        return;
    }
    m_unprotected = true;
    ShowStatus(kMsgJournalUnprotected);
    if (m_doc.IsModified())
        m_retryTimer.start();
    TellFailure(failure);
}

// Told once for each cause: a folder that stays full is not a new message at every change.
void DocumentJournal::TellFailure(const StorageFailure& failure) {
    if (!m_told.insert(failure.cause).second)
        return;
    CString text;
    text.Format(kMsgJournalUnusable, QDir::toNativeSeparators(failure.folder).toUtf8().constData(),
                ReasonOf(failure).GetString());
    AfxMessageBox(text, MB_OK | MB_ICONWARNING);
}

void DocumentJournal::ShowStatus(const char* text) {
    if (auto* frame = dynamic_cast<CFrameWnd*>(AfxGetMainWnd()))
        frame->SetMessageText(text);
}

void DocumentJournal::LetGoOfOrphan() {
    if (m_orphan.isEmpty())
        return;
    RecoveryFolder::RemoveDurably(m_orphan);
    m_orphan.clear();
    m_orphanClaim.reset();
}
