#include "model/CDataAxis.h"
#include "model/Geometry.h"

#include <gtest/gtest.h>

#include <cmath>

TEST(DataAxis_Defaults, ResetGivesUnitCalibrationAndKeepsFlags) {
    CDataAxis axis;
    EXPECT_EQ(axis.m_Origin.m_nPixelX, 0);
    EXPECT_EQ(axis.m_Origin.m_nPixelY, 0);
    EXPECT_EQ(axis.m_XAxis.m_nPixelX, 100);
    EXPECT_EQ(axis.m_XAxis.m_nPixelY, 0);
    EXPECT_EQ(axis.m_YAxis.m_nPixelX, 0);
    EXPECT_EQ(axis.m_YAxis.m_nPixelY, 100);
    EXPECT_EQ(axis.m_XAxis.m_dValueX, 1.0);
    EXPECT_EQ(axis.m_YAxis.m_dValueY, 1.0);
    EXPECT_EQ(axis.GetXSpan(), 1.0);
    EXPECT_EQ(axis.GetYSpan(), 1.0);
    EXPECT_FALSE(axis.m_bLogX);

    axis.m_XAxis.m_nPixelX = 7;
    axis.m_bLogY = TRUE;
    axis.m_YAxis.m_bSelected = TRUE;
    axis.ResetAxis();
    EXPECT_EQ(axis.m_XAxis.m_nPixelX, 100);
    EXPECT_FALSE(axis.m_bLogY);
    EXPECT_TRUE(axis.m_YAxis.m_bSelected) << "reset leaves the selection flags alone";
}

TEST(DataAxis_Span, LinearAndLogarithmic) {
    CDataAxis axis;
    axis.m_Origin.m_dValueX = 1.0;
    axis.m_XAxis.m_dValueX = 100.0;
    EXPECT_DOUBLE_EQ(axis.GetXSpan(), 99.0);
    axis.m_bLogX = TRUE;
    EXPECT_DOUBLE_EQ(axis.GetXSpan(), 2.0);

    axis.m_bLogY = TRUE;
    axis.m_Origin.m_dValueY = 0.0;
    axis.m_YAxis.m_dValueY = 10.0;
    EXPECT_FALSE(std::isfinite(axis.GetYSpan()));
    axis.m_Origin.m_dValueY = -1.0;
    EXPECT_TRUE(std::isnan(axis.GetYSpan()));
}

TEST(DataAxis_HitTest, ToleranceIsStrictFivePixels) {
    CDataAxis axis;
    EXPECT_FALSE(axis.SelectAxis(3, 4));
    EXPECT_EQ(axis.GetSelectedAxis(), nullptr);
    EXPECT_TRUE(axis.SelectAxis(3, 3));
    EXPECT_EQ(axis.GetSelectedAxis(), &axis.m_Origin);
}

TEST(DataAxis_HitTest, OriginBeatsXAxisBeatsYAxisWhateverIsNearer) {
    CDataAxis axis;
    axis.m_XAxis.m_nPixelX = 4;
    ASSERT_TRUE(axis.SelectAxis(3, 0));
    EXPECT_EQ(axis.GetSelectedAxis(), &axis.m_Origin);
    EXPECT_FALSE(axis.m_XAxis.m_bSelected);

    axis.ClearSelection();
    axis.m_Origin.m_nPixelX = 50;
    axis.m_XAxis.m_nPixelX = 200;
    axis.m_YAxis.m_nPixelX = 203;
    axis.m_XAxis.m_nPixelY = axis.m_YAxis.m_nPixelY = 0;
    ASSERT_TRUE(axis.SelectAxis(202, 0));
    EXPECT_EQ(axis.GetSelectedAxis(), &axis.m_XAxis);
    EXPECT_FALSE(axis.m_YAxis.m_bSelected);
}

TEST(DataAxis_HitTest, MissLowersOriginAndXButYFollowsItsOwnTest) {
    CDataAxis axis;
    axis.m_Origin.m_bSelected = TRUE;
    axis.m_XAxis.m_bSelected = TRUE;
    axis.m_YAxis.m_bSelected = TRUE;
    EXPECT_FALSE(axis.SelectAxis(500, 500));
    EXPECT_FALSE(axis.m_Origin.m_bSelected);
    EXPECT_FALSE(axis.m_XAxis.m_bSelected);
    EXPECT_FALSE(axis.m_YAxis.m_bSelected);
}

TEST(DataAxis_Selection, ClearAndLookupOrder) {
    CDataAxis axis;
    axis.m_YAxis.m_bSelected = TRUE;
    axis.m_XAxis.m_bSelected = TRUE;
    EXPECT_EQ(axis.GetSelectedAxis(), &axis.m_XAxis);
    axis.ClearSelection();
    EXPECT_EQ(axis.GetSelectedAxis(), nullptr);
}

TEST(Geometry_Helpers, DistancesAndTurnDirection) {
    EXPECT_DOUBLE_EQ(PixelDistance(0, 0, 3, 4), 5.0);
    EXPECT_DOUBLE_EQ(PixelDistance(-2147483647 - 1, 0, 2147483647, 0), 4294967295.0);
    EXPECT_DOUBLE_EQ(PointDistance(1.0, 1.0, 4.0, 5.0), 5.0);
    EXPECT_GT(CrossProduct(0, 0, 1, 0, 1, 1), 0.0) << "counter-clockwise with y up";
    EXPECT_LT(CrossProduct(0, 0, 1, 0, 1, -1), 0.0);
    EXPECT_DOUBLE_EQ(CrossProduct(0, 0, 1, 1, 2, 2), 0.0);
}
