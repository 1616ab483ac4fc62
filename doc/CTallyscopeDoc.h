#pragma once
// The one document: the open picture, the picked points by series, the calibration and the two
// measurement switches. It carries out the data commands and decides which commands are available.

#include "doc/DocumentJournal.h"
#include "model/CDataAxis.h"
#include "model/CDataSeries.h"
#include "platform/app/CDocument.h"
#include "platform/picture/Picture.h"
#include "work/WorkState.h"

#include <memory>
#include <optional>

class CStdioFile;

class CTallyscopeDoc : public CDocument {
    DECLARE_DYNCREATE(CTallyscopeDoc)
    DECLARE_MESSAGE_MAP()
public:
    CTallyscopeDoc();
    ~CTallyscopeDoc() override;

    void Serialize(CArchive& ar) override;
    void DeleteContents() override;
    BOOL OnNewDocument() override;
    // Opens a picture file, or a page of a PDF (PdfOpening): the page preset for this open, else
    // the one the user chooses.
    BOOL OnOpenDocument(LPCTSTR lpszPathName) override;
    // The file's name; for a PDF page, with the page and resolution.
    void SetPathName(LPCTSTR lpszPathName) override;
    // The user cancelled the page dialog of a PDF.
    BOOL WasOpenCancelled() const override { return m_bOpenCancelled; }
    // Before the picture is closed or replaced: with unexported work, asks whether to export it
    // first. TRUE when the work was exported or may go, FALSE when it must stay.
    BOOL SaveModified() override;

    // Every change to the points or the calibration, by the document's commands, the view or the
    // dialogs, is reported here: from then on there is work that only an export keeps, and nothing
    // kept from the data before the change (the measure below) is shown after it.
    void DataChanged();
    // The export: the save dialog, then the file. TRUE when the file was written whole.
    BOOL ExportData();

    // From now on every change is journalled, so that the work outlives a crash (the program's
    // one document; documents made for other purposes keep no journal).
    void StartJournal();
    DocumentJournal* GetJournal() { return m_journal.get(); }
    // Takes over work from elsewhere: left by a program that did not end normally (the journal's
    // RecoveredWork), or saved in a work file. The points, the calibration, the switches and the
    // selection become unexported work, journalled at once.
    void TakeOverWork(const WorkState& state);
    // The session is ending without a chance to ask: the work as it is now goes to the journal.
    void FlushJournal();
    // The user let the unexported work go (answered No): nothing of it is kept any more.
    void DiscardJournal();
    // How many pictures this document has opened.
    int GetOpenCount() const { return m_nOpenCount; }

    // The page and resolution the next open of a PDF takes instead of asking (the command line, a
    // recovered work); nothing asks again. It holds for one open, whether or not that succeeds.
    void PresetPdfPage(std::optional<PdfPageChoice> choice) { m_presetPdfPage = choice; }
    // Opens the file as OnOpenDocument does, a PDF at the page and resolution given, without asking.
    BOOL OpenPictureFile(LPCTSTR lpszPathName, const PdfPageChoice& pdfPage);
    // The PDF page and resolution the open picture was rendered from; nothing for a picture file.
    std::optional<PdfPageChoice> GetPdfPage() const;
    // The open picture's file as it was when it was opened (not as it may be now): its size and
    // the hash of the bytes held since the open, read the first time they are asked for; size -1
    // without a picture.
    WorkState::PictureIdentity GetPictureIdentity() const;

    // The picture's bitmap, or null without a picture or when it is not a bitmap.
    HBITMAP GetBitmapHandle() const;
    // Selects the picked point or reference point under the position; the nearer wins, a tie
    // goes to the picked point. The caller clears the selection first.
    BOOL SelectData(int nX, int nY);
    // Lowers every selection flag, and the selection mark of every picture view.
    void ClearSelection();
    // The selected reference point, else the selected picked point, else null.
    CData* GetSelectedData();
    // Passes a position on to every magnifier view of the document.
    void UpdateZoomView(int nX, int nY, BOOL bPoint);

    // Length of the open polyline and area of the polygon of a series, in chart units; 0 for an
    // index below 0 or too few points.
    double GetLineLength(int nIndex) const;
    double GetArea(int nIndex) const;
    // GetLineLength and GetArea of the series before the current one, as the status bar shows them
    // on every mouse move. They are worked out once and kept until the next DataChanged, so a
    // long series does not slow every move down; the numbers are exactly those the two give.
    void GetPreviousSeriesMeasure(double& dLength, double& dArea) const;

    CPictureHolder* m_pPicture = nullptr;
    CDataSeries m_DataSeries;
    CDataAxis m_DataAxis;
    BOOL m_bMeasureLength = FALSE;
    BOOL m_bMeasureArea = FALSE;

    // Command handlers and their update handlers.
    void OnDataShow();
    void OnAxisValue();
    void OnDataSave();
    void OnDataDeleteLast();
    void OnDataDeleteAll();
    void OnDataNewSeries();
    void OnMeasureLength();
    void OnMeasureArea();
    void OnUpdateImageCommand(CCmdUI* pCmdUI);
    void OnUpdateMeasureLength(CCmdUI* pCmdUI);
    void OnUpdateMeasureArea(CCmdUI* pCmdUI);

private:
    // The new picture replaces the contents: the open succeeds.
    BOOL TakePicture(LPCTSTR lpszPathName, std::unique_ptr<IPictureDisp> picture);

    // The previous series' measure as last worked out. Besides the note of a change, the series'
    // index and number of points must match, so a point added or a series started is never
    // measured with the numbers of before.
    struct KeptMeasure {
        int nIndex = 0;
        int nPointCount = 0;
        double dLength = 0.0;
        double dArea = 0.0;
    };
    BOOL OpenDataFile(CStdioFile& file, LPCTSTR lpszPathName);

    mutable std::optional<KeptMeasure> m_keptMeasure;
    std::unique_ptr<DocumentJournal> m_journal;
    std::shared_ptr<const OpenedPicture> m_openedPicture; // the open picture's file when it was opened
    // The user answered No to the export question: the work may go with the contents.
    BOOL m_bWorkReleased = FALSE;
    int m_nOpenCount = 0;
    std::optional<PdfPageChoice> m_presetPdfPage;
    BOOL m_bOpenCancelled = FALSE;
};

inline constexpr const char* kMsgDeleteAllQuestion = "全てのデータを消去します。よろしいですか?";
inline constexpr const char* kMsgOpenFailed = "ファイルを開くことができませんでした";
// "%s": the picture's name.
inline constexpr const char* kMsgAskToExport = "%s のデータは書き出されていません。書き出しますか?";
inline constexpr const char* kMsgPictureIncomplete =
    "画像ファイルが途中で壊れています。\n読み込めなかった部分は正しく表示されません。";
// "%s": the file; "%s": the recovery folder.
inline constexpr const char* kMsgRewriteWithoutKeptCopy =
    "%s は、そのフォルダーに新しいファイルを作成できないため、その場で書き換えることになります。\n"
    "ところが、書き換える前の内容を控えておくフォルダー %s に書き込むことができません。\n"
    "書き換えの途中でプログラムが異常終了すると、ファイルの元の内容が失われるおそれがあります。\n"
    "このまま書き出しますか?";
