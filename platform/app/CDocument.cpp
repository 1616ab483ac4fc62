#include "platform/app/CDocument.h"

#include "platform/app/CView.h"
#include "platform/ui/ModalHost.h"

#include <QFile>
#include <QFileInfo>

#include <algorithm>

IMPLEMENT_DYNAMIC(CDocument, CCmdTarget)

CDocument::~CDocument() {
    for (CView* view : m_viewList)
        view->m_pDocument = nullptr;
}

void CDocument::AddView(CView* pView) {
    if (std::find(m_viewList.begin(), m_viewList.end(), pView) != m_viewList.end())
        return;
    m_viewList.push_back(pView);
    pView->m_pDocument = this;
}

void CDocument::RemoveView(CView* pView) {
    auto it = std::find(m_viewList.begin(), m_viewList.end(), pView);
    if (it == m_viewList.end())
        return;
    m_viewList.erase(it);
    pView->m_pDocument = nullptr;
}

// A position is the index of the next view plus one; null ends the walk.
POSITION CDocument::GetFirstViewPosition() const {
    return m_viewList.empty() ? nullptr : reinterpret_cast<POSITION>(std::intptr_t{1});
}

CView* CDocument::GetNextView(POSITION& rPosition) const {
    const auto index = static_cast<std::size_t>(reinterpret_cast<std::intptr_t>(rPosition) - 1);
    CView* view = m_viewList[index];
    rPosition = index + 1 < m_viewList.size() ? reinterpret_cast<POSITION>(static_cast<std::intptr_t>(index + 2))
                                              : nullptr;
    return view;
}

void CDocument::UpdateAllViews(CView* pSender, LPARAM lHint, CObject* pHint) {
    // A view's update may not add or remove views, but copy the list so that it never matters.
    const std::vector<CView*> views = m_viewList;
    for (CView* view : views) {
        if (view != pSender)
            view->OnUpdate(pSender, lHint, pHint);
    }
}

BOOL CDocument::OnNewDocument() {
    DeleteContents();
    m_strPathName.Empty();
    SetModifiedFlag(FALSE);
    return TRUE;
}

BOOL CDocument::CanOpenForReading(LPCTSTR lpszPathName) {
    QFile file(QString::fromUtf8(lpszPathName));
    if (QFileInfo(file).isFile() && file.open(QIODevice::ReadOnly))
        return TRUE;
    CString message;
    message.Format(AFX_MSG_FILE_NOT_READABLE, lpszPathName);
    AfxMessageBox(message, MB_OK | MB_ICONWARNING);
    return FALSE;
}

BOOL CDocument::OnOpenDocument(LPCTSTR lpszPathName) {
    if (!CanOpenForReading(lpszPathName))
        return FALSE;
    DeleteContents();
    CArchive loading(false);
    Serialize(loading);
    SetModifiedFlag(FALSE);
    return TRUE;
}

void CDocument::OnCloseDocument() { DeleteContents(); }

void CDocument::DeleteContents() {}

BOOL CDocument::SaveModified() {
    return TRUE;
}

void CDocument::SetTitle(LPCTSTR lpszTitle) { m_strTitle = lpszTitle; }

void CDocument::SetPathName(LPCTSTR lpszPathName) {
    m_strPathName = lpszPathName;
    SetTitle(QFileInfo(QString::fromUtf8(lpszPathName)).fileName().toUtf8().constData());
}
