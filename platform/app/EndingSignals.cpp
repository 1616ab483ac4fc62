#include "platform/app/EndingSignals.h"

#include <QSocketNotifier>

#include <cerrno>

#include <fcntl.h>
#include <unistd.h>

namespace {
// The pipe's writing end, for the handler; -1 while no object listens.
volatile std::sig_atomic_t g_writeEnd = -1;

// Runs at any moment on any thread: writes one byte and keeps errno as it was. A full pipe drops
// the byte, which loses nothing, since the ones already waiting will make the call.
extern "C" void WriteSignalNumber(int signalNumber) {
    const int savedErrno = errno;
    const auto byte = static_cast<unsigned char>(signalNumber);
    if (g_writeEnd >= 0) {
        const ssize_t written = ::write(g_writeEnd, &byte, 1);
        static_cast<void>(written);
    }
    errno = savedErrno;
}
} // namespace

EndingSignals::EndingSignals(Handler handler) : m_handler(std::move(handler)) {
    int ends[2];
    if (::pipe2(ends, O_CLOEXEC | O_NONBLOCK) != 0)
        return;
    m_readEnd = ends[0];
    m_writeEnd = ends[1];
    g_writeEnd = m_writeEnd;
    m_notifier = std::make_unique<QSocketNotifier>(m_readEnd, QSocketNotifier::Read);
    QObject::connect(m_notifier.get(), &QSocketNotifier::activated, [this] { Deliver(); });
    struct sigaction action = {};
    action.sa_handler = WriteSignalNumber;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (std::size_t i = 0; i < std::size(kSignals); ++i)
        ::sigaction(kSignals[i], &action, &m_previous[i]);
}

EndingSignals::~EndingSignals() {
    if (m_notifier == nullptr)
        return;
    for (std::size_t i = 0; i < std::size(kSignals); ++i)
        ::sigaction(kSignals[i], &m_previous[i], nullptr);
    g_writeEnd = -1;
    m_notifier.reset();
    ::close(m_readEnd);
    ::close(m_writeEnd);
}

// Every signal waiting is read, and the handler called once for them all: a second request to end
// that arrives with the first asks for nothing more.
void EndingSignals::Deliver() {
    unsigned char bytes[64];
    int first = 0;
    for (;;) {
        const ssize_t count = ::read(m_readEnd, bytes, sizeof bytes);
        if (count <= 0)
            break;
        if (first == 0)
            first = bytes[0];
    }
    if (first != 0 && m_handler)
        m_handler(first);
}
