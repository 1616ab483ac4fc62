#pragma once
// Picture loading as the OLE loader offers it, on Qt's image plugins: OleLoadPictureFile decodes a
// file (BMP, JPEG, GIF, and whatever else Qt reads) into one 32-bit image, the picture object
// (IPicture) answers its type, its bitmap handle and its size in HIMETRIC units (0.01 mm), and
// CPictureHolder owns it. Pixels are taken as stored: no EXIF rotation, so picked pixels match
// the file. The HIMETRIC size is pixels x 2540 / 96, rounded, so a 96-dpi device maps it back to
// the exact pixel size.

#include "platform/CString.h"

#include <cstdint>
#include <memory>

class QImage;

using HRESULT = std::int32_t; // 32 bits, so that the failure codes below are negative
inline constexpr HRESULT S_OK = 0;
inline constexpr HRESULT E_FAIL = static_cast<HRESULT>(0x80004005u);
inline constexpr HRESULT E_OUTOFMEMORY = static_cast<HRESULT>(0x8007000Eu);
inline constexpr HRESULT CTL_E_INVALIDPICTURE = static_cast<HRESULT>(0x800A01E1u);
constexpr bool FAILED(HRESULT hr) { return hr < 0; }
constexpr bool SUCCEEDED(HRESULT hr) { return hr >= 0; }

// A bitmap handle gives read access to the decoded image.
using HBITMAP = const QImage*;
using OLE_HANDLE = HBITMAP;
using OLE_XSIZE_HIMETRIC = long;
using OLE_YSIZE_HIMETRIC = long;

inline constexpr short PICTYPE_UNINITIALIZED = -1;
inline constexpr short PICTYPE_NONE = 0;
inline constexpr short PICTYPE_BITMAP = 1;

// The largest picture the loader accepts, in megabytes of decoded image; larger ones are refused
// (a failure result, never a crash). A 12000 x 9000 scan takes about 412 MB.
inline constexpr int kPictureAllocationLimitMB = 1536;

class IPicture {
public:
    explicit IPicture(std::unique_ptr<QImage> image);
    ~IPicture();
    IPicture(const IPicture&) = delete;
    IPicture& operator=(const IPicture&) = delete;

    HRESULT get_Type(short* pType) const;
    HRESULT get_Handle(OLE_HANDLE* pHandle) const;
    HRESULT get_Width(OLE_XSIZE_HIMETRIC* pWidth) const;
    HRESULT get_Height(OLE_YSIZE_HIMETRIC* pHeight) const;

private:
    std::unique_ptr<QImage> m_image;
};
using IPictureDisp = IPicture;

// The file name as the loader takes it (a VT_BSTR variant).
class COleVariant {
public:
    explicit COleVariant(LPCTSTR text) : m_bstrVal(text) {}
    CString m_bstrVal;
};
inline void VariantClear(COleVariant* variant) { variant->m_bstrVal.Empty(); }

// Decodes the named file. On success *ppPicture is a new picture object the caller owns.
HRESULT OleLoadPictureFile(const COleVariant& varFileName, IPictureDisp** ppPicture);

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
