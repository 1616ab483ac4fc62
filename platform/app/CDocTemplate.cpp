#include "platform/app/CDocTemplate.h"

#include "platform/app/CDocument.h"
#include "platform/app/CFrameWnd.h"
#include "platform/app/CWinApp.h"
#include "platform/core/AfxStandardIds.h"
#include "platform/res/AfxResource.h"

#include <QDir>
#include <QFileInfo>

IMPLEMENT_DYNAMIC(CDocTemplate, CCmdTarget)
IMPLEMENT_DYNAMIC(CSingleDocTemplate, CDocTemplate)

CDocTemplate::CDocTemplate(UINT nIDResource, const CRuntimeClass* pDocClass, const CRuntimeClass* pFrameClass,
                           const CRuntimeClass* pViewClass)
    : m_nIDResource(nIDResource), m_pDocClass(pDocClass), m_pFrameClass(pFrameClass),
      m_pViewClass(pViewClass), m_strDocStrings(AfxLoadString(nIDResource)) {}

BOOL CDocTemplate::GetDocString(CString& rString, DocStringIndex index) const {
    return AfxExtractSubString(rString, m_strDocStrings, static_cast<int>(index));
}

void CDocTemplate::SetDefaultTitle(CDocument* pDocument) {
    CString title;
    if (!GetDocString(title, docName) || title.IsEmpty())
        title = AfxLoadString(AFX_IDS_UNTITLED);
    pDocument->SetTitle(title);
}

CDocument* CDocTemplate::CreateNewDocument() {
    CObject* object = m_pDocClass != nullptr ? m_pDocClass->CreateObject() : nullptr;
    if (auto* document = dynamic_cast<CDocument*>(object))
        return document;
    delete object;
    return nullptr;
}

CFrameWnd* CDocTemplate::CreateNewFrame(CDocument* pDoc, CFrameWnd* pOther) {
    CCreateContext context;
    context.m_pCurrentFrame = pOther;
    context.m_pCurrentDoc = pDoc;
    context.m_pNewViewClass = m_pViewClass;
    context.m_pNewDocTemplate = this;
    CObject* object = m_pFrameClass != nullptr ? m_pFrameClass->CreateObject() : nullptr;
    auto* frame = dynamic_cast<CFrameWnd*>(object);
    if (frame == nullptr) {
        delete object;
        return nullptr;
    }
    if (!frame->LoadFrame(m_nIDResource, WS_OVERLAPPEDWINDOW | FWS_ADDTOTITLE, nullptr, &context)) {
        delete frame; // a frame whose creation failed has no window to take it along
        return nullptr;
    }
    return frame;
}

void CDocTemplate::InitialUpdateFrame(CFrameWnd* pFrame, CDocument* pDoc, BOOL bMakeVisible) {
    pFrame->InitialUpdateFrame(pDoc, bMakeVisible);
}

CSingleDocTemplate::CSingleDocTemplate(UINT nIDResource, const CRuntimeClass* pDocClass,
                                       const CRuntimeClass* pFrameClass, const CRuntimeClass* pViewClass)
    : CDocTemplate(nIDResource, pDocClass, pFrameClass, pViewClass) {}

CSingleDocTemplate::~CSingleDocTemplate() {
    CloseAllDocuments(TRUE);
}

CDocument* CSingleDocTemplate::CreateNewDocument() {
    CDocument* document = CDocTemplate::CreateNewDocument();
    if (document != nullptr)
        m_pOnlyDoc = document;
    return document;
}

void CSingleDocTemplate::DropDocument() {
    delete m_pOnlyDoc;
    m_pOnlyDoc = nullptr;
}

CDocument* CSingleDocTemplate::OpenDocumentFile(LPCTSTR lpszPathName, BOOL bMakeVisible) {
    CWinApp* app = AfxGetApp();
    CDocument* document = m_pOnlyDoc;
    CFrameWnd* frame = nullptr;
    const bool created = document == nullptr;
    // The one document is about to be replaced, whichever way the file was chosen: it may hold
    // work the user wants to keep first.
    m_bLastOpenDeclined = !created && !document->SaveModified();
    if (m_bLastOpenDeclined)
        return nullptr;
    if (created) {
        document = CreateNewDocument();
        if (document == nullptr)
            return nullptr;
        frame = CreateNewFrame(document, nullptr);
        if (frame == nullptr) {
            DropDocument();
            return nullptr;
        }
    } else {
        for (CFrameWnd* candidate : CFrameWnd::GetFrames()) {
            if (candidate->GetActiveDocument() == document) {
                frame = candidate;
                break;
            }
        }
        if (frame == nullptr)
            return nullptr;
    }

    if (lpszPathName == nullptr) {
        SetDefaultTitle(document);
        if (!document->OnNewDocument()) {
            if (created) {
                frame->DestroyWindow();
                DropDocument();
            }
            return nullptr;
        }
    } else {
        const BOOL wasModified = document->IsModified();
        document->SetModifiedFlag(FALSE);
        if (!document->OnOpenDocument(lpszPathName)) {
            m_bLastOpenDeclined = document->WasOpenCancelled();
            if (created) {
                frame->DestroyWindow();
                DropDocument();
            } else if (!document->IsModified()) {
                document->SetModifiedFlag(wasModified); // untouched: it stays as it was
            } else {
                // The failed open changed the document halfway: start it afresh rather than show
                // something that is neither the old file nor the new one.
                SetDefaultTitle(document);
                document->OnNewDocument();
            }
            return nullptr;
        }
        document->SetPathName(lpszPathName);
        if (app != nullptr)
            app->AddToRecentFileList(lpszPathName);
    }

    if (created && app != nullptr && app->m_pMainWnd == nullptr)
        app->m_pMainWnd = frame;
    InitialUpdateFrame(frame, document, bMakeVisible);
    return document;
}

CDocument* CSingleDocTemplate::FindOpenDocument(LPCTSTR lpszPathName) const {
    if (m_pOnlyDoc == nullptr || lpszPathName == nullptr || m_pOnlyDoc->GetPathName().IsEmpty())
        return nullptr;
    const auto normal = [](const char* path) {
        return QDir::cleanPath(QFileInfo(QString::fromUtf8(path)).absoluteFilePath());
    };
    return normal(m_pOnlyDoc->GetPathName()) == normal(lpszPathName) ? m_pOnlyDoc : nullptr;
}

BOOL CSingleDocTemplate::SaveAllModified() {
    return m_pOnlyDoc == nullptr || m_pOnlyDoc->SaveModified() ? TRUE : FALSE;
}

void CSingleDocTemplate::CloseAllDocuments(BOOL) {
    if (m_pOnlyDoc == nullptr)
        return;
    for (CFrameWnd* frame : CFrameWnd::GetFrames()) {
        if (frame->ShowsDocument(m_pOnlyDoc))
            frame->DestroyWindow();
    }
    m_pOnlyDoc->OnCloseDocument();
    DropDocument();
}
