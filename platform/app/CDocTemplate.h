#pragma once
// The framework's document templates. A template binds a document class, a frame class and a view
// class to one resource id, whose string holds seven fields separated by "\n": the main window's
// title, the root of default document titles, the file-new name, the Open dialog's filter name and
// extension, and the registry's file type id and name. The single-document template keeps one
// document for the whole run, shown in one main frame, and reuses it for every file opened.

#include "platform/core/CCmdTarget.h"
#include "platform/core/CString.h"

class CDocument;
class CFrameWnd;

class CDocTemplate : public CCmdTarget {
    DECLARE_DYNAMIC(CDocTemplate)
public:
    enum DocStringIndex {
        windowTitle,
        docName,
        fileNewName,
        filterName,
        filterExt,
        regFileTypeId,
        regFileTypeName,
    };

    UINT GetResourceID() const { return m_nIDResource; }
    // One field of the template's string; FALSE when the string has no such field.
    BOOL GetDocString(CString& rString, DocStringIndex index) const;

    // Opens the file (null: a new, empty document) and shows it; null when it fails, after the
    // document has told the user why, or when the open document was asked whether it may be
    // replaced (SaveModified) and the answer was no.
    virtual CDocument* OpenDocumentFile(LPCTSTR lpszPathName, BOOL bMakeVisible = TRUE) = 0;
    // Whether the last OpenDocumentFile gave no document because the open one had to stay, or the
    // user called the open off; the file itself is then not at fault.
    BOOL WasLastOpenDeclined() const { return m_bLastOpenDeclined; }
    // Asks each open document whether it may be closed; FALSE as soon as one must stay.
    virtual BOOL SaveAllModified() = 0;
    // The open document that shows this file, if any.
    virtual CDocument* FindOpenDocument(LPCTSTR lpszPathName) const = 0;
    // Destroys every frame that shows one of the template's documents, then closes and deletes them.
    virtual void CloseAllDocuments(BOOL bEndSession) = 0;
    virtual void SetDefaultTitle(CDocument* pDocument);

    virtual CDocument* CreateNewDocument();
    // A frame of the template's class, created with its resource and holding a view of the document.
    virtual CFrameWnd* CreateNewFrame(CDocument* pDoc, CFrameWnd* pOther);
    virtual void InitialUpdateFrame(CFrameWnd* pFrame, CDocument* pDoc, BOOL bMakeVisible = TRUE);

protected:
    CDocTemplate(UINT nIDResource, const CRuntimeClass* pDocClass, const CRuntimeClass* pFrameClass,
                 const CRuntimeClass* pViewClass);

    UINT m_nIDResource;
    const CRuntimeClass* m_pDocClass;
    const CRuntimeClass* m_pFrameClass;
    const CRuntimeClass* m_pViewClass;
    CString m_strDocStrings;
    BOOL m_bLastOpenDeclined = FALSE;
};

class CSingleDocTemplate : public CDocTemplate {
    DECLARE_DYNAMIC(CSingleDocTemplate)
public:
    CSingleDocTemplate(UINT nIDResource, const CRuntimeClass* pDocClass, const CRuntimeClass* pFrameClass,
                       const CRuntimeClass* pViewClass);
    ~CSingleDocTemplate() override;

    // The first call creates the document and its frame; later calls reuse both. A failed open
    // leaves the document as it was, or, when it was just created, leaves no document and no frame.
    CDocument* OpenDocumentFile(LPCTSTR lpszPathName, BOOL bMakeVisible = TRUE) override;
    CDocument* FindOpenDocument(LPCTSTR lpszPathName) const override;
    BOOL SaveAllModified() override;
    void CloseAllDocuments(BOOL bEndSession) override;
    CDocument* CreateNewDocument() override;

    CDocument* GetDocument() const { return m_pOnlyDoc; }

private:
    void DropDocument();

    CDocument* m_pOnlyDoc = nullptr;
};
