#include "platform/CFormView.h"

IMPLEMENT_DYNAMIC(CFormView, CView)
