#include "model/CDataSeries.h"

#include <gtest/gtest.h>

TEST(DataSeries_Placeholder, Builds) { CDataSeries s; EXPECT_EQ(s.m_nCurrent, 0); }
