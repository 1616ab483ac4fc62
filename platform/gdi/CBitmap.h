#pragma once
// The framework's bitmap object. It either wraps a bitmap it does not own (a picture's decoded
// image, HBITMAP, read-only) or owns a 32-bit image of its own made by CreateCompatibleBitmap.
// A memory device context draws on the bitmap selected into it; a read-only one can only be read.

#include "platform/gdi/CGdiObject.h"
#include "platform/picture/Picture.h"

#include <memory>

class CDC;

// What GetObject reports about a bitmap.
struct BITMAP {
    LONG bmType = 0;
    LONG bmWidth = 0;
    LONG bmHeight = 0;
    LONG bmWidthBytes = 0;
    WORD bmPlanes = 1;
    WORD bmBitsPixel = 32;
    void* bmBits = nullptr;
};

class CBitmap : public CGdiObject {
public:
    CBitmap();
    ~CBitmap() override;

    // Wraps a bitmap owned elsewhere; FALSE when the object already holds one or the handle is null.
    BOOL Attach(HBITMAP hBitmap);
    // Lets go of a wrapped bitmap without touching it and returns its handle.
    HBITMAP Detach();
    // A bitmap of its own, nWidth x nHeight pixels, black, which a memory context can draw on.
    BOOL CreateCompatibleBitmap(CDC* pDC, int nWidth, int nHeight);

    // Fills a BITMAP record (width, height, bits per pixel); returns the bytes written, 0 when empty.
    int GetBitmap(BITMAP* pBitMap) const;
    int GetObject(int nCount, void* lpObject) const;

    operator HBITMAP() const { return m_pImage; }
    // The pixels a context may draw on: null for a wrapped bitmap, which is read-only.
    QImage* GetWritableImage() const { return m_pOwned.get(); }

protected:
    void ReleaseContents() override;

private:
    HBITMAP m_pImage = nullptr;
    std::unique_ptr<QImage> m_pOwned;
};

// GetObject on a bitmap handle: fills a BITMAP record; returns the bytes written, 0 on failure.
int GetObject(HBITMAP hBitmap, int nCount, void* lpObject);
