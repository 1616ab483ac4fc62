// The readers of what the recovery folder keeps: the journal of unexported work and the copy of a
// file rewritten in place. Any bytes may be found there after a crash, a full disk or a hand that
// edited them: neither reader may read outside its input or allocate by a count it has not seen
// the bytes for, and a journal read whole must write back exactly as it was read.
#include "doc/RecoveredWork.h"
#include "platform/core/KeptFile.h"

#include <QBuffer>
#include <QByteArray>

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));

    QBuffer journal;
    journal.setData(bytes);
    journal.open(QIODevice::ReadOnly);
    const RecoveredWork::Reading reading = RecoveredWork::Read(journal);
    if (reading.whole) {
        const std::optional<RecoveredWork> again = RecoveredWork::Parse(reading.work.Serialise());
        if (!again || again->WorkText() != reading.work.WorkText())
            std::abort(); // a whole journal reads back as it was written
    }
    if (!reading.work.SelectionFits())
        std::abort(); // what is offered back never selects a point it does not have

    QBuffer kept;
    kept.setData(bytes);
    kept.open(QIODevice::ReadOnly);
    if (const std::optional<KeptFile> copy = KeptFile::Parse(kept)) {
        if (copy->target.isEmpty())
            std::abort();
    }
    return 0;
}
