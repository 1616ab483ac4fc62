#include "app/WorkRecovery.h"

#include "doc/CTallyscopeDoc.h"
#include "doc/RecoveredWork.h"
#include "platform/app/CWinApp.h"
#include "platform/core/KeptFile.h"
#include "platform/core/RecoveryFolder.h"
#include "platform/ui/ModalHost.h"

#include <QDir>
#include <QFileInfo>
#include <QLockFile>

namespace {

constexpr const char* kJournal = "journal";
constexpr const char* kKept = "kept";

// Offers do not nest: opening the picture of a journal being offered offers nothing more.
bool g_offering = false;

class OfferingScope {
public:
    OfferingScope() : m_outer(g_offering) { g_offering = true; }
    ~OfferingScope() { g_offering = m_outer; }
    OfferingScope(const OfferingScope&) = delete;
    OfferingScope& operator=(const OfferingScope&) = delete;

private:
    bool m_outer;
};

int Ask(const char* format, const QString& name, int points) {
    CString text;
    text.Format(format, name.toUtf8().constData(), points);
    return AfxMessageBox(text, MB_YESNOCANCEL | MB_ICONWARNING);
}

QString FileName(const QString& path) {
    return QFileInfo(path).fileName();
}

bool SamePath(const QString& a, const QString& b) {
    return QDir::cleanPath(QFileInfo(a).absoluteFilePath()) ==
           QDir::cleanPath(QFileInfo(b).absoluteFilePath());
}

} // namespace

void WorkRecovery::OfferAtStart(CTallyscopeDoc& doc) {
    OfferKeptFiles();
    if (doc.m_pPicture != nullptr)
        OfferForPicture(doc);
    else
        OfferJournals(doc, Pictures::Any);
}

void WorkRecovery::OfferForPicture(CTallyscopeDoc& doc) {
    if (!g_offering && doc.m_pPicture != nullptr)
        OfferJournals(doc, Pictures::TheOpenOne);
}

// With a picture open, only its own journals are offered. Once one is restored the document holds
// that work, and the rest wait for a later start.
void WorkRecovery::OfferJournals(CTallyscopeDoc& doc, Pictures pictures) {
    const OfferingScope scope;
    const QString picture = QString::fromUtf8(doc.GetPathName().GetString());
    for (const QString& path : RecoveryFolder::Orphans(kJournal)) {
        const std::unique_ptr<QLockFile> claim = RecoveryFolder::Claim(path);
        const std::optional<RecoveredWork> work = claim ? RecoveredWork::ReadFile(path) : std::nullopt;
        // Points picked on one page of a PDF, or at one resolution, belong to that picture only.
        if (!work || (pictures == Pictures::TheOpenOne &&
                      (!SamePath(work->picturePath, picture) || work->pdfPage != doc.GetPdfPage())))
            continue;
        const Outcome outcome = Offer(doc, *work, pictures);
        if (outcome == Outcome::LetGo)
            RecoveryFolder::KeepAsBackup(path, kJournal);
        if (outcome == Outcome::Restored) {
            RecoveryFolder::RemoveDurably(path);
            return;
        }
    }
}

// The picture is opened (unless it is the open one) and the work put on it; a picture that is gone
// can still have its work exported, and a changed one is said to be so.
WorkRecovery::Outcome WorkRecovery::Offer(CTallyscopeDoc& doc, const RecoveredWork& work, Pictures pictures) {
    const RecoveredWork::PictureState state = work.CheckPicture();
    const int points = work.PointCount();
    if (state == RecoveredWork::PictureState::Missing)
        return OfferExport(kMsgExportWorkPictureMissing, work.picturePath, work);
    const bool changed = state == RecoveredWork::PictureState::Changed;
    switch (
        Ask(changed ? kMsgRestoreWorkPictureChanged : kMsgRestoreWork, FileName(work.picturePath), points)) {
    case IDYES:
        break;
    case IDNO:
        return changed ? OfferExport(kMsgExportWorkInstead, FileName(work.picturePath), work)
                       : Outcome::LetGo;
    default:
        return Outcome::Left;
    }
    if (pictures == Pictures::Any) {
        CWinApp* app = AfxGetApp();
        // A PDF's page is rendered again at the page and resolution the points were picked on.
        doc.PresetPdfPage(work.pdfPage);
        const bool opened = app != nullptr && app->OpenDocumentFile(work.picturePath.toUtf8().constData()) != nullptr;
        doc.PresetPdfPage(std::nullopt);
        if (!opened)
            return Outcome::Left;
    }
    doc.RestoreWork(work);
    return Outcome::Restored;
}

// Yes exports the work (and it is let go once written), No lets it go, Cancel leaves it.
WorkRecovery::Outcome WorkRecovery::OfferExport(const char* question, const QString& name,
                                                const RecoveredWork& work) {
    switch (Ask(question, name, work.PointCount())) {
    case IDYES:
        return ExportWithoutPicture(work) ? Outcome::LetGo : Outcome::Left;
    case IDNO:
        return Outcome::LetGo;
    default:
        return Outcome::Left;
    }
}

// A document of its own, with no picture and no journal, writes the work through the usual save
// dialog and export.
bool WorkRecovery::ExportWithoutPicture(const RecoveredWork& work) {
    CTallyscopeDoc holder;
    work.ApplyTo(holder);
    return holder.ExportData() != FALSE;
}

void WorkRecovery::OfferKeptFiles() {
    for (const QString& path : RecoveryFolder::Orphans(kKept)) {
        const std::unique_ptr<QLockFile> claim = RecoveryFolder::Claim(path);
        const std::optional<KeptFile> kept = claim ? KeptFile::Read(path) : std::nullopt;
        if (!kept)
            continue;
        CString text;
        text.Format(kMsgPutBackKeptFile, kept->target.toUtf8().constData());
        const int answer = AfxMessageBox(text, MB_YESNOCANCEL | MB_ICONWARNING);
        if (answer == IDYES) {
            if (kept->PutBack()) {
                RecoveryFolder::RemoveDurably(path);
            } else {
                text.Format(kMsgPutBackFailed, kept->target.toUtf8().constData());
                AfxMessageBox(text, MB_OK | MB_ICONWARNING);
            }
        } else if (answer == IDNO) {
            RecoveryFolder::KeepAsBackup(path, kKept);
        }
    }
}
