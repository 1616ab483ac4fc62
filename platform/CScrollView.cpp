#include "platform/CScrollView.h"

IMPLEMENT_DYNAMIC(CScrollView, CView)
