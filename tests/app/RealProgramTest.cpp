// The real program under a display of the test's own (VirtualDisplay): how it ends when the display
// goes away or a signal asks it to, and where its cursors put a click at scaled screens. Input goes
// through the X server as a user's does; what the program did is read from its journal, the file
// the next start would offer back.

#include "../support/LoaderLog.h"
#include "../support/TestImages.h"
#include "../support/VirtualDisplay.h"
#include "doc/RecoveredWork.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QPainter>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <algorithm>
#include <cmath>
#include <csignal>
#include <vector>

#ifdef TALLYSCOPE_PROGRAM_PATH

namespace {

// A white picture of 800 x 600 with one black pixel at kMark, a place to aim at.
constexpr QPoint kMark(200, 150);

QImage MarkedPicture() {
    QImage picture(800, 600, QImage::Format_RGB32);
    picture.fill(Qt::white);
    picture.setPixel(kMark, qRgb(0, 0, 0));
    return picture;
}

// The real program on a picture, with a profile store and a recovery folder of its own.
class RealProgram {
public:
    RealProgram(const VirtualDisplay& display, double scale, const QProcessEnvironment& more = {})
        : m_display(display) {
        const QString picture = m_files.Save(MarkedPicture(), "marked.bmp");
        QProcessEnvironment environment = display.Environment();
        environment.insert(more);
        environment.insert("XDG_CONFIG_HOME", m_home.filePath("config"));
        environment.insert("XDG_STATE_HOME", m_home.filePath("state"));
        environment.insert("QT_SCALE_FACTOR", QString::number(scale));
        m_process.setProcessEnvironment(environment);
        m_process.setProcessChannelMode(QProcess::ForwardedChannels);
        m_process.start(TALLYSCOPE_PROGRAM_PATH, {picture});
    }
    ~RealProgram() {
        if (m_process.state() != QProcess::NotRunning) {
            m_process.kill();
            m_process.waitForFinished();
        }
    }

    // Waits for the main window; its X window id.
    bool WaitForWindow() {
        const auto found = m_display.Send({"search", "--sync", "--onlyvisible", "--name", "marked.bmp - Tallyscope"});
        if (!found)
            return false;
        m_window = QString::fromLatin1(*found).split('\n', Qt::SkipEmptyParts).value(0);
        return !m_window.isEmpty();
    }
    // xdotool commands that put the pointer at a place of the main window (device pixels).
    QStringList PointerAt(QPoint inWindow) const {
        return {"mousemove", "--sync", "--window", m_window, QString::number(inWindow.x()),
                QString::number(inWindow.y())};
    }
    // The main window's top left on the screen.
    QPoint WindowOrigin() const {
        const auto geometry = m_display.Send({"getwindowgeometry", "--shell", m_window});
        QPoint origin;
        for (const QByteArray& line : geometry.value_or(QByteArray()).split('\n')) {
            if (line.startsWith("X="))
                origin.setX(line.mid(2).toInt());
            if (line.startsWith("Y="))
                origin.setY(line.mid(2).toInt());
        }
        return origin;
    }
    // How many of the program's windows are menus on show.
    int ShownMenus() const {
        const auto windows =
            m_display.Send({"search", "--onlyvisible", "--pid", QString::number(m_process.processId())});
        int menus = 0;
        for (const QByteArray& window : windows.value_or(QByteArray()).split('\n')) {
            if (window.isEmpty())
                continue;
            QProcess property;
            property.setProcessEnvironment(m_display.Environment());
            property.start("xprop", {"-id", QString::fromLatin1(window), "_NET_WM_WINDOW_TYPE"});
            if (property.waitForFinished(10000) && property.readAll().contains("_MENU"))
                ++menus;
        }
        return menus;
    }
    // Presses each key once the menus it acts on are shown: a key that comes before its menu goes
    // to the window beneath. After each key, the number of menus on show is the next entry.
    bool PressInMenus(const QStringList& keys, const std::vector<int>& menusAfter) {
        for (qsizetype i = 0; i < keys.size(); ++i) {
            if (!m_display.Send({"key", keys[i]}) ||
                !QTest::qWaitFor([&] { return ShownMenus() == menusAfter[static_cast<std::size_t>(i)]; }, 30000))
                return false;
        }
        return true;
    }
    bool Signal(int signalNumber) { return ::kill(static_cast<pid_t>(m_process.processId()), signalNumber) == 0; }
    bool WaitForEnd() { return m_process.waitForFinished(60000); }
    QProcess& Process() { return m_process; }

    // The points of the journals left in the recovery folder, every series together.
    std::vector<QPoint> JournalledPoints() const {
        std::vector<QPoint> points;
        const QDir folder(m_home.filePath("state/tallyscope"));
        for (const QString& name : folder.entryList({"*.journal"}, QDir::Files))
            if (const std::optional<RecoveredWork> work = RecoveredWork::ReadFile(folder.filePath(name)))
                for (const RecoveredWork::Series& series : work->series)
                    for (const auto& [x, y] : series)
                        points.emplace_back(x, y);
        return points;
    }

private:
    const VirtualDisplay& m_display;
    QTemporaryDir m_home;
    TestFiles m_files;
    QProcess m_process;
    QString m_window;
};

// Shift-clicks at a place of the window, and waits until the screen around the pointer differs
// from what it showed before: the program has drawn the point picked there.
bool PickAndWaitForItsMarker(const VirtualDisplay& display, const RealProgram& program, QPoint inWindow) {
    const QImage before = display.Screenshot();
    if (!display.Send(program.PointerAt(inWindow) + QStringList{"keydown", "shift", "click", "1", "keyup", "shift"}))
        return false;
    const std::optional<VirtualDisplay::Cursor> cursor = display.ShownCursor();
    if (!cursor)
        return false;
    const QRect around = QRect(cursor->position - QPoint(8, 8), QSize(17, 17)).intersected(before.rect());
    return QTest::qWaitFor(
        [&] {
            const QImage now = display.Screenshot();
            return !now.isNull() && now.copy(around) != before.copy(around);
        },
        30000);
}

class RealProgramTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (!VirtualDisplay::IsAvailable())
            GTEST_SKIP() << "no Xvfb, openbox, xdotool, xprop or ImageMagick";
        ASSERT_TRUE(m_display.Start());
    }
    VirtualDisplay m_display;
};

// A place well inside the picture view, in the window's device pixels.
QPoint InsideTheView(double scale, int step = 0) {
    return QPoint(static_cast<int>(scale * (250 + 12 * step)), static_cast<int>(scale * (260 + 9 * step)));
}

} // namespace

// A logout breaks the connection to the display: Qt ends the program from inside its loop. The
// program ends without a crash, and the point picked just before is in the journal.
TEST_F(RealProgramTest, RealProgram_DisplayGoneEndsWithoutACrashAndKeepsThePickedPoint) {
    RealProgram program(m_display, 1.0);
    ASSERT_TRUE(program.WaitForWindow());
    ASSERT_TRUE(PickAndWaitForItsMarker(m_display, program, InsideTheView(1.0)));
    m_display.KillServer();
    ASSERT_TRUE(program.WaitForEnd());
    EXPECT_EQ(program.Process().exitStatus(), QProcess::NormalExit) << "the program crashed";
    EXPECT_EQ(program.JournalledPoints().size(), 1u);
}

// SIGTERM, SIGHUP and SIGINT right after the last of several picks: every point is in the journal
// (the journal waits up to half a second after a change), and the program ends normally.
TEST_F(RealProgramTest, RealProgram_EndingSignalsWriteEveryPickedPointFirst) {
    for (const int signalNumber : {SIGTERM, SIGHUP, SIGINT}) {
        RealProgram program(m_display, 1.0);
        ASSERT_TRUE(program.WaitForWindow()) << signalNumber;
        for (int step = 0; step < 3; ++step) {
            ASSERT_TRUE(PickAndWaitForItsMarker(m_display, program, InsideTheView(1.0, step)))
                << signalNumber << ", pick " << step;
        }
        ASSERT_TRUE(program.Signal(signalNumber));
        ASSERT_TRUE(program.WaitForEnd()) << signalNumber;
        EXPECT_EQ(program.Process().exitStatus(), QProcess::NormalExit) << signalNumber;
        EXPECT_EQ(program.Process().exitCode(), 0) << signalNumber;
        EXPECT_EQ(program.JournalledPoints().size(), 3u) << signalNumber;
    }
}

namespace {

// The column and row of a cursor picture where its cross's black bar lies: the ones with the most
// black pixels.
QPoint CrossingOf(const QImage& picture) {
    std::vector<int> columns(static_cast<std::size_t>(picture.width()));
    std::vector<int> rows(static_cast<std::size_t>(picture.height()));
    for (int y = 0; y < picture.height(); ++y) {
        for (int x = 0; x < picture.width(); ++x) {
            const QRgb pixel = picture.pixel(x, y);
            if (qAlpha(pixel) > 128 && qGray(pixel) < 64) {
                ++columns[static_cast<std::size_t>(x)];
                ++rows[static_cast<std::size_t>(y)];
            }
        }
    }
    return QPoint(static_cast<int>(std::max_element(columns.begin(), columns.end()) - columns.begin()),
                  static_cast<int>(std::max_element(rows.begin(), rows.end()) - rows.begin()));
}

// Whether the screen shows a black square of the size with its top left here, white around it.
bool IsIsolatedBlackSquare(const QImage& screen, QPoint topLeft, int size) {
    const QRect square(topLeft, QSize(size, size));
    if (!screen.rect().contains(square.adjusted(-1, -1, 1, 1)))
        return false;
    for (int y = square.top() - 1; y <= square.bottom() + 1; ++y)
        for (int x = square.left() - 1; x <= square.right() + 1; ++x)
            if ((qGray(screen.pixel(x, y)) < 32) != square.contains(x, y) ||
                (!square.contains(x, y) && qGray(screen.pixel(x, y)) < 224))
                return false;
    return true;
}

bool IsBlack(const QImage& picture, QPoint at) {
    const QRgb pixel = picture.valid(at) ? picture.pixel(at) : 0;
    return qAlpha(pixel) > 128 && qGray(pixel) < 64;
}

// The first black device pixel, left and top, of the bars' crossing: where the cross's centre
// pixel begins. Each bar is followed a few pixels away from the other one.
QPoint CentreOf(const QImage& picture, double scale) {
    const QPoint crossing = CrossingOf(picture);
    const int away = static_cast<int>(std::ceil(4 * scale));
    QPoint first = crossing;
    while (IsBlack(picture, QPoint(first.x() - 1, crossing.y() - away)))
        first.rx() -= 1;
    while (IsBlack(picture, QPoint(crossing.x() - away, first.y() - 1)))
        first.ry() -= 1;
    return first;
}

} // namespace

// The cursor the display shows over the picture view, at 100 %, 150 % and 200 %: drawn at the
// screen's scale, with its hot spot on the black pixels where the cross's bars meet, for the pick
// crosshair and for the origin cursor of the axis mode.
TEST_F(RealProgramTest, RealProgram_CursorHotSpotOnTheCrossingAtEveryScale) {
    for (const double scale : {1.0, 1.5, 2.0}) {
        RealProgram program(m_display, scale);
        ASSERT_TRUE(program.WaitForWindow()) << scale;
        const int size = static_cast<int>(std::ceil(32 * scale - 0.5));
        struct Mode {
            const char* what;
            QStringList keys; // what puts the view into the mode
        };
        // Alt+D opens the data menu, Right its first submenu (axes), Return its first item (origin).
        const Mode modes[] = {{"pick crosshair", {}}, {"origin cursor", {"alt+d", "Right", "Return"}}};
        for (const Mode& mode : modes) {
            if (!mode.keys.isEmpty()) {
                ASSERT_TRUE(program.PressInMenus(mode.keys, {1, 2, 0})) << mode.what;
            }
            // The view shows its cursors while Shift is held.
            ASSERT_TRUE(m_display.Send({"keydown", "shift"})) << mode.what;
            std::optional<VirtualDisplay::Cursor> cursor;
            int step = 0;
            // The cursor changes as the pointer moves over the view; wait until it is the mode's.
            const QPoint expectedCrossing = mode.keys.isEmpty() ? QPoint(15, 16) : QPoint(8, 8);
            ASSERT_TRUE(QTest::qWaitFor(
                [&] {
                    m_display.Send(program.PointerAt(InsideTheView(scale, step++ % 4)));
                    cursor = m_display.ShownCursor();
                    if (!cursor || cursor->picture.width() != size)
                        return false;
                    // The crossing lies in the block the resource's crossing pixel became.
                    const QPointF crossing = QPointF(CrossingOf(cursor->picture)) / scale;
                    return std::abs(crossing.x() - expectedCrossing.x() - 0.25) < 0.75 &&
                           std::abs(crossing.y() - expectedCrossing.y() - 0.25) < 0.75;
                },
                30000))
                << scale << ", " << mode.what;
            EXPECT_EQ(cursor->hotSpot, CentreOf(cursor->picture, scale)) << scale << ", " << mode.what;
            EXPECT_TRUE(IsBlack(cursor->picture, cursor->hotSpot)) << scale << ", " << mode.what;
            ASSERT_TRUE(m_display.Send({"keyup", "shift"})) << mode.what;
        }
    }
}

// At 200 % the pointer is put where the crosshair's drawn centre covers the picture's one black
// pixel; a Shift-click there picks exactly that pixel.
TEST_F(RealProgramTest, RealProgram_ShiftClickAt200PercentPicksThePixelUnderTheCrosshairsCentre) {
    const double scale = 2.0;
    RealProgram program(m_display, scale);
    ASSERT_TRUE(program.WaitForWindow());
    // Where the black pixel shows: the first black device pixel of the window's area.
    const QPoint origin = program.WindowOrigin();
    std::optional<QPoint> mark;
    ASSERT_TRUE(QTest::qWaitFor(
        [&] {
            const QImage screen = m_display.Screenshot();
            for (int y = origin.y() + 120; y < std::min(screen.height(), origin.y() + 900) && !mark; ++y)
                for (int x = origin.x() + 10; x < std::min(screen.width(), origin.x() + 1100) && !mark; ++x)
                    if (IsIsolatedBlackSquare(screen, QPoint(x, y), 2))
                        mark = QPoint(x, y);
            return mark.has_value();
        },
        30000));
    // Positions on the screen from here on: a window's own place leaves out its frame's.
    const auto pointerAt = [](QPoint onScreen) {
        return QStringList{"mousemove", "--sync", QString::number(onScreen.x()), QString::number(onScreen.y())};
    };
    std::optional<VirtualDisplay::Cursor> cursor;
    ASSERT_TRUE(m_display.Send({"keydown", "shift"}));
    ASSERT_TRUE(QTest::qWaitFor(
        [&] {
            m_display.Send(pointerAt(*mark));
            cursor = m_display.ShownCursor();
            return cursor && cursor->picture.width() == 64;
        },
        30000));
    // The pointer such that the crosshair's first black centre pixel lies on the mark.
    const QPoint pointer = *mark - CentreOf(cursor->picture, scale) + cursor->hotSpot;
    ASSERT_TRUE(m_display.Send(pointerAt(pointer) + QStringList{"click", "1", "keyup", "shift"}));
    ASSERT_TRUE(QTest::qWaitFor([&] { return program.JournalledPoints().size() == 1; }, 30000));
    EXPECT_EQ(program.JournalledPoints().front(), kMark);
}

// A launch loads what showing the picture needs and no more: not the PDF module with poppler, not
// the tracer's module with OpenCV, and none of Qt's image-format plugins, which neither a BMP nor
// the program's own PNGs need. Each would cost start-up time before the window shows.
TEST_F(RealProgramTest, RealProgram_StartsWithoutTheLibrariesItHasNoUseForYet) {
    const LoaderLog log;
    RealProgram program(m_display, 1.0, log.Environment());
    ASSERT_TRUE(program.WaitForWindow());
    ASSERT_TRUE(program.Signal(SIGTERM));
    ASSERT_TRUE(program.WaitForEnd());
    const QByteArray loaded = log.Loaded();
    ASSERT_TRUE(loaded.contains("libQt6Widgets")) << "the loader's log was not written";
    for (const char* unused : {"libpoppler", "libopencv", "/imageformats/", "libtallyscope-"})
        EXPECT_FALSE(loaded.contains(unused)) << unused;
}

#endif
