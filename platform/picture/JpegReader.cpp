#include "platform/picture/JpegReader.h"

#include "platform/picture/PixelBuffer.h"

#include <QFile>
#include <QImage>

#include <algorithm>
#include <array>
#include <bitset>
#include <csetjmp>
#include <cstdio>
#include <unistd.h>
// libjpeg's headers need FILE and size_t declared before them, and its message codes depend on the
// configuration that jpeglib.h brings, so jerror.h comes second.
#include <jpeglib.h>

#include <jerror.h>

namespace {

// What the decoder reported. The first member is libjpeg's own record, so that the pointer libjpeg
// hands back to the handlers leads here.
struct JpegErrors {
    jpeg_error_mgr manager;
    std::jmp_buf escape;
    bool damaged = false;        // a warning that means pixels were not read from the file
    JDIMENSION damagedAtRow = 0; // the rows already given out when the first such warning came
    int damagedInScan = 0;       // the scans begun (SOS markers read) when it came
    bool endedEarly = false;     // the file ended before its end marker
};

[[noreturn]] void OnFatalError(j_common_ptr info) {
    std::longjmp(reinterpret_cast<JpegErrors*>(info->err)->escape, 1);
}

// The warnings that mean entropy-coded data was missing or corrupt, so that pixels were made up
// rather than read. The others (a missing end marker, stray bytes before a marker, an unknown JFIF
// revision, a bad ICC marker) cost no pixel. Data that ends inside a scan gives "premature end of
// JPEG file" first and then "premature end of data segment"; a file that only lacks its end
// marker gives the first alone, and so does one cut between two scans (ScanCoverage tells them
// apart).
bool MeansLostPixels(int code) {
    return code == JWRN_HIT_MARKER || code == JWRN_HUFF_BAD_CODE || code == JWRN_ARITH_BAD_CODE ||
           code == JWRN_MUST_RESYNC;
}

// libjpeg reports warnings (level -1) here and prints nothing itself; trace messages are ignored.
void OnMessage(j_common_ptr info, int level) {
    auto* errors = reinterpret_cast<JpegErrors*>(info->err);
    if (level >= 0)
        return;
    if (info->err->msg_code == JWRN_JPEG_EOF)
        errors->endedEarly = true;
    if (errors->damaged || !MeansLostPixels(info->err->msg_code))
        return;
    const auto* decompress = reinterpret_cast<j_decompress_ptr>(info);
    errors->damaged = true;
    errors->damagedAtRow = decompress->output_scanline;
    errors->damagedInScan = decompress->input_scan_number;
}

// Which coefficients of which components the scans read so far have given their last bit. A
// progressive file sends each coefficient in scans of a spectral range and refines it bit by bit
// down to bit 0; a sequential file with several scans sends each component whole in one of them.
// libjpeg reads every scan of such a file before the first row comes out, calling its progress
// monitor before each step, and a file cut between two scans ends there as if it were whole: only
// the scans it holds tell that it is not.
struct ScanCoverage {
    jpeg_progress_mgr manager{}; // first, so that libjpeg's pointer leads here
    int notedScan = 0;
    std::array<std::bitset<DCTSIZE2>, MAX_COMPONENTS> finished{};

    static void Note(j_common_ptr common) {
        if (!common->is_decompressor)
            return;
        auto* coverage = reinterpret_cast<ScanCoverage*>(common->progress);
        const auto* info = reinterpret_cast<j_decompress_ptr>(common);
        if (info->input_scan_number == coverage->notedScan)
            return;
        coverage->notedScan = info->input_scan_number;
        for (int i = 0; i < info->comps_in_scan; ++i) {
            std::bitset<DCTSIZE2>& component = coverage->finished[info->cur_comp_info[i]->component_index];
            if (!info->progressive_mode) {
                component.set();
            } else if (info->Al == 0) {
                for (int k = info->Ss; k <= info->Se && k < DCTSIZE2; ++k)
                    component.set(k);
            }
        }
    }
    bool Complete(int components) const {
        for (int c = 0; c < components && c < MAX_COMPONENTS; ++c) {
            if (!finished[c].all())
                return false;
        }
        return true;
    }
};

// Qt's plugin reads CMYK as Adobe writes it (inverted), and so does this: R = C x K / 255, and so on.
void CmykRowToRgb(const JSAMPLE* cmyk, uchar* rgb, JDIMENSION width) {
    for (JDIMENSION i = 0; i < width; ++i, cmyk += 4) {
        const int k = cmyk[3];
        *rgb++ = static_cast<uchar>(k * cmyk[0] / 255);
        *rgb++ = static_cast<uchar>(k * cmyk[1] / 255);
        *rgb++ = static_cast<uchar>(k * cmyk[2] / 255);
    }
}

// Everything that must outlive a jump out of libjpeg lives here, outside the frame that jumps.
struct JpegDecoding {
    jpeg_decompress_struct info{};
    JpegErrors errors;
    ScanCoverage coverage;
    bool multipleScans = false;
    std::FILE* file = nullptr;
    std::unique_ptr<PixelBuffer> pixels;
    std::unique_ptr<JSAMPLE[]> cmykRow;
    HRESULT outcome = CTL_E_INVALIDPICTURE;
};

constexpr int kRowsPerRead = 32;

// A file damaged before any of its picture came out is refused whatever follows, so the decode
// stops there rather than make up every remaining row of what may be a very large picture. For a
// sequential file that is before its first row; a file of several scans has its whole picture, if
// coarse, once its first scan is read.
bool DamagedBeforeAnyPicture(const JpegDecoding& d) {
    const JpegErrors& errors = d.errors;
    if (!errors.damaged)
        return false;
    return d.multipleScans ? errors.damagedInScan <= 1 : errors.damagedAtRow == 0;
}

// After every scan of a file of several was read: one that ended early and left coefficients
// without their last bit was cut between two scans, and is as damaged as one cut inside a scan.
void NoteScansMissing(JpegDecoding& d) {
    JpegErrors& errors = d.errors;
    if (errors.damaged || !errors.endedEarly || d.coverage.Complete(d.info.num_components))
        return;
    errors.damaged = true;
    errors.damagedInScan = d.info.input_scan_number + 1;
}

bool WantsRgb(J_COLOR_SPACE space) {
    return space == JCS_GRAYSCALE || space == JCS_RGB || space == JCS_YCbCr;
}

bool WantsCmyk(J_COLOR_SPACE space) {
    return space == JCS_CMYK || space == JCS_YCCK;
}

// The decode proper. A fatal error of libjpeg comes back through longjmp to the setjmp below, so
// this frame holds nothing that needs destroying; every object lives in `d`.
void Decode(JpegDecoding& d) {
    if (setjmp(d.errors.escape) != 0) {
        d.outcome = CTL_E_INVALIDPICTURE;
        return;
    }
    jpeg_create_decompress(&d.info);
    d.coverage.manager.progress_monitor = ScanCoverage::Note;
    d.info.progress = &d.coverage.manager;
    // A progressive file keeps every coefficient of the picture while it decodes; a header that
    // claims more than the loader would ever hold ends in a clean failure, not in gigabytes.
    d.info.mem->max_memory_to_use = static_cast<long>(kPictureAllocationLimitMB) * 1024 * 1024;
    jpeg_stdio_src(&d.info, d.file);
    jpeg_read_header(&d.info, TRUE);
    const bool cmyk = WantsCmyk(d.info.jpeg_color_space);
    if (!cmyk && !WantsRgb(d.info.jpeg_color_space)) {
        d.outcome = E_NOTIMPL;
        return;
    }
    d.info.out_color_space = cmyk ? JCS_CMYK : JCS_RGB;
    const unsigned long long bytes = 3ull * d.info.image_width * d.info.image_height;
    if (bytes > static_cast<unsigned long long>(kPictureAllocationLimitMB) * 1024 * 1024) {
        d.outcome = E_OUTOFMEMORY;
        return;
    }
    d.multipleScans = jpeg_has_multiple_scans(&d.info) != FALSE;
    jpeg_start_decompress(&d.info);
    if (d.multipleScans)
        NoteScansMissing(d); // such a file reads all its data here
    if (DamagedBeforeAnyPicture(d))
        return; // nothing to allocate for
    d.pixels = std::make_unique<PixelBuffer>(static_cast<int>(d.info.output_width),
                                             static_cast<int>(d.info.output_height), QImage::Format_RGB888);
    if (!d.pixels->IsValid()) {
        d.outcome = E_OUTOFMEMORY;
        return;
    }
    if (cmyk)
        d.cmykRow = std::make_unique<JSAMPLE[]>(4 * std::size_t{d.info.output_width});
    JSAMPROW rows[kRowsPerRead];
    while (d.info.output_scanline < d.info.output_height) {
        const JDIMENSION first = d.info.output_scanline;
        if (cmyk) {
            rows[0] = d.cmykRow.get();
            if (jpeg_read_scanlines(&d.info, rows, 1) != 1 || DamagedBeforeAnyPicture(d))
                return; // the first never happens with a file source, which always delivers
            CmykRowToRgb(d.cmykRow.get(), d.pixels->Row(static_cast<int>(first)), d.info.output_width);
            continue;
        }
        const JDIMENSION count = std::min<JDIMENSION>(kRowsPerRead, d.info.output_height - first);
        for (JDIMENSION i = 0; i < count; ++i)
            rows[i] = d.pixels->Row(static_cast<int>(first + i));
        if (jpeg_read_scanlines(&d.info, rows, count) == 0 || DamagedBeforeAnyPicture(d))
            return;
    }
    jpeg_finish_decompress(&d.info);
    d.outcome = d.errors.damaged ? S_PICTURE_INCOMPLETE : S_OK;
}

} // namespace

bool IsJpegSignature(const QByteArray& head) {
    return head.size() >= 3 && static_cast<uchar>(head[0]) == 0xFF && static_cast<uchar>(head[1]) == 0xD8 &&
           static_cast<uchar>(head[2]) == 0xFF;
}

DecodedPicture ReadJpegFile(int descriptor) {
    DecodedPicture result;
    JpegDecoding d;
    // A descriptor of its own for the stdio stream, which closes it; both read the one open file.
    const int own = ::dup(descriptor);
    if (own < 0 || ::lseek(own, 0, SEEK_SET) != 0 || (d.file = ::fdopen(own, "rb")) == nullptr) {
        if (own >= 0)
            ::close(own);
        return result;
    }
    d.info.err = jpeg_std_error(&d.errors.manager);
    d.errors.manager.error_exit = OnFatalError;
    d.errors.manager.emit_message = OnMessage;
    Decode(d);
    jpeg_destroy_decompress(&d.info);
    std::fclose(d.file);
    result.result = d.outcome;
    if (SUCCEEDED(d.outcome))
        result.image = d.pixels->Release();
    return result;
}
