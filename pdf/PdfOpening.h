#pragma once
// Opening a page of a PDF as the document's picture: the page and resolution come from the
// caller (the command line, a recovered work) or from the user (CPdfPageDlg, which starts from the
// resolution chosen last time, kept in the profile store); the page is then rendered under the
// wait cursor. Every refusal is told to the user once, in words that name the problem, before the
// open fails, so the document keeps its picture and work.

#include "platform/core/CString.h"
#include "platform/picture/Picture.h"

#include <QString>

#include <optional>

class PdfPageRenderer;

class PdfOpening {
public:
    // The page of the PDF at path as a new picture the caller owns: the preset's page and
    // resolution, or those the user chooses. Null when the user cancelled (cancelled is set) or
    // after a refusal was shown.
    static std::unique_ptr<IPictureDisp> Load(const QString& path, const std::optional<PdfPageChoice>& preset,
                                              bool& cancelled);
    // The words for a refusal of the loader (PDF_E_*, E_OUTOFMEMORY, any other failure), naming
    // the file, the page and the resolution as they matter; renderer, when given, tells the
    // page count and the picture's size.
    static CString RefusalMessage(HRESULT hr, const QString& fileName, const PdfPageChoice& choice,
                                  const PdfPageRenderer* renderer = nullptr);
    // The document's title for a PDF page: the file's name, the page and the resolution.
    static CString Title(const CString& fileName, const PdfPageChoice& choice);
    // The resolution chosen last (kDefaultPdfDpi before any), and keeping a new one.
    static int RememberedDpi();
    static void RememberDpi(int dpi);
    // The Open dialog's entries for PDF files and for every picture the program opens.
    static CString OpenFilters();
};

// "%s": the file's name; "%d": page numbers, the resolution, pixel counts, megabytes.
inline constexpr const char* kMsgPdfDamaged = "%s は壊れているか、PDFとして読み込めないファイルです。";
inline constexpr const char* kMsgPdfLocked = "%s はパスワードで保護(暗号化)されているため開けません。";
inline constexpr const char* kMsgPdfNoPages = "%s にはページがありません。";
inline constexpr const char* kMsgPdfNoSuchPage = "%s には %d ページがありません (全 %d ページ)。";
inline constexpr const char* kMsgPdfBadResolution =
    "解像度 %d dpi では %s のページを画像にできません。もっと大きな値を指定してください。";
inline constexpr const char* kMsgPdfTooLarge =
    "%s の %d ページを %d dpi で読み込むと %d × %d ピクセルになり、扱える最大の画像 (%d MB) を超えます。\n"
    "解像度を下げてください。";
inline constexpr const char* kMsgPdfNoRenderer =
    "PDFを表示する部品 (%s) を読み込めないため、%s を開けません。\nインストールを確かめてください。";
inline constexpr const char* kMsgPdfOutOfMemory = "メモリが足りないため、%s の %d ページを %d dpi で読み込めませんでした。";
// "%s": the file's name; "%d": the page; "%d": the resolution.
inline constexpr const char* kMsgPdfTitle = "%s (%dページ, %d dpi)";
