#pragma once
// This program's journal of unsaved work: one file in the recovery folder ("<id>.journal", see
// RecoveryFolder), rewritten whole and durably on a writer thread of its own, so that writing a
// large journal never holds up the user interface. The owner hands over a function that makes the
// contents from a copy of its state taken at the time; only the newest one waiting is written.
// The journal stays on disk when the object goes, unless it was cleared: a program that ends
// without clearing it has left work behind, which the next start offers back.

#include <QByteArray>
#include <QString>

#include <condition_variable>
#include <functional>
#include <mutex>
#include <thread>

class WorkJournal {
public:
    using Contents = std::function<QByteArray()>;

    WorkJournal();
    // Writes what is still waiting, then stops the writer.
    ~WorkJournal();
    WorkJournal(const WorkJournal&) = delete;
    WorkJournal& operator=(const WorkJournal&) = delete;

    // Has the contents written on the writer thread; replaces contents still waiting.
    void Write(Contents contents);
    // Waits until everything handed over is on disk.
    void Flush();
    // Drops what is waiting and removes the journal file.
    void Clear();
    // The journal file ("" when the recovery folder cannot be had).
    QString Path() const;
    // Whether the journal file exists.
    bool Exists() const;
    // How many journals the writer has put on disk.
    int WrittenCount() const;

private:
    void Run();

    mutable std::mutex m_mutex;
    std::condition_variable m_wake;
    std::condition_variable m_idle;
    Contents m_waiting;
    bool m_writing = false;
    bool m_stopping = false;
    int m_written = 0;
    QString m_path;
    std::thread m_writer;
};
