#pragma once
// This program's journal of unsaved work: one file in the recovery folder ("<id>.journal", see
// RecoveryFolder), rewritten whole and durably on a writer thread of its own, so that writing a
// large journal never holds up the user interface. The owner hands over a function that makes the
// contents from a copy of its state taken at the time; only the newest one waiting is written.
// The journal stays on disk when the object goes, unless it was cleared: a program that ends
// without clearing it has left work behind, which the next start offers back.
//
// Every write looks for the folder afresh, so a folder that was removed, replaced or full is used
// again as soon as it can be; the outcome of every write is told to the listener, on the writer
// thread, with the cause of a failure.

#include "platform/core/StorageFailure.h"

#include <QByteArray>
#include <QString>

#include <condition_variable>
#include <functional>
#include <mutex>
#include <thread>

class WorkJournal {
public:
    using Contents = std::function<QByteArray()>;
    // Called on the writer thread after each write, with the number Write gave it; the cause is
    // None when the journal is on disk.
    using Listener = std::function<void(const StorageFailure&, long long)>;

    explicit WorkJournal(Listener listener = {});
    // Writes what is still waiting, then stops the writer.
    ~WorkJournal();
    WorkJournal(const WorkJournal&) = delete;
    WorkJournal& operator=(const WorkJournal&) = delete;

    // Has the contents written on the writer thread; replaces contents still waiting. The number
    // grows with every call.
    long long Write(Contents contents);
    // Waits until everything handed over was written; TRUE when the last write reached the disk.
    bool Flush();
    // Drops what is waiting and removes the journal file.
    void Clear();
    // The journal file ("" when the recovery folder cannot be had).
    QString Path() const;
    // Whether the journal file exists.
    bool Exists() const;

private:
    void Run();
    void WriteOne(const Contents& contents, long long number);

    Listener m_listener;
    mutable std::mutex m_mutex;
    std::condition_variable m_wake;
    std::condition_variable m_idle;
    Contents m_waiting;
    long long m_waitingNumber = 0;
    bool m_writing = false;
    bool m_stopping = false;
    bool m_lastWritten = false;
    QString m_path; // where the last journal went
    std::thread m_writer;
};
