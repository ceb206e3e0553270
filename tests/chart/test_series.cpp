#include <gtest/gtest.h>

#include <vector>

#include "ChartPanel.h"
#include "ChartSeries.h"
#include "ChartValueList.h"

namespace {
std::vector<double> Values(const TChartValueList &list)
{
    std::vector<double> out;
    for (int i = 0; i < list.Count(); ++i)
        out.push_back(list.Value(i));
    return out;
}

TEST(ChartValueList, MinimumAndMaximumFollowChanges)
{
    TChartValueList list;
    EXPECT_EQ(list.MinValue(), 0);
    EXPECT_EQ(list.MaxValue(), 0);
    for (double v : {3.0, 1.0, 4.0, 1.0, 5.0, -2.0})
        list.InsertAt(list.Count(), v);
    EXPECT_EQ(list.MinValue(), -2);
    EXPECT_EQ(list.MaxValue(), 5);
    list.InsertAt(0, 7.5);
    EXPECT_EQ(list.MaxValue(), 7.5);
    list.Clear();
    EXPECT_EQ(list.MinValue(), 0);
    EXPECT_EQ(list.MaxValue(), 0);
}

TEST(ChartValueList, SingleValueIsBothEnds)
{
    TChartValueList list;
    list.InsertAt(0, -3.25);
    EXPECT_EQ(list.MinValue(), -3.25);
    EXPECT_EQ(list.MaxValue(), -3.25);
}

TEST(ChartSeries, InsertPointKeepsXAscendingAndEqualXInArrivalOrder)
{
    TLineSeries s;
    EXPECT_EQ(s.InsertPoint(5, 50), 0);
    EXPECT_EQ(s.InsertPoint(1, 10), 0);
    EXPECT_EQ(s.InsertPoint(3, 30), 1);
    EXPECT_EQ(s.InsertPoint(3, 31, clBlue), 2);
    EXPECT_EQ(s.InsertPoint(3, 32), 3);
    EXPECT_EQ(s.InsertPoint(9, 90), 5);
    EXPECT_EQ(s.InsertPoint(0, 0), 0);
    EXPECT_EQ(Values(s.XValues()), (std::vector<double>{0, 1, 3, 3, 3, 5, 9}));
    EXPECT_EQ(Values(s.YValues()), (std::vector<double>{0, 10, 30, 31, 32, 50, 90}));
    EXPECT_EQ(s.ValueColor(3), clBlue);
    EXPECT_EQ(s.ValueColor(4), clRed); // clDefault stands for the series colour
    EXPECT_EQ(s.XValues().MinValue(), 0);
    EXPECT_EQ(s.YValues().MaxValue(), 90);
}

TEST(ChartSeries, AppendValueCountsFromZeroAgainAfterRemoveAllPoints)
{
    TLineSeries s;
    for (int i = 0; i < 256; ++i)
        EXPECT_EQ(s.AppendValue(i * 0.5), i);
    EXPECT_EQ(s.Count(), 256);
    EXPECT_EQ(s.XValues().MaxValue(), 255);
    s.RemoveAllPoints();
    EXPECT_EQ(s.Count(), 0);
    EXPECT_EQ(s.XValues().MaxValue(), 0);
    EXPECT_EQ(s.YValues().MaxValue(), 0);
    EXPECT_EQ(s.AppendValue(7), 0);
    EXPECT_EQ(s.AppendValue(8), 1);
    EXPECT_EQ(Values(s.XValues()), (std::vector<double>{0, 1}));
    EXPECT_EQ(s.YValues().MinValue(), 7);
}

TEST(ChartSeries, ChangesRequestRepaintsOnlyWhileActive)
{
    TChartPanel panel;
    int requests = 0;
    panel.SetOnRepaintRequest([&] { ++requests; });
    TLineSeries *s = panel.AddLineSeries();
    requests = 0;
    s->RemoveAllPoints();
    EXPECT_EQ(requests, 1);
    for (int i = 0; i < 256; ++i)
        s->AppendValue(i);
    EXPECT_EQ(requests, 257);
    s->SetActive(false);
    requests = 0;
    s->AppendValue(1);
    s->RemoveAllPoints();
    EXPECT_EQ(requests, 0);
    s->SetActive(true);
    EXPECT_EQ(requests, 1);
}
} // namespace
