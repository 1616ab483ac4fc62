#pragma once
// The framework's drawing object root (pens, brushes, bitmaps). A device context copies what it
// needs from an object when the object is selected, so deleting or reusing an object later never
// leaves the context drawing with freed state.

#include "platform/core/AfxTypes.h"

class CGdiObject {
public:
    CGdiObject() = default;
    virtual ~CGdiObject() = default;
    CGdiObject(const CGdiObject&) = delete;
    CGdiObject& operator=(const CGdiObject&) = delete;

    // Returns the object to its empty state; FALSE when there was nothing to delete.
    BOOL DeleteObject();
    // Non-null exactly while the object holds something a context can use.
    const void* GetSafeHandle() const { return m_bCreated ? this : nullptr; }

protected:
    // Called by DeleteObject before the object is marked empty.
    virtual void ReleaseContents() {}
    bool m_bCreated = false;
};
