#include "app/WorkFileCommands.h"

#include "doc/CTallyscopeDoc.h"
#include "platform/app/CDocTemplate.h"
#include "platform/app/CWinApp.h"
#include "platform/ui/CFileDialog.h"
#include "platform/ui/CWaitCursor.h"
#include "platform/ui/ModalHost.h"
#include "trace/TracePreferences.h"
#include "work/DocumentWork.h"

#include <QDir>
#include <QFileInfo>

#include <algorithm>
#include <cmath>
#include <optional>

namespace {

// The traces by colour a work file held (made on the command line; the window traces from a
// pixel), kept for the picture it was opened onto, so that saving that work again keeps them.
struct CarriedWork {
    QString picturePath;
    std::vector<WorkState::ColourTrace> colourTraces;
};
std::optional<CarriedWork> g_carried;

QString FileName(const QString& path) {
    return QFileInfo(path).fileName();
}

QString Utf8(const CString& text) {
    return QString::fromUtf8(text.GetString());
}

int Tell(const char* format, const QString& text, UINT type) {
    CString message;
    message.Format(format, text.toUtf8().constData());
    return AfxMessageBox(message, type);
}

// The work as the document holds it, with what it carries. The picture's identity is the file's
// when it was opened: the one the points were picked on, whatever has become of it since.
WorkState WorkOf(const CTallyscopeDoc& doc) {
    WorkState state = DocumentWork::Capture(doc);
    state.pictureIdentity = doc.GetPictureIdentity();
    const TracePreferences preferences = TracePreferences::Load();
    state.extraction = {static_cast<double>(preferences.colourTolerance),
                        static_cast<double>(preferences.pointSpacing),
                        static_cast<double>(preferences.largestGap), preferences.insideReferenceBox};
    if (g_carried && g_carried->picturePath == state.picturePath)
        state.colourTraces = g_carried->colourTraces;
    return state;
}

int WholeWithin(double value, const int (&range)[2]) {
    return static_cast<int>(std::clamp(std::round(value), static_cast<double>(range[0]), static_cast<double>(range[1])));
}

// The work's trace settings become the ones the window traces with, as near as its dialog's
// whole numbers come.
void KeepExtraction(const WorkState::Extraction& extraction) {
    TracePreferences preferences;
    preferences.colourTolerance = WholeWithin(extraction.colourTolerance, TracePreferences::kToleranceRange);
    preferences.pointSpacing = WholeWithin(extraction.pointSpacing, TracePreferences::kSpacingRange);
    preferences.largestGap = WholeWithin(extraction.largestGap, TracePreferences::kGapRange);
    preferences.insideReferenceBox = extraction.insideReferenceBox;
    preferences.Save();
}

// The program's one document, which the picture of a work file opens into.
CTallyscopeDoc* OnlyDocument(CDocTemplate& docTemplate) {
    auto* single = dynamic_cast<CSingleDocTemplate*>(&docTemplate);
    return single != nullptr ? static_cast<CTallyscopeDoc*>(single->GetDocument()) : nullptr;
}

// A work file beside its picture, named after it.
CString SuggestedName(const CTallyscopeDoc& doc) {
    const QFileInfo picture(Utf8(doc.GetPathName()));
    return CString(picture.dir().filePath(picture.completeBaseName() + "." + WorkFile::kExtension).toUtf8().constData());
}

} // namespace

void WorkFileCommands::Save(CTallyscopeDoc& doc) {
    CFileDialog dialog(FALSE, WorkFile::kExtension, SuggestedName(doc), OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT,
                       kWorkFileFilter);
    dialog.m_request.title = kTitleSaveWork;
    if (dialog.DoModal() != IDOK)
        return;
    const QString path = Utf8(dialog.GetPathName());
    WorkFile::Error error;
    {
        CWaitCursor wait;
        error = WorkFile::Write(WorkOf(doc), path);
    }
    if (error.kind != WorkFile::Error::Kind::None)
        Tell(kMsgWorkSaveFailed, FileName(path), MB_OK | MB_ICONWARNING);
}

void WorkFileCommands::Open() {
    CFileDialog dialog(TRUE, WorkFile::kExtension, nullptr, OFN_HIDEREADONLY | OFN_FILEMUSTEXIST,
                       kWorkFileFilter);
    dialog.m_request.title = kTitleOpenWork;
    if (dialog.DoModal() != IDOK)
        return;
    OpenFile(Utf8(dialog.GetPathName()));
}

// Nothing of the open work changes until the file has been read whole and its picture opened;
// the picture's open asks about unexported work as any other open does.
void WorkFileCommands::OpenFile(const QString& path) {
    WorkFile::ReadResult read;
    {
        CWaitCursor wait;
        read = WorkFile::Read(path);
    }
    if (!read.state) {
        TellRefusal(read.error, path);
        return;
    }
    const WorkState& state = *read.state;
    const QString picture = PictureForWork(state);
    CWinApp* app = AfxGetApp();
    CDocTemplate* docTemplate = app != nullptr ? app->GetFirstDocTemplate() : nullptr;
    if (picture.isEmpty() || docTemplate == nullptr)
        return;
    // Through the template, so that the picture is opened afresh even when it is the open one:
    // the work file's work replaces whatever was picked on it. A PDF's page is rendered again at
    // the page and resolution the points were picked on, the chosen replacement's too; the
    // preset goes after the attempt, so an open the user declined leaves none behind.
    CTallyscopeDoc* only = OnlyDocument(*docTemplate);
    if (only != nullptr)
        only->PresetPdfPage(state.pdfPage);
    auto* doc = static_cast<CTallyscopeDoc*>(docTemplate->OpenDocumentFile(picture.toUtf8().constData()));
    if (only != nullptr)
        only->PresetPdfPage(std::nullopt);
    if (doc == nullptr)
        return;
    doc->TakeOverWork(state);
    KeepExtraction(state.extraction);
    g_carried = CarriedWork{Utf8(doc->GetPathName()), state.colourTraces};
}

QString WorkFileCommands::PictureForWork(const WorkState& state) {
    switch (state.CheckPicture()) {
    case WorkState::PictureState::Same:
        return state.picturePath;
    case WorkState::PictureState::Changed:
        switch (Tell(kMsgWorkPictureChanged, FileName(state.picturePath), MB_YESNOCANCEL | MB_ICONWARNING)) {
        case IDYES:
            return state.picturePath;
        case IDNO:
            return ChoosePicture();
        default:
            return QString();
        }
    case WorkState::PictureState::Missing:
        break;
    }
    if (Tell(kMsgWorkPictureMissing, QDir::toNativeSeparators(state.picturePath), MB_YESNO | MB_ICONWARNING) != IDYES)
        return QString();
    return ChoosePicture();
}

QString WorkFileCommands::ChoosePicture() {
    CWinApp* app = AfxGetApp();
    if (app == nullptr)
        return QString();
    CFileDialog dialog(TRUE, nullptr, nullptr, OFN_HIDEREADONLY | OFN_FILEMUSTEXIST, app->GetOpenFilter());
    dialog.m_request.title = kTitleChoosePicture;
    if (dialog.DoModal() != IDOK)
        return QString();
    return QDir::cleanPath(QFileInfo(Utf8(dialog.GetPathName())).absoluteFilePath());
}

void WorkFileCommands::TellRefusal(const WorkFile::Error& error, const QString& workFile) {
    const QString name = FileName(workFile);
    CString message;
    switch (error.kind) {
    case WorkFile::Error::Kind::NewerVersion:
        message.Format(kMsgWorkNewerVersion, name.toUtf8().constData(), error.version);
        break;
    case WorkFile::Error::Kind::WrongType:
    case WorkFile::Error::Kind::OutOfRange:
        message.Format(kMsgWorkFieldWrong, name.toUtf8().constData(), error.field.toUtf8().constData());
        break;
    case WorkFile::Error::Kind::NotWorkFile:
        message.Format(kMsgWorkNotWorkFile, name.toUtf8().constData());
        break;
    case WorkFile::Error::Kind::Damaged:
        message.Format(kMsgWorkDamaged, name.toUtf8().constData());
        break;
    default:
        message.Format(kMsgWorkUnreadable, name.toUtf8().constData());
        break;
    }
    AfxMessageBox(message, MB_OK | MB_ICONWARNING);
}
