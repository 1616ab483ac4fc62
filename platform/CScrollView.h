#pragma once
// The framework's scrolling view.

#include "platform/CView.h"

class CScrollView : public CView {
    DECLARE_DYNAMIC(CScrollView)
protected:
    CScrollView() = default;
};
