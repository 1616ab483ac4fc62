#include "app/WorkRecovery.h"

#include "doc/CTallyscopeDoc.h"
#include "doc/RecoveredWork.h"
#include "work/DocumentWork.h"
#include "platform/app/CFrameWnd.h"
#include "platform/app/CWinApp.h"
#include "platform/core/KeptFile.h"
#include "platform/core/RecoveryFolder.h"
#include "platform/ui/ModalHost.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QLockFile>

#include <map>
#include <vector>

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

int Ask(const char* format, const QString& name, int points, const CString& note = CString(),
        UINT type = MB_YESNOCANCEL) {
    CString text;
    text.Format(format, name.toUtf8().constData(), points);
    if (!note.IsEmpty())
        text += "\n" + note;
    return AfxMessageBox(text, type | MB_ICONWARNING);
}

QString Native(const QString& path) {
    return QDir::toNativeSeparators(path);
}

// Journals of one picture tell themselves apart by the time of their last change.
CString LastChangeNote(const RecoveredWork& work) {
    CString note;
    note.Format(kMsgJournalLastChange,
                QDateTime::fromMSecsSinceEpoch(work.writtenMs).toString("yyyy/MM/dd HH:mm:ss").toUtf8().constData());
    return note;
}

QString PictureKey(const QString& path) {
    return QDir::cleanPath(QFileInfo(path).absoluteFilePath());
}

QString FileName(const QString& path) {
    return QFileInfo(path).fileName();
}

bool SamePath(const QString& a, const QString& b) {
    return PictureKey(a) == PictureKey(b);
}

// An orphan journal, claimed, and what reading it gave.
struct Orphan {
    QString path;
    std::unique_ptr<QLockFile> claim;
    RecoveredWork::Reading reading;
};

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

// With a picture open, only its own journals are offered (and damaged ones whose picture could
// not be read). Once one is restored the document holds that work, and the rest wait for a later
// start. A damaged journal is set aside before it is told, so it is never offered twice.
void WorkRecovery::OfferJournals(CTallyscopeDoc& doc, Pictures pictures) {
    const OfferingScope scope;
    const QString picture = QString::fromUtf8(doc.GetPathName().GetString());
    std::vector<Orphan> orphans;
    std::map<QString, int> perPicture;
    for (const QString& path : RecoveryFolder::Orphans(kJournal)) {
        std::unique_ptr<QLockFile> claim = RecoveryFolder::Claim(path);
        if (!claim)
            continue;
        RecoveredWork::Reading reading = RecoveredWork::Examine(path);
        // Points picked on one page of a PDF, or at one resolution, belong to that picture only.
        if (pictures == Pictures::TheOpenOne && reading.pictureKnown &&
            (!SamePath(reading.work.picturePath, picture) || reading.work.pdfPage != doc.GetPdfPage()))
            continue;
        if (reading.pictureKnown)
            ++perPicture[PictureKey(reading.work.picturePath)];
        orphans.push_back({path, std::move(claim), std::move(reading)});
    }
    for (Orphan& orphan : orphans) {
        const RecoveredWork& work = orphan.reading.work;
        if (!orphan.reading.whole) {
            if (OfferDamaged(doc, orphan.path, orphan.reading, pictures) == Outcome::Restored)
                return;
            continue;
        }
        const CString note = perPicture[PictureKey(work.picturePath)] > 1 ? LastChangeNote(work) : CString();
        const Outcome outcome = Offer(doc, work, pictures, note);
        if (outcome == Outcome::LetGo)
            RecoveryFolder::KeepAsBackup(orphan.path, kJournal);
        if (outcome == Outcome::Restored) {
            // The journal goes only once the document's own journal holds its work on disk.
            if (DocumentJournal* journal = doc.GetJournal())
                journal->TakeOver(orphan.path, std::move(orphan.claim));
            return;
        }
    }
}

// The user hears of the work whatever could be read of it, and gets what could be.
WorkRecovery::Outcome WorkRecovery::OfferDamaged(CTallyscopeDoc& doc, const QString& path,
                                                 const RecoveredWork::Reading& reading, Pictures pictures) {
    const QString aside = RecoveryFolder::SetAside(path, QStringLiteral("damaged"));
    const RecoveredWork& work = reading.work;
    const QString name = reading.pictureKnown ? FileName(work.picturePath) : QString::fromUtf8(kUnknownPicture);
    CString where;
    where.Format(kMsgDamagedJournalKept, Native(aside.isEmpty() ? path : aside).toUtf8().constData());
    if (!reading.HasWork()) {
        Ask(kMsgDamagedWorkUnreadable, name, 0, where, MB_OK);
        return Outcome::LetGo;
    }
    const bool pictureThere =
        reading.pictureKnown && work.CheckPicture() != RecoveredWork::PictureState::Missing;
    if (!pictureThere) {
        if (Ask(kMsgExportDamagedWork, name, work.PointCount(), where, MB_YESNO) == IDYES)
            ExportWithoutPicture(work);
        return Outcome::LetGo;
    }
    if (Ask(kMsgRestoreDamagedWork, name, work.PointCount(), where, MB_YESNO) != IDYES)
        return Outcome::LetGo;
    if (!OpenPictureOf(doc, work, pictures))
        return Outcome::Left;
    doc.TakeOverWork(work);
    return Outcome::Restored;
}

bool WorkRecovery::OpenPictureOf(CTallyscopeDoc& doc, const RecoveredWork& work, Pictures pictures) {
    if (pictures == Pictures::TheOpenOne)
        return true;
    CWinApp* app = AfxGetApp();
    // A PDF's page is rendered again at the page and resolution the points were picked on.
    doc.PresetPdfPage(work.pdfPage);
    const bool opened = app != nullptr && app->OpenDocumentFile(work.picturePath.toUtf8().constData()) != nullptr;
    doc.PresetPdfPage(std::nullopt);
    return opened;
}

// The picture is opened (unless it is the open one) and the work put on it; a picture that is gone
// can still have its work exported, and a changed one is said to be so.
WorkRecovery::Outcome WorkRecovery::Offer(CTallyscopeDoc& doc, const RecoveredWork& work, Pictures pictures,
                                          const CString& note) {
    const RecoveredWork::PictureState state = work.CheckPicture();
    const int points = work.PointCount();
    if (state == RecoveredWork::PictureState::Missing)
        return OfferExport(kMsgExportWorkPictureMissing, work.picturePath, work, note);
    const bool changed = state == RecoveredWork::PictureState::Changed;
    switch (Ask(changed ? kMsgRestoreWorkPictureChanged : kMsgRestoreWork, FileName(work.picturePath), points,
                note)) {
    case IDYES:
        break;
    case IDNO:
        return changed ? OfferExport(kMsgExportWorkInstead, FileName(work.picturePath), work, note)
                       : Outcome::LetGo;
    default:
        return Outcome::Left;
    }
    if (!OpenPictureOf(doc, work, pictures))
        return Outcome::Left;
    doc.TakeOverWork(work);
    return Outcome::Restored;
}

// Yes exports the work (and it is let go once written), No lets it go, Cancel leaves it.
WorkRecovery::Outcome WorkRecovery::OfferExport(const char* question, const QString& name,
                                                const RecoveredWork& work, const CString& note) {
    switch (Ask(question, name, work.PointCount(), note)) {
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
    DocumentWork::ApplyTo(work, holder);
    return holder.ExportData() != FALSE;
}

// A copy is offered back only while putting it back cannot undo anything newer than the cut-short
// rewrite; otherwise it is set aside (never deleted) and the status bar says where.
void WorkRecovery::OfferKeptFiles() {
    for (const QString& path : RecoveryFolder::Orphans(kKept)) {
        const std::unique_ptr<QLockFile> claim = RecoveryFolder::Claim(path);
        if (!claim)
            continue;
        const std::optional<KeptFile> kept = KeptFile::Read(path);
        if (!kept || kept->StateOfTarget() == KeptFile::TargetState::Other) {
            const QString aside = RecoveryFolder::SetAside(path, kept ? QStringLiteral("outdated") : QStringLiteral("damaged"));
            CString note;
            note.Format(kMsgKeptFileSetAside,
                        Native(kept ? kept->target : path).toUtf8().constData(),
                        Native(aside.isEmpty() ? path : aside).toUtf8().constData());
            if (auto* frame = dynamic_cast<CFrameWnd*>(AfxGetMainWnd()))
                frame->SetMessageText(note);
            continue;
        }
        const QByteArray target = Native(kept->target).toUtf8();
        const QFileInfo now(kept->target);
        CString text;
        text.Format(kMsgPutBackKeptFile, target.constData());
        CString state;
        state.Format(kMsgKeptFileState,
                     now.lastModified().toString("yyyy/MM/dd HH:mm:ss").toUtf8().constData(),
                     static_cast<long long>(now.size()), static_cast<long long>(kept->contents.size()));
        text += "\n" + state;
        const int answer = AfxMessageBox(text, MB_YESNOCANCEL | MB_ICONWARNING);
        if (answer == IDYES) {
            if (kept->PutBack()) {
                RecoveryFolder::RemoveDurably(path);
            } else {
                text.Format(kMsgPutBackFailed, target.constData());
                AfxMessageBox(text, MB_OK | MB_ICONWARNING);
            }
        } else if (answer == IDNO) {
            RecoveryFolder::KeepAsBackup(path, kKept);
        }
    }
}
