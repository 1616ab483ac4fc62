#pragma once
// The framework's view: a window that shows one document. Commands it does not handle itself go
// on to its document. OnUpdate's default invalidates the whole view with erasing.

#include "platform/ui/CWnd.h"

class CDocument;
class CDC;

class CView : public CWnd {
    DECLARE_DYNAMIC(CView)
public:
    ~CView() override;

    CDocument* GetDocument() const { return m_pDocument; }

    // Creates the view's widget as a child of the parent window's widget (null: a top-level
    // widget, as tests use). Views with widgets of their own kind override this.
    virtual BOOL Create(CWnd* pParentWnd, UINT nID);

    virtual void OnInitialUpdate();
    virtual void OnUpdate(CView* pSender, LPARAM lHint, CObject* pHint);
    virtual void OnDraw(CDC* pDC) = 0;

    BOOL OnCmdMsg(UINT nID, CCmdUI* pUI) override;

protected:
    CView() = default;

private:
    friend class CDocument;
    CDocument* m_pDocument = nullptr;
};
