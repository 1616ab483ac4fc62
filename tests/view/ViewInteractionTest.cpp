#include "view/CTallyscopeView.h"

#include "../support/ScriptedModalHost.h"
#include "../support/TestDocuments.h"
#include "../support/TestImages.h"
#include "doc/CTallyscopeDoc.h"
#include "platform/gdi/DeviceScale.h"
#include "platform/res/AfxResource.h"
#include "platform/res/Cursors.h"
#include "res/Resource.h"
#include "zoom/CZoomView.h"

#include <gtest/gtest.h>

#include <QAbstractScrollArea>
#include <QCursor>
#include <QScreen>
#include <QScrollBar>
#include <QTest>
#include <QWidget>
#include <QWindow>

#include <climits>
#include <cmath>
#include <tuple>

namespace {

// The picture view on a document with a 400 x 300 picture, shown off-screen, driven with real
// mouse and key events through its widget.
class ViewInteraction : public ::testing::Test {
protected:
    void SetUp() override {
        doc.AddView(&view);
        view.Create(nullptr, AFX_IDW_PANE_FIRST);
        view.GetSafeHwnd()->resize(320, 240);
        view.GetSafeHwnd()->show();
        AttachPicture(doc, MakeTestImage(400, 300));
        view.OnInitialUpdate();
    }
    void TearDown() override { delete view.GetSafeHwnd(); }

    QWidget* Input() const { return view.GetInputWidget(); }
    void Click(QPoint at, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        QTest::mouseClick(Input(), Qt::LeftButton, modifiers, at);
    }
    void Key(Qt::Key key, int repeat = 1, QEvent::Type type = QEvent::KeyPress) {
        QKeyEvent event(type, key, Qt::NoModifier, QString(), false, static_cast<quint16>(repeat));
        QCoreApplication::sendEvent(Input(), &event);
    }
    int PointCount(int series) const { return doc.m_DataSeries.m_aSeries[series]->m_aData.GetSize(); }
    const CData* Point(int series, int index) const {
        return doc.m_DataSeries.m_aSeries[series]->GetData(index);
    }

    CTallyscopeDoc doc;
    CTallyscopeView view;
};

} // namespace

TEST_F(ViewInteraction, Mapping_WindowPlusScrollOverZoom) {
    struct Case {
        int zoom;
        CPoint scroll, window, pixel;
    };
    const Case cases[] = {
        {4, {100, 0}, {3, 7}, {25, 1}},
        {2, {0, 50}, {5, 5}, {2, 27}},
        {1, {30, 40}, {5, 6}, {35, 46}},
        {4, {0, 0}, {3, 3}, {0, 0}}, // every window pixel of a block maps to its image pixel
    };
    for (const Case& c : cases) {
        view.m_nZoom = c.zoom;
        view.UpdateScrollSizes();
        view.ScrollToPosition(c.scroll);
        ASSERT_EQ(view.GetScrollPos(SB_HORZ), c.scroll.x);
        ASSERT_EQ(view.GetScrollPos(SB_VERT), c.scroll.y);
        EXPECT_EQ(view.WindowToImage(c.window), c.pixel) << "zoom " << c.zoom;
    }
}

TEST_F(ViewInteraction, Click_ShiftClicksPlacePointsAndShiftCtrlEndsTheFigure) {
    Click({10, 20}, Qt::ShiftModifier);
    Click({30, 20}, Qt::ShiftModifier);
    Click({30, 60}, Qt::ShiftModifier);
    Click({10, 60}, Qt::ShiftModifier | Qt::ControlModifier);
    ASSERT_EQ(doc.m_DataSeries.m_aSeries.GetSize(), 2);
    EXPECT_EQ(doc.m_DataSeries.m_nCurrent, 1);
    ASSERT_EQ(PointCount(0), 4);
    EXPECT_EQ(PointCount(1), 0);
    EXPECT_EQ(Point(0, 3)->m_nPixelX, 10);
    EXPECT_EQ(Point(0, 3)->m_nPixelY, 60);
}

TEST_F(ViewInteraction, Click_ZoomAndScrollApplyToPlacedPoints) {
    view.OnZoomX4();
    view.ScrollToPosition(CPoint(100, 0));
    Click({3, 7}, Qt::ShiftModifier);
    ASSERT_EQ(PointCount(0), 1);
    EXPECT_EQ(Point(0, 0)->m_nPixelX, 25);
    EXPECT_EQ(Point(0, 0)->m_nPixelY, 1);
}

// A pick repaints only around the new point; what the window shows must still be what a whole
// repaint shows, after picks near and far from the last point, one that takes a selection away,
// moves and scrolls.
TEST_F(ViewInteraction, Click_WhatAPickRepaintsMatchesAWholeRepaint) {
    view.OnZoomX4();
    doc.m_DataSeries.AddData(30, 20);
    QWidget* window = view.GetSafeHwnd();
    auto shown = [window] {
        QCoreApplication::processEvents();
        return window->screen()->grabWindow(window->winId()).toImage();
    };
    shown();
    Click({121, 81}); // selects the point at (30, 20)
    QTest::mouseMove(Input(), {150, 100});
    for (const QPoint at : {QPoint(300, 200), QPoint(140, 90), QPoint(2, 230), QPoint(160, 120)}) {
        Click(at, Qt::ShiftModifier);
        shown();
    }
    view.ScrollToPosition(CPoint(37, 22));
    shown();
    Click({50, 50}, Qt::ShiftModifier);
    QTest::mouseMove(Input(), {60, 70});
    Click({61, 71}, Qt::ShiftModifier);
    const QImage picked = shown();
    ASSERT_EQ(PointCount(0), 7);
    Input()->repaint();
    EXPECT_EQ(picked, shown());
}

// A scroll moves the pixels shown and draws only the strip it uncovers, unless a hatched figure,
// whose cells stay with the window, is on show; either way the window must show what a whole
// repaint shows, after steps of every size and both ways.
TEST_F(ViewInteraction, Scroll_WhatAScrollRepaintsMatchesAWholeRepaint) {
    view.OnZoomX4();
    for (const QPoint at : {QPoint(20, 30), QPoint(300, 40), QPoint(150, 220), QPoint(40, 200)})
        Click(at, Qt::ShiftModifier);
    Click({60, 60}, Qt::ShiftModifier | Qt::ControlModifier); // a finished figure
    Click({200, 100}, Qt::ShiftModifier);
    QWidget* window = view.GetSafeHwnd();
    auto shown = [window] {
        QCoreApplication::processEvents();
        return window->screen()->grabWindow(window->winId()).toImage();
    };
    auto* area = qobject_cast<QAbstractScrollArea*>(window);
    for (const BOOL measureArea : {FALSE, TRUE}) {
        doc.m_bMeasureArea = measureArea;
        view.ScrollToPosition(CPoint(0, 0));
        Input()->repaint();
        shown();
        for (QScrollBar* bar : {area->verticalScrollBar(), area->horizontalScrollBar()}) {
            for (const auto action : {QAbstractSlider::SliderSingleStepAdd, QAbstractSlider::SliderPageStepAdd,
                                      QAbstractSlider::SliderSingleStepAdd, QAbstractSlider::SliderSingleStepSub}) {
                bar->triggerAction(action);
                shown();
            }
        }
        view.ScrollToPosition(CPoint(13, 7)); // both ways at once, by an odd amount
        const QImage scrolled = shown();
        Input()->repaint();
        EXPECT_EQ(scrolled, shown()) << (measureArea ? "with the hatched figure" : "without hatching");
    }
}

TEST_F(ViewInteraction, Click_BeyondThePictureStillPlacesAPoint) {
    view.GetSafeHwnd()->resize(600, 500);
    QCoreApplication::processEvents();
    Click({550, 450}, Qt::ShiftModifier);
    ASSERT_EQ(PointCount(0), 1);
    EXPECT_EQ(Point(0, 0)->m_nPixelX, 550);
    EXPECT_EQ(Point(0, 0)->m_nPixelY, 450);
}

TEST_F(ViewInteraction, Click_PlainSelectsAndOtherCombinationsOnlyClear) {
    doc.m_DataSeries.AddData(50, 50);
    Click({55, 55});
    EXPECT_TRUE(view.m_bPointSelected);
    EXPECT_EQ(doc.GetSelectedData(), Point(0, 0));

    Click({55, 55}, Qt::ControlModifier);
    EXPECT_FALSE(view.m_bPointSelected);
    EXPECT_EQ(doc.GetSelectedData(), nullptr);
    EXPECT_EQ(PointCount(0), 1) << "a Ctrl-click adds nothing";

    Click({55, 55});
    Click({200, 200}); // a miss clears
    EXPECT_FALSE(view.m_bPointSelected);
    EXPECT_EQ(doc.GetSelectedData(), nullptr);
}

TEST_F(ViewInteraction, AxisMode_OriginPlacedOnlyByShiftClick) {
    view.OnAxisOrigin();
    Click({40, 40}); // a plain click only selects; the mode stays pending
    EXPECT_EQ(view.m_nAxisMode, 0);
    Click({40, 40}, Qt::ShiftModifier | Qt::ControlModifier); // adds nothing in an axis mode
    EXPECT_EQ(view.m_nAxisMode, 0);
    EXPECT_EQ(PointCount(0), 0);
    EXPECT_EQ(doc.m_DataSeries.m_aSeries.GetSize(), 1);

    Click({40, 30}, Qt::ShiftModifier);
    EXPECT_EQ(view.m_nAxisMode, -1);
    EXPECT_EQ(doc.m_DataAxis.m_Origin.m_nPixelX, 40);
    EXPECT_EQ(doc.m_DataAxis.m_Origin.m_nPixelY, 30);
    EXPECT_EQ(PointCount(0), 0);
}

TEST_F(ViewInteraction, AxisMode_ValueDialogConfirmedOrCancelledKeepsThePlacedPixel) {
    ScriptedModalHost host;
    doc.m_DataAxis.m_XAxis.m_dValueX = 7.5;
    host.AnswerDialog([](DialogDriver& dialog) {
        EXPECT_EQ(dialog.Text(IDC_AXIS_VALUE), "7.5");
        dialog.SetText(IDC_AXIS_VALUE, "1000");
        dialog.SetCheck(IDC_AXIS_LOG, true);
        dialog.PressOK();
    });
    view.OnAxisXaxis();
    view.m_nShiftState = 0;
    Click({200, 100}, Qt::ShiftModifier);
    EXPECT_EQ(doc.m_DataAxis.m_XAxis.m_nPixelX, 200);
    EXPECT_EQ(doc.m_DataAxis.m_XAxis.m_dValueX, 1000.0);
    EXPECT_TRUE(doc.m_DataAxis.m_bLogX);
    EXPECT_FALSE(doc.m_DataAxis.m_bLogY);
    EXPECT_EQ(view.m_nAxisMode, -1);
    EXPECT_EQ(view.m_nShiftState, -1);

    host.AnswerDialog([](DialogDriver& dialog) {
        dialog.SetText(IDC_AXIS_VALUE, "55");
        dialog.SetCheck(IDC_AXIS_LOG, true);
        dialog.PressCancel();
    });
    view.OnAxisYaxis();
    Click({10, 150}, Qt::ShiftModifier);
    EXPECT_EQ(doc.m_DataAxis.m_YAxis.m_nPixelX, 10);
    EXPECT_EQ(doc.m_DataAxis.m_YAxis.m_nPixelY, 150);
    EXPECT_EQ(doc.m_DataAxis.m_YAxis.m_dValueY, 1.0) << "Cancel keeps the value";
    EXPECT_FALSE(doc.m_DataAxis.m_bLogY);
    EXPECT_EQ(view.m_nAxisMode, -1);
}

TEST_F(ViewInteraction, Keys_ArrowsMoveTheSelectionAndTheMagnifierFollows) {
    CZoomView zoom;
    zoom.Create(nullptr, AFX_IDW_PANE_FIRST);
    doc.AddView(&zoom);
    zoom.OnInitialUpdate();
    auto lastZoom = [&zoom] { return std::tuple(zoom.m_nLastX, zoom.m_nLastY, zoom.m_bPoint != FALSE); };

    doc.m_DataSeries.AddData(100, 100);
    Click({104, 103});
    ASSERT_TRUE(view.m_bPointSelected);
    EXPECT_EQ(lastZoom(), std::tuple(104, 103, true)) << "the clicked position, not the point's";

    Key(Qt::Key_Left, 3);
    EXPECT_EQ(Point(0, 0)->m_nPixelX, 97);
    EXPECT_EQ(lastZoom(), std::tuple(97, 100, true));
    Key(Qt::Key_Down);
    Key(Qt::Key_Up, 5);
    Key(Qt::Key_Right);
    EXPECT_EQ(Point(0, 0)->m_nPixelX, 98);
    EXPECT_EQ(Point(0, 0)->m_nPixelY, 96);
    EXPECT_EQ(lastZoom(), std::tuple(98, 96, true));

    // While a point is selected the magnifier keeps showing it; once cleared it follows the mouse.
    QTest::mouseMove(Input(), QPoint(10, 10));
    EXPECT_EQ(lastZoom(), std::tuple(98, 96, true));
    Click({300, 200});
    QTest::mouseMove(Input(), QPoint(12, 34));
    EXPECT_EQ(lastZoom(), std::tuple(12, 34, false));
    doc.RemoveView(&zoom);
    delete zoom.GetSafeHwnd();
}

TEST_F(ViewInteraction, Keys_SelectedAxisPointMovesLikeADataPoint) {
    Click({100, 2}); // the X-axis point at (100, 0)
    ASSERT_EQ(doc.GetSelectedData(), &doc.m_DataAxis.m_XAxis);
    Key(Qt::Key_Down, 10);
    EXPECT_EQ(doc.m_DataAxis.m_XAxis.m_nPixelY, 10);
    EXPECT_EQ(doc.m_DataAxis.m_XAxis.m_dValueX, 1.0);
}

TEST_F(ViewInteraction, Keys_NudgingStopsAtTheIntegerLimits) {
    doc.m_DataSeries.AddData(50, 50);
    Click({50, 50});
    CData* point = doc.m_DataSeries.GetSelectedData();
    ASSERT_NE(point, nullptr);
    point->m_nPixelX = INT_MAX - 1;
    point->m_nPixelY = INT_MIN + 1;
    Key(Qt::Key_Right, 5);
    Key(Qt::Key_Up, 5);
    EXPECT_EQ(point->m_nPixelX, INT_MAX);
    EXPECT_EQ(point->m_nPixelY, INT_MIN);
    view.OnZoomX4();
    view.RenderBackBuffer(); // drawing a point at the limits must not overflow either
}

TEST_F(ViewInteraction, Keys_OpeningAnotherPictureDropsTheSelection) {
    doc.m_DataSeries.AddData(50, 50);
    Click({50, 50});
    ASSERT_TRUE(view.m_bPointSelected);
    TestFiles files;
    const QString path = files.Save(MakeTestImage(64, 64), "next.bmp");
    ASSERT_TRUE(doc.OnOpenDocument(path.toUtf8().constData()));
    EXPECT_FALSE(view.m_bPointSelected);
    Key(Qt::Key_Left);
    EXPECT_EQ(doc.GetSelectedData(), nullptr);
}

TEST_F(ViewInteraction, Cursor_ShiftChangesItAtOnceByMode) {
    auto cursorOf = [](UINT id) { return LoadCursor(AfxFindResourceHandle(id, RT_GROUP_CURSOR), id); };
    ASSERT_NE(cursorOf(IDC_CURSOR_PICK), nullptr);
    EXPECT_FALSE(Input()->testAttribute(Qt::WA_SetCursor));

    Key(Qt::Key_Shift);
    EXPECT_EQ(view.m_nShiftState, 0);
    EXPECT_EQ(Input()->cursor().bitmap().toImage(), cursorOf(IDC_CURSOR_PICK)->bitmap().toImage());
    EXPECT_EQ(Input()->cursor().hotSpot(), QPoint(15, 16));

    view.OnAxisYaxis();
    Key(Qt::Key_Shift); // held: the key repeats
    EXPECT_EQ(Input()->cursor().bitmap().toImage(), cursorOf(IDC_CURSOR_YAXIS)->bitmap().toImage());
    EXPECT_EQ(Input()->cursor().hotSpot(), QPoint(8, 8));

    Key(Qt::Key_Shift, 1, QEvent::KeyRelease);
    EXPECT_EQ(view.m_nShiftState, -1);
    EXPECT_FALSE(Input()->testAttribute(Qt::WA_SetCursor)) << "back to the arrow";
}

TEST_F(ViewInteraction, Cursor_PicturesFollowTheirDescriptions) {
    struct Case {
        UINT id;
        QPoint hotSpot;
        QRect letter; // where the letter's black pixels lie; empty for the pick cursor
    };
    const Case cases[] = {
        {IDC_CURSOR_PICK, {15, 16}, {}},
        {IDC_CURSOR_ORIGIN, {8, 8}, QRect(QPoint(15, 15), QPoint(23, 24))},
        {IDC_CURSOR_XAXIS, {8, 8}, QRect(QPoint(15, 15), QPoint(24, 24))},
        {IDC_CURSOR_YAXIS, {8, 8}, QRect(QPoint(15, 14), QPoint(23, 26))},
    };
    for (const Case& c : cases) {
        const QCursor* cursor = LoadCursor(AfxFindResourceHandle(c.id, RT_GROUP_CURSOR), c.id);
        ASSERT_NE(cursor, nullptr);
        EXPECT_EQ(cursor->hotSpot(), c.hotSpot);
        // In a cursor's bitmaps colour1 (black) marks black pixels and opaque mask pixels.
        const QImage bits = cursor->bitmap().toImage();
        const QImage mask = cursor->mask().toImage();
        auto black = [&](int x, int y) {
            return qGray(bits.pixel(x, y)) < 128 && qGray(mask.pixel(x, y)) < 128;
        };
        const QPoint centre = c.hotSpot;
        EXPECT_TRUE(black(centre.x(), centre.y())) << c.id << ": the hot spot is on the crosshair";
        EXPECT_FALSE(black(0, 31));
        if (!c.letter.isEmpty()) {
            int letterPixels = 0;
            for (int y = 0; y < 32; ++y)
                for (int x = 0; x < 32; ++x) {
                    if (black(x, y) && y > 16 + 1) {
                        EXPECT_TRUE(c.letter.contains(x, y)) << c.id << " at " << x << "," << y;
                    }
                }
            for (int y = c.letter.top(); y <= c.letter.bottom(); ++y)
                for (int x = c.letter.left(); x <= c.letter.right(); ++x)
                    letterPixels += black(x, y);
            EXPECT_GT(letterPixels, 12) << c.id;
        }
    }
}

TEST_F(ViewInteraction, Commands_DisabledWithoutPictureAndZoomChecked) {
    for (UINT id : {ID_AXIS_ORIGIN, ID_AXIS_XAXIS, ID_AXIS_YAXIS, ID_ZOOM_X1, ID_ZOOM_X2, ID_ZOOM_X4})
        EXPECT_TRUE(view.QueryCommandState(id).m_bEnabled) << id;
    EXPECT_FALSE(view.QueryCommandState(ID_AXIS_ORIGIN).m_bChecked);
    EXPECT_TRUE(view.QueryCommandState(ID_ZOOM_X1).m_bChecked);

    EXPECT_TRUE(view.ExecuteCommand(ID_ZOOM_X2));
    EXPECT_EQ(view.m_nZoom, 2);
    EXPECT_EQ(view.GetTotalSize(), CSize(800, 600));
    EXPECT_FALSE(view.QueryCommandState(ID_ZOOM_X1).m_bChecked);
    EXPECT_TRUE(view.QueryCommandState(ID_ZOOM_X2).m_bChecked);

    CTallyscopeDoc empty;
    CTallyscopeView bare;
    empty.AddView(&bare);
    bare.m_nZoom = 4;
    for (UINT id : {ID_AXIS_ORIGIN, ID_AXIS_XAXIS, ID_AXIS_YAXIS, ID_ZOOM_X1, ID_ZOOM_X2, ID_ZOOM_X4})
        EXPECT_FALSE(bare.QueryCommandState(id).m_bEnabled) << id;
    EXPECT_TRUE(bare.QueryCommandState(ID_ZOOM_X4).m_bChecked) << "checked even while disabled";
    EXPECT_FALSE(bare.ExecuteCommand(ID_AXIS_ORIGIN));
    EXPECT_EQ(bare.m_nAxisMode, -1);
}

namespace {
// What the presses left in the document: every point by series, the current series, the selection.
std::vector<std::vector<std::pair<int, int>>> SeriesPoints(const CTallyscopeDoc& doc) {
    std::vector<std::vector<std::pair<int, int>>> all;
    for (int s = 0; s < doc.m_DataSeries.m_aSeries.GetSize(); ++s) {
        all.emplace_back();
        const CDataArray& series = *doc.m_DataSeries.m_aSeries[s];
        for (int i = 0; i < series.m_aData.GetSize(); ++i)
            all.back().emplace_back(series.m_aData[i]->m_nPixelX, series.m_aData[i]->m_nPixelY);
    }
    return all;
}

void SendMouse(QWidget* target, QEvent::Type type, QPoint at, Qt::MouseButtons buttons,
               Qt::KeyboardModifiers modifiers) {
    QMouseEvent event(type, QPointF(at), target->mapToGlobal(QPointF(at)), Qt::LeftButton, buttons,
                      modifiers);
    QCoreApplication::sendEvent(target, &event);
}
} // namespace

// The system reports the second of two quick presses as a double-click; in the picture view it
// must do what a single press with the same keys does.
TEST_F(ViewInteraction, QuickPair_SecondPressActsAsASinglePressWithTheSameKeys) {
    struct Case {
        Qt::KeyboardModifiers modifiers;
        const char* name;
        int pointsAfter; // the one point there before included
    };
    const Case cases[] = {
        {Qt::NoModifier, "plain: the second selects", 1},
        {Qt::ShiftModifier, "Shift: both place", 3},
        {Qt::ShiftModifier | Qt::ControlModifier, "Shift+Ctrl: both end a figure", 3},
        {Qt::ControlModifier, "Ctrl: neither places", 1},
    };
    const QPoint first(200, 100);
    const QPoint second(53, 52); // a few pixels from the point already there
    const auto reset = [this] {
        doc.ClearSelection();
        doc.m_DataSeries.DeleteAll();
        doc.m_DataSeries.AddData(50, 50);
    };
    for (const Case& c : cases) {
        reset();
        Click(first, c.modifiers);
        Click(second, c.modifiers);
        const auto singlePoints = SeriesPoints(doc);
        const CData* singleSelected = doc.GetSelectedData();
        const BOOL singleFlag = view.m_bPointSelected;

        reset();
        // Press, release, then the second press as the system reports it: a double-click.
        SendMouse(Input(), QEvent::MouseButtonPress, first, Qt::LeftButton, c.modifiers);
        SendMouse(Input(), QEvent::MouseButtonRelease, first, Qt::NoButton, c.modifiers);
        SendMouse(Input(), QEvent::MouseButtonDblClick, second, Qt::LeftButton, c.modifiers);
        SendMouse(Input(), QEvent::MouseButtonRelease, second, Qt::NoButton, c.modifiers);

        const auto quickPoints = SeriesPoints(doc);
        EXPECT_EQ(quickPoints, singlePoints) << c.name;
        int total = 0;
        for (const auto& series : quickPoints)
            total += static_cast<int>(series.size());
        EXPECT_EQ(total, c.pointsAfter) << c.name;
        EXPECT_EQ(view.m_bPointSelected, singleFlag) << c.name;
        EXPECT_EQ(doc.GetSelectedData() != nullptr, singleSelected != nullptr) << c.name;
        if (c.modifiers == Qt::NoModifier) {
            EXPECT_EQ(doc.GetSelectedData(), Point(0, 0)) << c.name;
        }
    }
}

namespace {
// A picture whose every pixel's colour tells its position, so a screenshot tells which picture
// pixel each device pixel shows.
QImage PositionCodedImage(int width, int height) {
    QImage image(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            image.setPixel(x, y, qRgb(x & 255, y & 255, ((x >> 8) << 4) | (y >> 8)));
    return image;
}

QPoint DecodedPosition(QRgb colour) {
    return QPoint(qRed(colour) | ((qBlue(colour) >> 4) << 8), qGreen(colour) | ((qBlue(colour) & 15) << 8));
}
} // namespace

// On a scaled screen the mouse reports fractional positions: every device pixel of a 3 x 3 block
// of picture pixels, and every position inside such a device pixel, must pick (Shift-click) and
// show in the magnifier (move) the picture pixel that device pixel shows. The suite runs this at
// the screen scales 1, 1.5 and 2.
TEST_F(ViewInteraction, DevicePixels_EveryDevicePixelOfABlockPicksThePixelShownThere) {
    AttachPicture(doc, PositionCodedImage(400, 300));
    view.OnInitialUpdate();
    CZoomView zoom;
    zoom.Create(nullptr, AFX_IDW_PANE_FIRST);
    doc.AddView(&zoom);
    zoom.OnInitialUpdate();

    struct Case {
        QPoint viewInWindow; // an odd offset puts the view half-way into a device pixel at 1.5
        int zoom;
        CPoint scroll;
        QPoint block; // the block's top-left picture pixel
    };
    const Case cases[] = {
        {{0, 0}, 1, {0, 0}, {10, 20}},   {{0, 0}, 2, {0, 0}, {7, 5}},  {{0, 0}, 4, {0, 0}, {3, 4}},
        {{0, 0}, 1, {33, 17}, {40, 30}}, {{0, 0}, 2, {5, 3}, {12, 9}}, {{0, 0}, 4, {7, 1}, {6, 6}},
        {{3, 7}, 1, {0, 0}, {10, 20}},   {{3, 7}, 2, {5, 3}, {12, 9}}, {{1, 1}, 4, {7, 1}, {6, 6}},
    };
    QWidget container;
    container.resize(340, 260);
    int timestamp = 0;
    for (const Case& c : cases) {
        const bool contained = c.viewInWindow != QPoint(0, 0);
        view.GetSafeHwnd()->setParent(contained ? &container : nullptr);
        view.GetSafeHwnd()->move(c.viewInWindow);
        view.GetSafeHwnd()->show();
        QWidget* window = Input()->window();
        window->show();
        window->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(window));
        const double ratio = window->devicePixelRatio();

        doc.m_DataSeries.DeleteAll(); // the points placed so far would hide part of the picture
        view.m_nZoom = c.zoom;
        view.UpdateScrollSizes();
        view.ScrollToPosition(c.scroll);
        // The whole window as the screen shows it, in device pixels.
        const QImage shown = window->grab().toImage();
        const QRect block(c.block, QSize(3, 3));
        auto send = [&](QEvent::Type type, QPointF at, Qt::MouseButtons buttons, Qt::MouseButton button) {
            timestamp += 1000; // never two presses quick enough to be a double-click
            qt_handleMouseEvent(window->windowHandle(), at, window->mapToGlobal(at), buttons, button, type,
                                type == QEvent::MouseMove ? Qt::NoModifier : Qt::ShiftModifier, timestamp);
        };
        int devicePixels = 0;
        for (int dy = 0; dy < shown.height(); ++dy) {
            for (int dx = 0; dx < shown.width(); ++dx) {
                const QPoint pixel = DecodedPosition(shown.pixel(dx, dy));
                if (!block.contains(pixel))
                    continue;
                ++devicePixels;
                for (double inside : {0.0, 0.5, 0.99}) {
                    const QPointF at((dx + inside) / ratio, (dy + inside) / ratio);
                    send(QEvent::MouseMove, at, Qt::NoButton, Qt::NoButton);
                    ASSERT_EQ(QPoint(zoom.m_nLastX, zoom.m_nLastY), pixel)
                        << "move, zoom " << c.zoom << ", device pixel " << dx << "," << dy << " + " << inside;
                    send(QEvent::MouseButtonPress, at, Qt::LeftButton, Qt::LeftButton);
                    send(QEvent::MouseButtonRelease, at, Qt::NoButton, Qt::LeftButton);
                    const CData* placed = Point(0, PointCount(0) - 1);
                    ASSERT_EQ(QPoint(placed->m_nPixelX, placed->m_nPixelY), pixel)
                        << "press, zoom " << c.zoom << ", device pixel " << dx << "," << dy << " + "
                        << inside;
                }
            }
        }
        // Each picture pixel is a block of about (zoom x ratio) squared device pixels.
        EXPECT_NEAR(devicePixels, 9 * c.zoom * c.zoom * ratio * ratio, 6 * c.zoom * ratio + 1)
            << "zoom " << c.zoom;
    }
    view.GetSafeHwnd()->setParent(nullptr); // the fixture deletes it
    doc.RemoveView(&zoom);
    delete zoom.GetSafeHwnd();
}

// The Shift cursor on a scaled screen: the resource's picture enlarged pixel for pixel to the
// screen's scale (a 32-pixel cursor keeps its size), its hot spot on the same picture pixel.
TEST_F(ViewInteraction, DevicePixels_CursorsAreEnlargedToTheScreenWithTheirHotSpots) {
    const DeviceScale scale{Input()->devicePixelRatio()};
    Key(Qt::Key_Shift);
    const QCursor cursor = Input()->cursor();
    EXPECT_EQ(cursor.hotSpot(), QPoint(15, 16));
    const CursorResource* resource = AfxGetResourceModule().FindCursor(IDC_CURSOR_PICK);
    ASSERT_NE(resource, nullptr);
    const bool scaled = !cursor.pixmap().isNull();
    ASSERT_EQ(scaled, !scale.IsIdentity());
    const QImage image = scaled ? cursor.pixmap().toImage() : cursor.bitmap().toImage();
    const QImage mask = scaled ? QImage() : cursor.mask().toImage();
    const int size = static_cast<int>(scale.FirstDeviceOf(32));
    ASSERT_EQ(image.size(), QSize(size, size));
    for (int y = 0; y < size; ++y) {
        for (int x = 0; x < size; ++x) {
            const char expected = resource->picture[scale.LogicalOf(y)][scale.LogicalOf(x)];
            const bool opaque = scaled ? qAlpha(image.pixel(x, y)) > 0 : qGray(mask.pixel(x, y)) < 128;
            const bool black = qGray(image.pixel(x, y)) < 128;
            const char shown = !opaque ? ' ' : black ? '#' : '.';
            ASSERT_EQ(shown, expected) << x << "," << y;
        }
    }
}
