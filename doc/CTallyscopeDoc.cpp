#include "doc/CTallyscopeDoc.h"

#include "dialogs/CAxisDlg.h"
#include "dialogs/CPixelDataDlg.h"
#include "doc/ConversionFrame.h"
#include "doc/DataFileWriter.h"
#include "model/Geometry.h"
#include "pdf/PdfOpening.h"
#include "platform/picture/PdfPageRenderer.h"
#include "platform/core/CStdioFile.h"
#include "platform/core/RecoveryFolder.h"
#include "platform/ui/CFileDialog.h"
#include "platform/ui/CWaitCursor.h"
#include "platform/ui/ModalHost.h"
#include "res/Resource.h"
#include "view/CTallyscopeView.h"
#include "work/DocumentWork.h"
#include "zoom/CZoomView.h"

#include <QDir>

#include <memory>
#include <utility>

IMPLEMENT_DYNCREATE(CTallyscopeDoc, CDocument)

const MessageMap* CTallyscopeDoc::ThisMessageMap() {
    static const MessageMap map(CDocument::ThisMessageMap(),
                                {
                                    MapCommand<&CTallyscopeDoc::OnDataShow>(ID_DATA_SHOW),
                                    MapCommand<&CTallyscopeDoc::OnAxisValue>(ID_AXIS_VALUE),
                                    MapCommand<&CTallyscopeDoc::OnDataSave>(ID_DATA_SAVE),
                                    MapCommand<&CTallyscopeDoc::OnDataDeleteLast>(ID_DATA_DELETE_LAST),
                                    MapCommand<&CTallyscopeDoc::OnDataDeleteAll>(ID_DATA_DELETE_ALL),
                                    MapCommand<&CTallyscopeDoc::OnDataNewSeries>(ID_DATA_NEW_SERIES),
                                    MapCommand<&CTallyscopeDoc::OnMeasureLength>(ID_MEASURE_LENGTH),
                                    MapCommand<&CTallyscopeDoc::OnMeasureArea>(ID_MEASURE_AREA),
                                    MapUpdate<&CTallyscopeDoc::OnUpdateImageCommand>(ID_DATA_SHOW),
                                    MapUpdate<&CTallyscopeDoc::OnUpdateImageCommand>(ID_AXIS_VALUE),
                                    MapUpdate<&CTallyscopeDoc::OnUpdateImageCommand>(ID_DATA_SAVE),
                                    MapUpdate<&CTallyscopeDoc::OnUpdateImageCommand>(ID_DATA_DELETE_LAST),
                                    MapUpdate<&CTallyscopeDoc::OnUpdateImageCommand>(ID_DATA_DELETE_ALL),
                                    MapUpdate<&CTallyscopeDoc::OnUpdateImageCommand>(ID_DATA_NEW_SERIES),
                                    MapUpdate<&CTallyscopeDoc::OnUpdateMeasureLength>(ID_MEASURE_LENGTH),
                                    MapUpdate<&CTallyscopeDoc::OnUpdateMeasureArea>(ID_MEASURE_AREA),
                                });
    return &map;
}

namespace {
// Decoding a large scan and writing many points take a while; the wait cursor shows for them, and
// is gone again before any message about the outcome.
HRESULT LoadPictureWaiting(const COleVariant& fileName, IPictureDisp** ppDispatch) {
    CWaitCursor wait;
    return OleLoadPictureFile(fileName, ppDispatch);
}

bool WriteDataFileWaiting(const CTallyscopeDoc& doc, CStdioFile& file) {
    CWaitCursor wait;
    DataFileWriter(doc, file).Write();
    return file.Close() != FALSE;
}
} // namespace

CTallyscopeDoc::CTallyscopeDoc() = default;

CTallyscopeDoc::~CTallyscopeDoc() {
    delete m_pPicture;
    m_pPicture = nullptr;
}

void CTallyscopeDoc::Serialize(CArchive&) {}

// The contents go: the journal goes with them when nothing of them is unexported or the user let
// them go; otherwise (the program ending without a question, a session that ends) it keeps the
// work as it is now, for the next start to offer.
void CTallyscopeDoc::DeleteContents() {
    if (m_journal) {
        if (!IsModified() || m_bWorkReleased)
            m_journal->Clear();
        else
            m_journal->WriteNow();
    }
    m_bWorkReleased = FALSE;
    ClearSelection();
    delete m_pPicture;
    m_pPicture = nullptr;
    m_openedPicture.reset();
    m_DataSeries.DeleteAll();
    m_DataAxis.ResetAxis();
    m_keptMeasure.reset();
    CDocument::DeleteContents();
}

BOOL CTallyscopeDoc::OnNewDocument() { return CDocument::OnNewDocument() ? TRUE : FALSE; }

// The export is the only way the points and the calibration outlive the picture, so it stands
// where other programs offer to save.
BOOL CTallyscopeDoc::SaveModified() {
    m_bWorkReleased = FALSE;
    if (!IsModified())
        return TRUE;
    CString prompt;
    prompt.Format(kMsgAskToExport, GetTitle().GetString());
    switch (AfxMessageBox(prompt, MB_YESNOCANCEL | MB_ICONWARNING)) {
    case IDYES:
        return ExportData();
    case IDNO:
        m_bWorkReleased = TRUE;
        return TRUE;
    default:
        return FALSE;
    }
}

void CTallyscopeDoc::DataChanged() {
    SetModifiedFlag(TRUE);
    m_bWorkReleased = FALSE;
    m_keptMeasure.reset();
    if (m_journal)
        m_journal->Changed();
}

void CTallyscopeDoc::StartJournal() {
    if (m_journal)
        return;
    m_journal = std::make_unique<DocumentJournal>(*this);
    if (m_pPicture != nullptr)
        m_journal->PictureOpened(m_openedPicture);
    m_journal->CheckFolder();
}

void CTallyscopeDoc::TakeOverWork(const WorkState& state) {
    DocumentWork::ApplyTo(state, *this);
    const BOOL selected = GetSelectedData() != nullptr ? TRUE : FALSE;
    for (POSITION pos = GetFirstViewPosition(); pos != nullptr;) {
        CView* view = GetNextView(pos);
        if (view->IsKindOf(RUNTIME_CLASS(CTallyscopeView)))
            static_cast<CTallyscopeView*>(view)->m_bPointSelected = selected;
    }
    DataChanged();
    if (m_journal)
        m_journal->WriteNow();
    UpdateAllViews(nullptr, 0, nullptr);
    if (const CData* point = GetSelectedData())
        UpdateZoomView(point->m_nPixelX, point->m_nPixelY, TRUE);
}

void CTallyscopeDoc::FlushJournal() {
    if (m_journal && IsModified())
        m_journal->WriteNow();
}

void CTallyscopeDoc::DiscardJournal() {
    if (m_journal)
        m_journal->Clear();
}

// The picture is decoded before anything is reset, so that a file that is not a picture leaves the
// open image, its points and its calibration exactly as they were. A damaged file of which only a
// part could be decoded is said so before it replaces them.
BOOL CTallyscopeDoc::OnOpenDocument(LPCTSTR lpszPathName) {
    // A failed open leaves the work in place, as much to be kept as before the question.
    m_bWorkReleased = FALSE;
    const std::optional<PdfPageChoice> presetPdfPage = std::exchange(m_presetPdfPage, std::nullopt);
    m_bOpenCancelled = FALSE;
    if (!CanOpenForReading(lpszPathName))
        return FALSE;
    const QString path = QString::fromUtf8(lpszPathName);
    if (PdfPageRenderer::IsPdfFile(path)) {
        bool cancelled = false;
        std::unique_ptr<IPictureDisp> page = PdfOpening::Load(path, presetPdfPage, cancelled);
        m_bOpenCancelled = cancelled ? TRUE : FALSE;
        return page != nullptr ? TakePicture(lpszPathName, std::move(page)) : FALSE;
    }
    COleVariant varFileName(lpszPathName);
    IPictureDisp* pDispatch = nullptr;
    const HRESULT hr = LoadPictureWaiting(varFileName, &pDispatch);
    VariantClear(&varFileName);
    if (FAILED(hr)) {
        AfxMessageBox(kMsgOpenFailed, MB_OK);
        return FALSE;
    }
    std::unique_ptr<IPictureDisp> picture(pDispatch);
    if (hr == S_PICTURE_INCOMPLETE)
        AfxMessageBox(kMsgPictureIncomplete, MB_OK | MB_ICONWARNING);
    return TakePicture(lpszPathName, std::move(picture));
}

// Only now, with the new picture in hand, does the old one go with its work.
BOOL CTallyscopeDoc::TakePicture(LPCTSTR lpszPathName, std::unique_ptr<IPictureDisp> picture) {
    // The picture the points are picked on is the file as it is now, just read.
    std::shared_ptr<const OpenedPicture> opened = OpenedPicture::Take(QString::fromUtf8(lpszPathName));
    if (!CDocument::OnOpenDocument(lpszPathName))
        return FALSE;
    m_openedPicture = opened;
    if (m_journal)
        m_journal->PictureOpened(std::move(opened));
    ++m_nOpenCount;
    m_pPicture = new CPictureHolder;
    m_pPicture->SetPictureDispatch(picture.release());
    return TRUE;
}

BOOL CTallyscopeDoc::OpenPictureFile(LPCTSTR lpszPathName, const PdfPageChoice& pdfPage) {
    PresetPdfPage(pdfPage);
    return OnOpenDocument(lpszPathName);
}

void CTallyscopeDoc::SetPathName(LPCTSTR lpszPathName) {
    CDocument::SetPathName(lpszPathName);
    if (const std::optional<PdfPageChoice> page = GetPdfPage())
        SetTitle(PdfOpening::Title(GetTitle(), *page));
}

WorkState::PictureIdentity CTallyscopeDoc::GetPictureIdentity() const {
    if (m_pPicture == nullptr || !m_openedPicture)
        return {};
    return m_openedPicture->WorkIdentity();
}

std::optional<PdfPageChoice> CTallyscopeDoc::GetPdfPage() const {
    if (m_pPicture == nullptr || m_pPicture->GetPicture() == nullptr)
        return std::nullopt;
    return m_pPicture->GetPicture()->GetPdfPage();
}

HBITMAP CTallyscopeDoc::GetBitmapHandle() const {
    if (m_pPicture == nullptr || m_pPicture->GetPicture() == nullptr)
        return nullptr;
    short type = PICTYPE_UNINITIALIZED;
    if (FAILED(m_pPicture->GetPicture()->get_Type(&type)) || type != PICTYPE_BITMAP)
        return nullptr;
    OLE_HANDLE handle = nullptr;
    if (FAILED(m_pPicture->GetPicture()->get_Handle(&handle)))
        return nullptr;
    return handle;
}

BOOL CTallyscopeDoc::SelectData(int nX, int nY) {
    const BOOL foundPoint = m_DataSeries.SelectData(nX, nY);
    const BOOL foundAxis = m_DataAxis.SelectAxis(nX, nY);
    if (foundPoint && foundAxis) {
        const CData* point = m_DataSeries.GetSelectedData();
        const CData* axis = m_DataAxis.GetSelectedAxis();
        const double ds = PixelDistance(nX, nY, point->m_nPixelX, point->m_nPixelY);
        const double da = PixelDistance(nX, nY, axis->m_nPixelX, axis->m_nPixelY);
        if (da < ds)
            m_DataSeries.ClearSelection();
        else
            m_DataAxis.ClearSelection();
    }
    return (foundPoint || foundAxis) ? TRUE : FALSE;
}

void CTallyscopeDoc::ClearSelection() {
    m_DataSeries.ClearSelection();
    m_DataAxis.ClearSelection();
    for (POSITION pos = GetFirstViewPosition(); pos != nullptr;) {
        CView* view = GetNextView(pos);
        if (view->IsKindOf(RUNTIME_CLASS(CTallyscopeView)))
            static_cast<CTallyscopeView*>(view)->m_bPointSelected = FALSE;
    }
}

CData* CTallyscopeDoc::GetSelectedData() {
    if (CData* axis = m_DataAxis.GetSelectedAxis())
        return axis;
    return m_DataSeries.GetSelectedData();
}

void CTallyscopeDoc::UpdateZoomView(int nX, int nY, BOOL bPoint) {
    for (POSITION pos = GetFirstViewPosition(); pos != nullptr;) {
        CView* view = GetNextView(pos);
        if (view->IsKindOf(RUNTIME_CLASS(CZoomView)))
            static_cast<CZoomView*>(view)->UpdateZoom(nX, nY, bPoint);
    }
}

// The list works on the main window's active document, which is this one; the result is not used.
void CTallyscopeDoc::OnDataShow() {
    CPixelDataDlg dlg;
    dlg.DoModal();
}

// The calibration changes only on OK, and then all of it, even when nothing was edited; that
// counts as a change to be exported. Selection, view modes and series stay as they are.
void CTallyscopeDoc::OnAxisValue() {
    CAxisDlg dlg;
    dlg.m_nOriginX = m_DataAxis.m_Origin.m_nPixelX;
    dlg.m_nOriginY = m_DataAxis.m_Origin.m_nPixelY;
    dlg.m_nXAxisX = m_DataAxis.m_XAxis.m_nPixelX;
    dlg.m_nXAxisY = m_DataAxis.m_XAxis.m_nPixelY;
    dlg.m_nYAxisX = m_DataAxis.m_YAxis.m_nPixelX;
    dlg.m_nYAxisY = m_DataAxis.m_YAxis.m_nPixelY;
    dlg.m_dXMin = m_DataAxis.m_Origin.m_dValueX;
    dlg.m_dXMax = m_DataAxis.m_XAxis.m_dValueX;
    dlg.m_dYMin = m_DataAxis.m_Origin.m_dValueY;
    dlg.m_dYMax = m_DataAxis.m_YAxis.m_dValueY;
    dlg.m_bXLog = m_DataAxis.m_bLogX;
    dlg.m_bYLog = m_DataAxis.m_bLogY;
    if (dlg.DoModal() != IDOK)
        return;
    m_DataAxis.m_Origin.m_nPixelX = dlg.m_nOriginX;
    m_DataAxis.m_Origin.m_nPixelY = dlg.m_nOriginY;
    m_DataAxis.m_XAxis.m_nPixelX = dlg.m_nXAxisX;
    m_DataAxis.m_XAxis.m_nPixelY = dlg.m_nXAxisY;
    m_DataAxis.m_YAxis.m_nPixelX = dlg.m_nYAxisX;
    m_DataAxis.m_YAxis.m_nPixelY = dlg.m_nYAxisY;
    m_DataAxis.m_Origin.m_dValueX = dlg.m_dXMin;
    m_DataAxis.m_XAxis.m_dValueX = dlg.m_dXMax;
    m_DataAxis.m_Origin.m_dValueY = dlg.m_dYMin;
    m_DataAxis.m_YAxis.m_dValueY = dlg.m_dYMax;
    m_DataAxis.m_bLogX = dlg.m_bXLog;
    m_DataAxis.m_bLogY = dlg.m_bYLog;
    DataChanged();
    UpdateAllViews(nullptr, 0, nullptr);
}

double CTallyscopeDoc::GetLineLength(int nIndex) const {
    if (nIndex < 0)
        return 0.0;
    return MeasureLineLength(ConversionFrame(m_DataAxis), *m_DataSeries.m_aSeries[nIndex]);
}

double CTallyscopeDoc::GetArea(int nIndex) const {
    if (nIndex < 0)
        return 0.0;
    return MeasureArea(ConversionFrame(m_DataAxis), *m_DataSeries.m_aSeries[nIndex]);
}

void CTallyscopeDoc::GetPreviousSeriesMeasure(double& dLength, double& dArea) const {
    const int index = m_DataSeries.m_nCurrent - 1;
    const int pointCount = index >= 0 ? m_DataSeries.m_aSeries[index]->m_aData.GetSize() : 0;
    if (!m_keptMeasure || m_keptMeasure->nIndex != index || m_keptMeasure->nPointCount != pointCount)
        m_keptMeasure = KeptMeasure{index, pointCount, GetLineLength(index), GetArea(index)};
    dLength = m_keptMeasure->dLength;
    dArea = m_keptMeasure->dArea;
}

void CTallyscopeDoc::OnDataSave() {
    ExportData();
}

// A file that must be rewritten in place while its previous contents cannot be kept on disk is
// the user's choice: the question names that cause rather than the file.
BOOL CTallyscopeDoc::OpenDataFile(CStdioFile& file, LPCTSTR lpszPathName) {
    constexpr UINT flags = CFile::modeCreate | CFile::modeWrite;
    if (file.Open(lpszPathName, flags))
        return TRUE;
    if (file.GetOpenFailure() == CStdioFile::OpenFailure::KeptCopy) {
        CString question;
        question.Format(kMsgRewriteWithoutKeptCopy, lpszPathName,
                        QDir::toNativeSeparators(RecoveryFolder::Check().folder).toUtf8().constData());
        if (AfxMessageBox(question, MB_YESNO | MB_ICONWARNING) != IDYES)
            return FALSE;
        file.AllowRewriteWithoutKeptCopy();
        if (file.Open(lpszPathName, flags))
            return TRUE;
    }
    AfxMessageBox(kMsgDataFileOpenFailed, MB_OK);
    return FALSE;
}

// The file is written to a temporary file that replaces the chosen one only when every write
// succeeded, so a full disk or a vanished folder is reported and never leaves half a file where
// the user's previous file was. Only a file written whole counts as kept work.
BOOL CTallyscopeDoc::ExportData() {
    CFileDialog dialog(FALSE, kDataFileExtension, nullptr, OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT,
                       kDataFileFilter, nullptr);
    if (dialog.DoModal() != IDOK)
        return FALSE;
    CStdioFile file;
    if (!OpenDataFile(file, dialog.GetPathName()))
        return FALSE;
    if (!WriteDataFileWaiting(*this, file)) {
        AfxMessageBox(kMsgDataFileWriteFailed, MB_OK);
        return FALSE;
    }
    SetModifiedFlag(FALSE);
    if (m_journal)
        m_journal->Clear(); // the file holds what the journal held
    return TRUE;
}

void CTallyscopeDoc::OnDataDeleteLast() {
    CDataArray* current = m_DataSeries.GetCurrentSeries();
    if (current->m_aData.GetSize() == 0)
        return;
    ClearSelection();
    current->m_aData.RemoveAt(current->m_aData.GetUpperBound());
    DataChanged();
    UpdateAllViews(nullptr, 0, nullptr);
}

void CTallyscopeDoc::OnDataDeleteAll() {
    if (AfxMessageBox(kMsgDeleteAllQuestion, MB_YESNO) != IDYES)
        return;
    ClearSelection();
    m_DataSeries.DeleteAll();
    DataChanged();
    UpdateAllViews(nullptr, 0, nullptr);
}

void CTallyscopeDoc::OnDataNewSeries() {
    m_DataSeries.NewSeries();
    DataChanged();
    UpdateAllViews(nullptr, 0, nullptr);
}

// The switches are no change to the work, but the export of unexported work depends on them, so
// the journal keeps them too.
void CTallyscopeDoc::OnMeasureLength() {
    m_bMeasureLength = m_bMeasureLength ? FALSE : TRUE;
    if (m_journal && IsModified())
        m_journal->Changed();
    UpdateAllViews(nullptr, 0, nullptr);
}

void CTallyscopeDoc::OnMeasureArea() {
    m_bMeasureArea = m_bMeasureArea ? FALSE : TRUE;
    if (m_journal && IsModified())
        m_journal->Changed();
    UpdateAllViews(nullptr, 0, nullptr);
}

void CTallyscopeDoc::OnUpdateImageCommand(CCmdUI* pCmdUI) {
    pCmdUI->Enable(m_pPicture != nullptr);
}

void CTallyscopeDoc::OnUpdateMeasureLength(CCmdUI* pCmdUI) {
    pCmdUI->Enable(m_pPicture != nullptr);
    pCmdUI->SetCheck(m_bMeasureLength);
}

void CTallyscopeDoc::OnUpdateMeasureArea(CCmdUI* pCmdUI) {
    pCmdUI->Enable(m_pPicture != nullptr);
    pCmdUI->SetCheck(m_bMeasureArea);
}
