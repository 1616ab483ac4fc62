#pragma once
// Keeps the document's unexported work in the recovery journal (WorkJournal), so that a crash, a
// kill, a logout or a power cut loses at most the last moment of it. A change starts a short
// timer rather than a write, so a pick costs next to nothing and a burst of changes is one write;
// the timer is not restarted by later changes, so a steady stream of them is still written at
// least that often. The copy of the work is taken on the user-interface thread when the timer
// fires, and turned into text and written on the journal's own thread.

#include "doc/RecoveredWork.h"
#include "platform/core/WorkJournal.h"

#include <QTimer>

#include <memory>

class CTallyscopeDoc;

class DocumentJournal {
public:
    // The longest a change waits before it is journalled.
    static constexpr int kDelayMs = 500;

    explicit DocumentJournal(CTallyscopeDoc& doc);

    // The work changed: it is journalled within kDelayMs.
    void Changed();
    // Journals the work as it is now and waits until it is on disk.
    void WriteNow();
    // Nothing is left to lose: no write is pending and the journal file is gone.
    void Clear();
    // Another picture was opened: its file is stamped afresh at the next write.
    void PictureOpened();
    bool IsPending() const { return m_timer.isActive(); }
    WorkJournal& Journal() { return m_journal; }

private:
    void Write();

    CTallyscopeDoc& m_doc;
    QTimer m_timer;
    WorkJournal m_journal;
    // The open picture's stamp, made once by the writer thread, which alone uses it afterwards.
    std::shared_ptr<std::optional<RecoveredWork::PictureStamp>> m_pictureStamp;
};
