#include "platform/gdi/CGdiObject.h"

BOOL CGdiObject::DeleteObject() {
    if (!m_bCreated)
        return FALSE;
    ReleaseContents();
    m_bCreated = false;
    return TRUE;
}
