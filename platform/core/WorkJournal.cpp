#include "platform/core/WorkJournal.h"

#include "platform/core/RecoveryFolder.h"

#include <QFileInfo>

WorkJournal::WorkJournal() : m_path(RecoveryFolder::OwnPath(QStringLiteral("journal"))) {
    m_writer = std::thread(&WorkJournal::Run, this);
}

WorkJournal::~WorkJournal() {
    {
        const std::lock_guard<std::mutex> lock(m_mutex);
        m_stopping = true;
    }
    m_wake.notify_all();
    m_writer.join();
}

void WorkJournal::Write(Contents contents) {
    {
        const std::lock_guard<std::mutex> lock(m_mutex);
        m_waiting = std::move(contents);
    }
    m_wake.notify_all();
}

void WorkJournal::Flush() {
    std::unique_lock<std::mutex> lock(m_mutex);
    m_idle.wait(lock, [this] { return !m_waiting && !m_writing; });
}

void WorkJournal::Clear() {
    std::unique_lock<std::mutex> lock(m_mutex);
    m_waiting = nullptr;
    m_idle.wait(lock, [this] { return !m_writing; });
    if (!m_path.isEmpty())
        RecoveryFolder::RemoveDurably(m_path);
}

QString WorkJournal::Path() const {
    return m_path;
}

bool WorkJournal::Exists() const {
    return !m_path.isEmpty() && QFileInfo::exists(m_path);
}

int WorkJournal::WrittenCount() const {
    const std::lock_guard<std::mutex> lock(m_mutex);
    return m_written;
}

// The contents are made here, off the user-interface thread, from the copy the function holds.
void WorkJournal::Run() {
    std::unique_lock<std::mutex> lock(m_mutex);
    for (;;) {
        m_wake.wait(lock, [this] { return m_waiting || m_stopping; });
        if (!m_waiting)
            return; // stopping, with nothing left to write
        Contents contents = std::move(m_waiting);
        m_waiting = nullptr;
        m_writing = true;
        lock.unlock();
        const bool written = !m_path.isEmpty() && RecoveryFolder::WriteDurably(m_path, contents());
        lock.lock();
        m_writing = false;
        m_written += written ? 1 : 0;
        m_idle.notify_all();
    }
}
