#pragma once
// The document's work as the recovery journal keeps it: the work state (WorkState, the same
// description the work file writes, with the PDF page and resolution when the picture is one)
// with the picture it belongs to stamped as the journal stamps it (path, size, modification time
// and a hash of its bytes, or of its first and last few megabytes when it is large). The journal
// keeps the document's part of the state: every series with its points in picture pixels, the
// calibration with its values and log flags, the measurement switches, the current series and the
// selection. Numbers are written so
// that they read back bit for bit, and the text ends with a checksum of itself, so that a journal
// either reads back exactly as written or not at all.

#include "platform/core/FileIdentity.h"
#include "platform/picture/PictureResult.h"
#include "work/WorkState.h"

#include <QByteArray>
#include <QString>

#include <optional>
#include <utility>
#include <vector>

class CTallyscopeDoc;
class QIODevice;

class RecoveredWork : public WorkState {
public:
    // The picture file as it was when the work was journalled.
    struct PictureStamp {
        qint64 size = -1;
        qint64 modifiedNs = 0;
        QByteArray hash; // hex SHA-256
        // The file as it is now; size -1 when it cannot be read. The open picture's stamp is taken
        // when it is opened (OpenedPicture).
        static PictureStamp Of(const QString& path);
        bool operator==(const PictureStamp&) const = default;
    };
    // What reading a journal gave: the whole work, or, from a journal that fails its checks (cut,
    // changed, too large), the work read before the damage.
    struct Reading;
    // Pictures up to this size are stamped by a hash of all their bytes; larger ones by a hash of
    // their first and last halves of it.
    static constexpr qint64 kWholeHashLimit = qint64{8} << 20;
    // Journals are read no further than this: a real one never comes near it.
    static constexpr qint64 kReadLimit = qint64{64} << 20;

    // The document's work now (the picture stamp is left for the writer to fill in).
    static RecoveredWork Capture(const CTallyscopeDoc& doc);
    // The journal text; Parse gives the work back, or nothing for a text that is not whole.
    QByteArray Serialise() const;
    static std::optional<RecoveredWork> Parse(const QByteArray& text);
    static std::optional<RecoveredWork> ReadFile(const QString& path);
    // Reads a journal from the device as it goes, never more than the limit.
    static Reading Read(QIODevice& device, qint64 limit = kReadLimit);
    static Reading Examine(const QString& path);

    // Whether the picture file is still the one the work was picked on, by the journal's stamp.
    PictureState CheckPicture() const;
    // The work alone, without the picture's stamp or the time: equal for equal work.
    QByteArray WorkText() const;

    PictureStamp picture;
    qint64 writtenMs = 0;
};

struct RecoveredWork::Reading {
    bool whole = false;
    bool pictureKnown = false; // the picture's path was read
    bool calibrationRead = false;
    RecoveredWork work;
    // Whether a damaged journal still gave some of the work: the calibration or points.
    bool HasWork() const;
    // Marks the reading as cut short here: what was read stays, a selection it lost goes.
    Reading& Damaged();
};
