// A trace's points in the document: where they go, when the trace still counts as intact, and that
// taking it back removes exactly its points.
#include "trace/TracedSeries.h"

#include "doc/CTallyscopeDoc.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace {

using Series = std::vector<std::vector<QPoint>>;

Series Describe(const CTallyscopeDoc& doc) {
    Series series;
    const CDataSeries& all = doc.m_DataSeries;
    for (int s = 0; s < all.m_aSeries.GetSize(); ++s) {
        series.emplace_back();
        for (int p = 0; p < all.m_aSeries[s]->m_aData.GetSize(); ++p) {
            const CData& point = *all.m_aSeries[s]->m_aData[p];
            series.back().emplace_back(point.m_nPixelX, point.m_nPixelY);
        }
    }
    return series;
}

const std::vector<QPoint> kTrace = {{10, 10}, {15, 11}, {20, 13}};

} // namespace

TEST(TracedSeries, AddTo_ANewSeriesOnlyWhenTheCurrentOneHasPoints) {
    CTallyscopeDoc doc;
    TracedSeries::AddTo(doc, kTrace);
    EXPECT_EQ(Describe(doc), (Series{kTrace}));
    EXPECT_TRUE(doc.IsModified());
    TracedSeries::AddTo(doc, {{1, 2}});
    EXPECT_EQ(Describe(doc), (Series{kTrace, {{1, 2}}}));
    EXPECT_EQ(doc.m_DataSeries.m_nCurrent, 1);
    doc.m_DataSeries.NewSeries(); // an empty series the user started is filled, not skipped
    TracedSeries::AddTo(doc, {{3, 4}});
    EXPECT_EQ(Describe(doc), (Series{kTrace, {{1, 2}}, {{3, 4}}}));
    const TracedSeries nothing = TracedSeries::AddTo(doc, {});
    EXPECT_EQ(doc.m_DataSeries.m_aSeries.GetSize(), 3);
    EXPECT_FALSE(nothing.IsIntactIn(doc));
}

// Each case changes the document after the trace; the undo then removes the trace's points only
// while every one of them is where the trace put it.
TEST(TracedSeries, RemoveFrom_ExactlyTheTracesPointsWhileTheyAreIntact) {
    static constexpr QPoint picked(5, 5);
    const struct {
        const char* what;
        std::function<void(CTallyscopeDoc&)> change;
        bool intact;
        Series afterUndo;
    } cases[] = {
        {"nothing", [](CTallyscopeDoc&) {}, true, {{picked}}},
        {"a point picked after it",
         [](CTallyscopeDoc& doc) { doc.m_DataSeries.AddData(30, 30); },
         true,
         {{picked}, {{30, 30}}}},
        {"a new series after it",
         [](CTallyscopeDoc& doc) {
             doc.m_DataSeries.NewSeries();
             doc.m_DataSeries.AddData(30, 30);
         },
         true,
         {{picked}, {}, {{30, 30}}}},
        {"its last point deleted", [](CTallyscopeDoc& doc) { doc.OnDataDeleteLast(); }, false, {}},
        {"one of its points moved",
         [](CTallyscopeDoc& doc) { doc.m_DataSeries.m_aSeries[1]->m_aData[1]->m_nPixelY += 1; },
         false,
         {}},
        {"every point deleted and others picked",
         [](CTallyscopeDoc& doc) {
             doc.m_DataSeries.DeleteAll();
             doc.m_DataSeries.AddData(picked.x(), picked.y());
             doc.m_DataSeries.NewSeries();
             doc.m_DataSeries.AddData(1, 1);
             doc.m_DataSeries.AddData(2, 2);
             doc.m_DataSeries.AddData(3, 3);
         },
         false,
         {}},
    };
    for (const auto& c : cases) {
        CTallyscopeDoc doc;
        doc.m_DataSeries.AddData(picked.x(), picked.y());
        const TracedSeries trace = TracedSeries::AddTo(doc, kTrace);
        ASSERT_EQ(Describe(doc), (Series{{picked}, kTrace})) << c.what;
        c.change(doc);
        const Series before = Describe(doc);
        EXPECT_EQ(trace.IsIntactIn(doc), c.intact) << c.what;
        trace.RemoveFrom(doc);
        EXPECT_EQ(Describe(doc), c.intact ? c.afterUndo : before) << c.what;
        EXPECT_EQ(doc.m_DataSeries.m_nCurrent, doc.m_DataSeries.m_aSeries.GetSize() - 1) << c.what;
        EXPECT_FALSE(trace.IsIntactIn(doc)) << c.what << ": taken back once";
    }
}

// A trace into the empty series the user had started leaves that series when taken back.
TEST(TracedSeries, RemoveFrom_KeepsASeriesTheTraceDidNotStart) {
    CTallyscopeDoc doc;
    doc.m_DataSeries.AddData(1, 1);
    doc.m_DataSeries.NewSeries();
    const TracedSeries trace = TracedSeries::AddTo(doc, kTrace);
    trace.RemoveFrom(doc);
    EXPECT_EQ(Describe(doc), (Series{{{1, 1}}, {}}));
    EXPECT_EQ(doc.m_DataSeries.m_nCurrent, 1);
}
