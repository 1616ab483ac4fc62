#pragma once
// Layer picture: loading and checking pictures and holding their pixels. It rests on core, QtGui
// and libjpeg-turbo.
//
// Picture loading as the OLE loader offers it: OleLoadPictureFile decodes a file (JPEG with
// libjpeg-turbo, BMP, GIF and whatever else Qt reads with Qt's image plugins; see PictureDecoder)
// into one image held once, in 24-bit rows (QImage::Format_RGB888), the picture object (IPicture)
// answers its type, its bitmap handle and its size in HIMETRIC units (0.01 mm), and CPictureHolder
// owns it. Pixels are taken as stored: no EXIF rotation, so picked pixels match the file. The
// HIMETRIC size is pixels x 2540 / 96, rounded, so a 96-dpi device maps it back to the exact pixel
// size. A damaged file never gives a picture of memory it did not define: it is refused, or it
// loads with S_PICTURE_INCOMPLETE when a useful part of it could be decoded. A page of a PDF
// enters the same way (OleLoadPdfPage), rendered at a chosen resolution; the picture then knows
// the page and resolution it was made from, so that the same pixels can be made again.

#include "platform/core/CString.h"
#include "platform/picture/PictureResult.h"

#include <memory>
#include <optional>

class QImage;

// A bitmap handle gives read access to the decoded image: 24-bit rows for a loaded picture, 32-bit
// for a bitmap a memory context draws on.
using HBITMAP = const QImage*;
using OLE_HANDLE = HBITMAP;
using OLE_XSIZE_HIMETRIC = long;
using OLE_YSIZE_HIMETRIC = long;

inline constexpr short PICTYPE_UNINITIALIZED = -1;
inline constexpr short PICTYPE_NONE = 0;
inline constexpr short PICTYPE_BITMAP = 1;

class IPicture {
public:
    explicit IPicture(std::unique_ptr<QImage> image, std::optional<PdfPageChoice> pdfPage = std::nullopt);
    ~IPicture();
    IPicture(const IPicture&) = delete;
    IPicture& operator=(const IPicture&) = delete;

    HRESULT get_Type(short* pType) const;
    HRESULT get_Handle(OLE_HANDLE* pHandle) const;
    HRESULT get_Width(OLE_XSIZE_HIMETRIC* pWidth) const;
    HRESULT get_Height(OLE_YSIZE_HIMETRIC* pHeight) const;
    // The PDF page and resolution the picture was rendered from; nothing for a picture file.
    const std::optional<PdfPageChoice>& GetPdfPage() const { return m_pdfPage; }

private:
    std::unique_ptr<QImage> m_image;
    std::optional<PdfPageChoice> m_pdfPage;
};
using IPictureDisp = IPicture;

// The file name as the loader takes it (a VT_BSTR variant).
class COleVariant {
public:
    explicit COleVariant(LPCTSTR text) : m_bstrVal(text) {}
    CString m_bstrVal;
};
inline void VariantClear(COleVariant* variant) { variant->m_bstrVal.Empty(); }

// Decodes the named file, or takes the picture a prefetch of the same file decoded (see
// PicturePrefetch). On success (S_OK, or S_PICTURE_INCOMPLETE for a damaged file of which a useful
// part was decoded) *ppPicture is a new picture object the caller owns; on failure it is null.
HRESULT OleLoadPictureFile(const COleVariant& varFileName, IPictureDisp** ppPicture);
// Renders the page of the named PDF at the resolution (PdfPageRenderer). S_OK with a new picture
// the caller owns, or a failure code that names the refusal (PDF_E_*, E_OUTOFMEMORY) and null. A
// file that changes while it is read is refused as damaged.
HRESULT OleLoadPdfPage(const COleVariant& varFileName, const PdfPageChoice& choice, IPictureDisp** ppPicture);

class CPictureHolder {
public:
    CPictureHolder() = default;
    ~CPictureHolder() = default;
    CPictureHolder(const CPictureHolder&) = delete;
    CPictureHolder& operator=(const CPictureHolder&) = delete;

    // Takes ownership of the picture.
    void SetPictureDispatch(IPictureDisp* pDisp) { m_pPict.reset(pDisp); }
    IPicture* GetPicture() const { return m_pPict.get(); }

    std::unique_ptr<IPicture> m_pPict;
};

// HIMETRIC length for a pixel count at 96 dpi, rounded to the nearest unit.
long AfxPixelsToHimetric(int pixels);
