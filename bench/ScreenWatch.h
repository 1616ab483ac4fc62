#pragma once
// Watches an X display from the outside, as a user's eyes would: when a program launched on it
// first maps a window, and when a marker drawn into the picture it opens (a block of pure magenta,
// see MarkerIsShown) is on the screen. It knows nothing of the program it watches, so the same
// watch times this program and any peer alike.

#include <QString>

#include <chrono>

class ScreenWatch {
public:
    using Clock = std::chrono::steady_clock;

    struct Sighting {
        double firstWindowSeconds = -1; // from the launch to the first window mapped
        double markerSeconds = -1;      // from the launch to the marker on screen
    };

    explicit ScreenWatch(const QString& displayName);
    ScreenWatch(const ScreenWatch&) = delete;
    ScreenWatch& operator=(const ScreenWatch&) = delete;
    ~ScreenWatch();

    bool IsOpen() const;
    // Forgets the windows mapped so far and waits until no marker is on screen: nothing a
    // previous launch left behind can then count for the next.
    bool Clear(double timeoutSeconds);
    // Watches from a launch at `launched` until the marker shows or the time is up.
    Sighting Watch(Clock::time_point launched, double timeoutSeconds);

    // Side of the marker's square in picture pixels, and where its top-left corner lies.
    static constexpr int kMarkerSide = 48;
    static constexpr int kMarkerOffset = 8;

private:
    struct Connection;
    int MarkerPixels();
    bool FirstWindowMapped();

    Connection* m_connection = nullptr;
};
