#include "doc/DocumentJournal.h"

#include "doc/CTallyscopeDoc.h"

DocumentJournal::DocumentJournal(CTallyscopeDoc& doc)
    : m_doc(doc), m_pictureStamp(std::make_shared<std::optional<RecoveredWork::PictureStamp>>()) {
    m_timer.setSingleShot(true);
    m_timer.setInterval(kDelayMs);
    QObject::connect(&m_timer, &QTimer::timeout, [this] { Write(); });
}

void DocumentJournal::Changed() {
    if (!m_timer.isActive())
        m_timer.start();
}

void DocumentJournal::WriteNow() {
    Write();
    m_journal.Flush();
}

void DocumentJournal::Clear() {
    m_timer.stop();
    m_journal.Clear();
}

void DocumentJournal::PictureOpened() {
    m_pictureStamp = std::make_shared<std::optional<RecoveredWork::PictureStamp>>();
}

void DocumentJournal::Write() {
    m_timer.stop();
    m_journal.Write([work = RecoveredWork::Capture(m_doc), stamp = m_pictureStamp]() mutable {
        if (!*stamp)
            *stamp = RecoveredWork::PictureStamp::Of(work.picturePath);
        work.picture = **stamp;
        return work.Serialise();
    });
}
