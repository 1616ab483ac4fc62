#include "platform/gdi/CBitmap.h"

#include <QImage>

#include <algorithm>
#include <cstring>

CBitmap::CBitmap() = default;
CBitmap::~CBitmap() = default;

BOOL CBitmap::Attach(HBITMAP hBitmap) {
    if (m_bCreated || hBitmap == nullptr)
        return FALSE;
    m_pImage = hBitmap;
    m_bCreated = true;
    return TRUE;
}

HBITMAP CBitmap::Detach() {
    if (m_pOwned)
        return nullptr; // an own bitmap cannot leave its object
    HBITMAP handle = m_pImage;
    m_pImage = nullptr;
    m_bCreated = false;
    return handle;
}

BOOL CBitmap::CreateCompatibleBitmap(CDC*, int nWidth, int nHeight) {
    if (m_bCreated || nWidth <= 0 || nHeight <= 0)
        return FALSE;
    auto image = std::make_unique<QImage>(nWidth, nHeight, QImage::Format_RGB32);
    if (image->isNull())
        return FALSE;
    image->fill(Qt::black);
    m_pOwned = std::move(image);
    m_pImage = m_pOwned.get();
    m_bCreated = true;
    return TRUE;
}

void CBitmap::ReleaseContents() {
    m_pOwned.reset();
    m_pImage = nullptr;
}

int CBitmap::GetBitmap(BITMAP* pBitMap) const {
    return ::GetObject(m_pImage, sizeof(BITMAP), pBitMap);
}

int CBitmap::GetObject(int nCount, void* lpObject) const {
    return ::GetObject(m_pImage, nCount, lpObject);
}

int GetObject(HBITMAP hBitmap, int nCount, void* lpObject) {
    if (hBitmap == nullptr || lpObject == nullptr || nCount <= 0)
        return 0;
    BITMAP record;
    record.bmWidth = hBitmap->width();
    record.bmHeight = hBitmap->height();
    record.bmWidthBytes = static_cast<LONG>(hBitmap->bytesPerLine());
    record.bmBitsPixel = static_cast<WORD>(hBitmap->depth());
    const int written = std::min(nCount, static_cast<int>(sizeof(BITMAP)));
    std::memcpy(lpObject, &record, static_cast<std::size_t>(written));
    return written;
}
