#include "platform/core/WorkJournal.h"

#include "platform/core/RecoveryFolder.h"

#include <QFile>
#include <QFileInfo>

namespace {
const QString kSuffix = QStringLiteral("journal");
}

// The owner lock is taken at once, so that a start-up check of the folder sees it as it will be.
WorkJournal::WorkJournal(Listener listener)
    : m_listener(std::move(listener)), m_path(RecoveryFolder::OwnPath(kSuffix)) {
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

long long WorkJournal::Write(Contents contents) {
    long long number = 0;
    {
        const std::lock_guard<std::mutex> lock(m_mutex);
        m_waiting = std::move(contents);
        number = ++m_waitingNumber;
    }
    m_wake.notify_all();
    return number;
}

bool WorkJournal::Flush() {
    std::unique_lock<std::mutex> lock(m_mutex);
    m_idle.wait(lock, [this] { return !m_waiting && !m_writing; });
    return m_lastWritten;
}

void WorkJournal::Clear() {
    std::unique_lock<std::mutex> lock(m_mutex);
    m_waiting = nullptr;
    m_idle.wait(lock, [this] { return !m_writing; });
    const QString path = m_path.isEmpty() ? RecoveryFolder::OwnPath(kSuffix) : m_path;
    if (!path.isEmpty())
        RecoveryFolder::RemoveDurably(path);
}

QString WorkJournal::Path() const {
    {
        const std::lock_guard<std::mutex> lock(m_mutex);
        if (!m_path.isEmpty())
            return m_path;
    }
    return RecoveryFolder::OwnPath(kSuffix);
}

bool WorkJournal::Exists() const {
    const QString path = Path();
    return !path.isEmpty() && QFileInfo::exists(path);
}

// The contents are made here, off the user-interface thread, from the copy the function holds.
void WorkJournal::Run() {
    std::unique_lock<std::mutex> lock(m_mutex);
    for (;;) {
        m_wake.wait(lock, [this] { return m_waiting || m_stopping; });
        if (!m_waiting)
            return; // stopping, with nothing left to write
        Contents contents = std::move(m_waiting);
        const long long number = m_waitingNumber;
        m_waiting = nullptr;
        m_writing = true;
        lock.unlock();
        WriteOne(contents, number);
        lock.lock();
        m_writing = false;
        m_idle.notify_all();
    }
}

// A folder that cannot be had is looked at once more, to tell why.
void WorkJournal::WriteOne(const Contents& contents, long long number) {
    QString path = RecoveryFolder::OwnPath(kSuffix);
    StorageFailure failure;
    if (path.isEmpty()) {
        failure = RecoveryFolder::Check();
        if (!failure.IsFailure())
            path = RecoveryFolder::OwnPath(kSuffix);
    }
    const bool written = !path.isEmpty() && RecoveryFolder::WriteDurably(path, contents(), &failure);
    if (!written && !failure.IsFailure())
        failure.cause = StorageFailure::Cause::Other; // the folder is fine, but its owner lock is not
    {
        const std::lock_guard<std::mutex> guard(m_mutex);
        m_lastWritten = written;
        if (written)
            m_path = path;
    }
    if (m_listener)
        m_listener(failure, number);
}
