#include "ScreenWatch.h"

#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XShm.h>
#include <sys/ipc.h>
#include <sys/shm.h>

#include <cstdint>

#include <thread>

struct ScreenWatch::Connection {
    Display* display = nullptr;
    Window root = 0;
    XImage* image = nullptr;
    XShmSegmentInfo segment{};
};

namespace {

double SecondsSince(ScreenWatch::Clock::time_point start) {
    return std::chrono::duration<double>(ScreenWatch::Clock::now() - start).count();
}

// Magenta as a JPEG at quality 90 keeps it: red and blue high, green low.
bool IsMarkerColour(unsigned long pixel) {
    const unsigned red = (pixel >> 16) & 0xff;
    const unsigned green = (pixel >> 8) & 0xff;
    const unsigned blue = pixel & 0xff;
    return red > 200 && blue > 200 && green < 80;
}

} // namespace

ScreenWatch::ScreenWatch(const QString& displayName) {
    Display* display = XOpenDisplay(displayName.toLatin1().constData());
    if (display == nullptr || !XShmQueryExtension(display)) {
        if (display != nullptr)
            XCloseDisplay(display);
        return;
    }
    const int screen = DefaultScreen(display);
    // The scan below reads 0x00RRGGBB words: a 24-bit TrueColor screen, as Xvfb's -screen ...x24.
    if (DefaultDepth(display, screen) != 24) {
        XCloseDisplay(display);
        return;
    }
    auto* connection = new Connection;
    connection->display = display;
    connection->root = DefaultRootWindow(display);
    connection->image =
        XShmCreateImage(display, DefaultVisual(display, screen), DefaultDepth(display, screen), ZPixmap, nullptr,
                        &connection->segment, DisplayWidth(display, screen), DisplayHeight(display, screen));
    connection->segment.shmid =
        shmget(IPC_PRIVATE, static_cast<size_t>(connection->image->bytes_per_line) * connection->image->height,
               IPC_CREAT | 0600);
    connection->segment.shmaddr = connection->image->data = static_cast<char*>(shmat(connection->segment.shmid, nullptr, 0));
    connection->segment.readOnly = False;
    XShmAttach(display, &connection->segment);
    XSync(display, False);
    // Marked for removal now, so that the segment goes with us whatever way we end.
    shmctl(connection->segment.shmid, IPC_RMID, nullptr);
    XSelectInput(display, connection->root, SubstructureNotifyMask);
    m_connection = connection;
}

ScreenWatch::~ScreenWatch() {
    if (m_connection == nullptr)
        return;
    XShmDetach(m_connection->display, &m_connection->segment);
    XDestroyImage(m_connection->image);
    shmdt(m_connection->segment.shmaddr);
    XCloseDisplay(m_connection->display);
    delete m_connection;
}

bool ScreenWatch::IsOpen() const {
    return m_connection != nullptr;
}

bool ScreenWatch::Clear(double timeoutSeconds) {
    const Clock::time_point start = Clock::now();
    while (MarkerPixels() > 0) {
        if (SecondsSince(start) > timeoutSeconds)
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    FirstWindowMapped(); // drains the maps of earlier launches
    return true;
}

ScreenWatch::Sighting ScreenWatch::Watch(Clock::time_point launched, double timeoutSeconds) {
    Sighting sighting;
    // Most of the square: a JPEG's edges may blur a row or two.
    const int enough = (kMarkerSide - 8) * (kMarkerSide - 8);
    while (SecondsSince(launched) < timeoutSeconds) {
        if (sighting.firstWindowSeconds < 0 && FirstWindowMapped())
            sighting.firstWindowSeconds = SecondsSince(launched);
        if (MarkerPixels() >= enough) {
            sighting.markerSeconds = SecondsSince(launched);
            if (sighting.firstWindowSeconds < 0)
                sighting.firstWindowSeconds = sighting.markerSeconds;
            return sighting;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    return sighting;
}

int ScreenWatch::MarkerPixels() {
    if (!XShmGetImage(m_connection->display, m_connection->root, m_connection->image, 0, 0, AllPlanes))
        return 0;
    int count = 0;
    for (int y = 0; y < m_connection->image->height; ++y) {
        const auto* line = reinterpret_cast<const uint32_t*>(m_connection->image->data +
                                                             static_cast<long>(y) * m_connection->image->bytes_per_line);
        for (int x = 0; x < m_connection->image->width; ++x)
            count += IsMarkerColour(line[x]) ? 1 : 0;
    }
    return count;
}

bool ScreenWatch::FirstWindowMapped() {
    bool mapped = false;
    while (XPending(m_connection->display) > 0) {
        XEvent event;
        XNextEvent(m_connection->display, &event);
        mapped = mapped || event.type == MapNotify;
    }
    return mapped;
}
