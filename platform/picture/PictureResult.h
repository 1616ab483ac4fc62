#pragma once
// What the picture loader answers: the result codes of the OLE loader, with the loader's own code
// for a damaged picture of which a useful part was decoded, the largest picture it accepts, and a
// decoded picture as the decoders hand it to the loader.

#include "platform/core/FileIdentity.h"

#include <cstdint>
#include <memory>

class QImage;

using HRESULT = std::int32_t; // 32 bits, so that the failure codes below are negative
inline constexpr HRESULT S_OK = 0;
inline constexpr HRESULT E_NOTIMPL = static_cast<HRESULT>(0x80004001u);
inline constexpr HRESULT E_FAIL = static_cast<HRESULT>(0x80004005u);
inline constexpr HRESULT E_OUTOFMEMORY = static_cast<HRESULT>(0x8007000Eu);
inline constexpr HRESULT CTL_E_INVALIDPICTURE = static_cast<HRESULT>(0x800A01E1u);
// A success code of the loader's own: the picture loaded, but the file breaks off or is corrupt
// inside its pixel data, so part of the picture is filled in (the same way every time) rather than
// read from the file.
inline constexpr HRESULT S_PICTURE_INCOMPLETE = 0x00040200;
// The loader's own failure codes for a PDF page: the file is not a PDF poppler can read, it needs a
// password, it has no pages, the page asked for is not in it, the resolution is not a positive
// number of dots per inch, or the page at that resolution would be larger than kPictureAllocationLimitMB.
inline constexpr HRESULT PDF_E_DAMAGED = static_cast<HRESULT>(0x800A0501u);
inline constexpr HRESULT PDF_E_LOCKED = static_cast<HRESULT>(0x800A0502u);
inline constexpr HRESULT PDF_E_NO_PAGES = static_cast<HRESULT>(0x800A0503u);
inline constexpr HRESULT PDF_E_NO_SUCH_PAGE = static_cast<HRESULT>(0x800A0504u);
inline constexpr HRESULT PDF_E_BAD_RESOLUTION = static_cast<HRESULT>(0x800A0505u);
inline constexpr HRESULT PDF_E_TOO_LARGE = static_cast<HRESULT>(0x800A0506u);
// The program's PDF module (poppler's binding, loaded on first use) cannot be loaded: an
// installation that lacks it or the libraries it needs.
inline constexpr HRESULT PDF_E_NO_RENDERER = static_cast<HRESULT>(0x800A0507u);
constexpr bool FAILED(HRESULT hr) { return hr < 0; }
constexpr bool SUCCEEDED(HRESULT hr) { return hr >= 0; }

// The largest picture the loader accepts, in megabytes of decoded image; larger ones are refused
// (a failure result, never a crash). A 12000 x 9000 scan takes 324 MB in 24-bit rows; Qt's readers
// decode BMP and GIF into 32-bit images first, 432 MB for the same scan.
inline constexpr int kPictureAllocationLimitMB = 1536;

// Which page of a PDF becomes the picture, and at what resolution: the page counted from 1, the
// resolution in dots per inch (a point, 1/72 inch, of the page is dpi / 72 pixels).
struct PdfPageChoice {
    int page = 1;
    int dpi = 300;
    bool operator==(const PdfPageChoice&) const = default;
};
inline constexpr int kDefaultPdfDpi = 300;
// The resolutions a user may choose (the page dialog's bounds, and a work file's); within them,
// the page's size decides whether the picture is not too large.
inline constexpr int kLowestPdfDpi = 10;
inline constexpr int kHighestPdfDpi = 9600;

struct DecodedPicture {
    HRESULT result = CTL_E_INVALIDPICTURE; // S_OK, S_PICTURE_INCOMPLETE or a failure code
    std::unique_ptr<QImage> image;         // the picture on success, null on failure
    FileIdentity source;                   // the file as it was when the decode opened it
};
