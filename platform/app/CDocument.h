#pragma once
// The framework's document: its list of views (walked with GetFirstViewPosition/GetNextView),
// UpdateAllViews, the title and path, the modified flag, and the open/new/close steps that the
// single-document template drives.

#include "platform/core/CCmdTarget.h"
#include "platform/core/CString.h"

#include <vector>

class CView;
struct PositionTag;
using POSITION = PositionTag*;

class CDocument : public CCmdTarget {
    DECLARE_DYNAMIC(CDocument)
public:
    ~CDocument() override;

    void AddView(CView* pView);
    void RemoveView(CView* pView);
    POSITION GetFirstViewPosition() const;
    CView* GetNextView(POSITION& rPosition) const;
    // Calls OnUpdate of every view but the sender, in the order the views were added.
    void UpdateAllViews(CView* pSender, LPARAM lHint = 0, CObject* pHint = nullptr);

    virtual BOOL OnNewDocument();
    // Opens the file for reading (a failure is reported here and leaves the document as it was),
    // then resets the contents and runs Serialize on it.
    virtual BOOL OnOpenDocument(LPCTSTR lpszPathName);
    // Whether the last OnOpenDocument failed because the user called the open off (a question of
    // the document's own answered with Cancel) rather than because of the file.
    virtual BOOL WasOpenCancelled() const { return FALSE; }
    virtual void OnCloseDocument();
    virtual void DeleteContents();
    // Asked before the document is closed or replaced by another file: TRUE lets that go on, FALSE
    // keeps the document as it is. The framework's documents keep nothing that could be lost; a
    // document that holds unsaved work overrides this to ask the user.
    virtual BOOL SaveModified();

    const CString& GetTitle() const { return m_strTitle; }
    virtual void SetTitle(LPCTSTR lpszTitle);
    const CString& GetPathName() const { return m_strPathName; }
    // Sets the path and takes the file name as title.
    virtual void SetPathName(LPCTSTR lpszPathName);
    BOOL IsModified() const { return m_bModified; }
    void SetModifiedFlag(BOOL bModified = TRUE) { m_bModified = bModified ? TRUE : FALSE; }

protected:
    CDocument() = default;

    // The framework's check that a file can be opened for reading, with its own report.
    static BOOL CanOpenForReading(LPCTSTR lpszPathName);

private:
    std::vector<CView*> m_viewList;
    CString m_strTitle;
    CString m_strPathName;
    BOOL m_bModified = FALSE;
};

// The framework's Japanese report for a file that cannot be opened for reading ("%s": the path).
inline constexpr const char* AFX_MSG_FILE_NOT_READABLE = "ファイル \"%s\" を開けません。\nファイルが存在し、読み取りが許可されているか確認してください。";
