#pragma once
// The one document: the open picture, the picked points by series, the calibration and the two
// measurement switches. It carries out the data commands and decides which commands are available.

#include "model/CDataAxis.h"
#include "model/CDataSeries.h"
#include "platform/CDocument.h"
#include "platform/Picture.h"

class CTallyscopeDoc : public CDocument {
    DECLARE_DYNCREATE(CTallyscopeDoc)
    DECLARE_MESSAGE_MAP()
public:
    CTallyscopeDoc();
    ~CTallyscopeDoc() override;

    void Serialize(CArchive& ar) override;
    void DeleteContents() override;
    BOOL OnNewDocument() override;
    BOOL OnOpenDocument(LPCTSTR lpszPathName) override;

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
};

inline constexpr const char* kMsgDeleteAllQuestion = "全てのデータを消去します。よろしいですか?";
inline constexpr const char* kMsgOpenFailed = "ファイルを開くことができませんでした";
inline constexpr const char* kMsgPictureIncomplete =
    "画像ファイルが途中で壊れています。\n読み込めなかった部分は正しく表示されません。";
