#pragma once
// The signals that ask a program to end (SIGTERM from a session that ends or a service manager,
// SIGHUP from a terminal that closes, SIGINT from Ctrl+C), turned into a call on the main thread
// from its event loop, where the program may do anything: put its work aside, close its windows.
// A signal handler may do almost nothing safely, so it only writes the signal's number into a pipe
// (the self-pipe); a socket notifier on the pipe's other end makes the call. While the object
// lives, these signals no longer end the program by themselves; afterwards they do again.

#include <functional>
#include <memory>

#include <csignal>

class QSocketNotifier;

class EndingSignals {
public:
    using Handler = std::function<void(int signalNumber)>;

    explicit EndingSignals(Handler handler);
    ~EndingSignals();
    EndingSignals(const EndingSignals&) = delete;
    EndingSignals& operator=(const EndingSignals&) = delete;

    // Whether the handlers are in place (a pipe could be had).
    bool IsListening() const { return m_notifier != nullptr; }

private:
    void Deliver();

    static constexpr int kSignals[] = {SIGTERM, SIGHUP, SIGINT};

    Handler m_handler;
    int m_readEnd = -1;
    int m_writeEnd = -1;
    std::unique_ptr<QSocketNotifier> m_notifier;
    struct sigaction m_previous[std::size(kSignals)] = {};
};
