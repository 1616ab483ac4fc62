#pragma once
// A picture named on the command line is decoded on a worker thread from the start of the program,
// while the windows, menus and toolbar are built; the open step then takes the finished picture
// instead of decoding the file again, and waits for it if it is not finished yet. Nothing else
// changes: start-up opens the picture at the same step, and a picture that failed to decode fails
// that step exactly as a decode there would.
//
// One prefetch at a time. A picture is taken only by an open of the same file (the same absolute
// path, leading to the same device and inode, with the same size and modification and change
// times as the decode found); any other open decodes afresh.

#include "platform/picture/PictureDecoder.h"

#include <QString>

#include <optional>

class PicturePrefetch {
public:
    // Starts decoding the file on a worker thread; a prefetch not yet taken is dropped first.
    static void Begin(const QString& path);
    // The picture prefetched from this file, waiting for the decode to end; nothing when no
    // prefetch of this file is pending or the file changed since it began.
    static std::optional<DecodedPicture> Take(const QString& path);
    // Waits for a prefetch nobody took and drops its picture. The program calls it before Qt goes.
    static void Discard();
};
