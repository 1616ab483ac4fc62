#include "model/CDataSeries.h"

#include <gtest/gtest.h>

namespace {
int PointCount(const CDataSeries& s, int series) { return s.m_aSeries[series]->m_aData.GetSize(); }
} // namespace

TEST(DataSeries_Invariants, NewListHoldsOneEmptyCurrentSeries) {
    CDataSeries s;
    EXPECT_EQ(s.m_aSeries.GetSize(), 1);
    EXPECT_EQ(s.m_nCurrent, 0);
    EXPECT_EQ(PointCount(s, 0), 0);
    EXPECT_EQ(s.GetSelectedData(), nullptr);
    EXPECT_FALSE(s.SelectData(0, 0));
}

TEST(DataSeries_Invariants, CurrentIsAlwaysTheLastSeries) {
    CDataSeries s;
    s.AddData(1, 2);
    s.NewSeries();
    s.NewSeries(); // the first new series stays empty
    EXPECT_EQ(s.m_aSeries.GetSize(), 3);
    EXPECT_EQ(s.m_nCurrent, 2);
    EXPECT_EQ(PointCount(s, 1), 0);
    s.AddData(5, 6);
    EXPECT_EQ(PointCount(s, 2), 1);
    EXPECT_EQ(PointCount(s, 0), 1);

    s.DeleteAll();
    EXPECT_EQ(s.m_aSeries.GetSize(), 1);
    EXPECT_EQ(s.m_nCurrent, 0);
    EXPECT_EQ(PointCount(s, 0), 0);
}

TEST(DataSeries_Points, AddKeepsOrderPositionAndClearFlags) {
    CDataArray a;
    a.AddData(-3, 7);
    a.AddData(2147483647, -2147483647 - 1);
    ASSERT_EQ(a.m_aData.GetSize(), 2);
    EXPECT_EQ(a.GetData(0)->m_nPixelX, -3);
    EXPECT_EQ(a.GetData(0)->m_nPixelY, 7);
    EXPECT_EQ(a.GetData(1)->m_nPixelX, 2147483647);
    EXPECT_EQ(a.GetData(0)->m_dValueX, 0.0);
    EXPECT_FALSE(a.GetData(1)->m_bSelected);
}

TEST(DataSeries_Points, GetDataIsBoundsChecked) {
    CDataArray a;
    EXPECT_EQ(a.GetData(0), nullptr);
    a.AddData(1, 1);
    EXPECT_EQ(a.GetData(-1), nullptr);
    EXPECT_NE(a.GetData(0), nullptr);
    EXPECT_EQ(a.GetData(1), nullptr);
}

TEST(DataSeries_HitTest, ToleranceIsStrictTenPixels) {
    struct Case {
        int dx, dy;
        bool hit;
    };
    const Case cases[] = {{6, 8, false}, {6, 7, true}, {10, 0, false}, {9, 0, true}, {0, -10, false}, {0, 0, true}};
    for (const Case& c : cases) {
        CDataSeries s;
        s.AddData(100, 100);
        EXPECT_EQ(s.SelectData(100 + c.dx, 100 + c.dy) != FALSE, c.hit) << c.dx << "," << c.dy;
        EXPECT_EQ(s.GetSelectedData() != nullptr, c.hit);
    }
}

TEST(DataSeries_HitTest, FirstInSeriesOrderWinsOverNearer) {
    CDataSeries s;
    s.AddData(0, 0);
    s.NewSeries();
    s.AddData(3, 0);
    ASSERT_TRUE(s.SelectData(4, 0));
    EXPECT_EQ(s.GetSelectedData(), s.m_aSeries[0]->GetData(0));
    EXPECT_FALSE(s.m_aSeries[1]->GetData(0)->m_bSelected);
}

TEST(DataSeries_HitTest, FirstInPointOrderWinsWithinASeries) {
    CDataSeries s;
    s.AddData(8, 0);
    s.AddData(1, 0);
    ASSERT_TRUE(s.SelectData(0, 0));
    EXPECT_TRUE(s.m_aSeries[0]->GetData(0)->m_bSelected);
    EXPECT_FALSE(s.m_aSeries[0]->GetData(1)->m_bSelected);
}

TEST(DataSeries_Selection, HitLeavesEarlierFlagsAndClearLowersAll) {
    CDataSeries s;
    s.AddData(0, 0);
    s.NewSeries();
    s.AddData(100, 0);
    ASSERT_TRUE(s.SelectData(100, 0));
    ASSERT_TRUE(s.SelectData(0, 0)); // the hit test only raises flags
    EXPECT_TRUE(s.m_aSeries[0]->GetData(0)->m_bSelected);
    EXPECT_TRUE(s.m_aSeries[1]->GetData(0)->m_bSelected);
    EXPECT_EQ(s.GetSelectedData(), s.m_aSeries[0]->GetData(0));
    s.ClearSelection();
    EXPECT_EQ(s.GetSelectedData(), nullptr);
    s.ClearSelection();
    EXPECT_EQ(s.GetSelectedData(), nullptr);
}

TEST(DataSeries_HitTest, PositionsAtTheIntegerLimitsDoNotOverflow) {
    CDataSeries s;
    s.AddData(2147483647, 2147483647);
    EXPECT_FALSE(s.SelectData(-2147483647 - 1, -2147483647 - 1));
    EXPECT_TRUE(s.SelectData(2147483647 - 3, 2147483647));
}
