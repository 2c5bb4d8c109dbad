#include "panel/bin_table.h"

#include <cmath>
#include <cstdint>
#include <limits>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "common/number_format.h"
#include "test_log_table.h"

namespace dravik {
namespace {

TEST(ParseBinEdges, AcceptsIncreasingNumbersAndNamesTheFirstBadValue) {
  struct Case {
    std::string text;
    bool ok;
    bool automatic;
    std::vector<double> edges;
    std::string message_names;  // a text the refusal must contain
  };
  const Case cases[] = {
      {"500, 1000, 1500", true, false, {500, 1000, 1500}, ""},
      {" -1.5,\t2e3 ", true, false, {-1.5, 2000}, ""},
      {"", true, true, {}, ""},
      {"  ", true, true, {}, ""},
      {"自動", true, true, {}, ""},
      {"500, abc, x", false, false, {}, "「abc」"},
      {"500, 1000, 1000, 900", false, false, {}, "「1000」"},
      {"500, 400", false, false, {}, "「400」"},
      {"1,,2", false, false, {}, "「」"},
      {"1, 2,", false, false, {}, "「」"},
      {"1e999, 2", false, false, {}, "「1e999」"},
      {"500", false, false, {}, "2 個以上"},
  };
  for (const Case& c : cases) {
    const BinEdgesInput input = ParseBinEdges(c.text);
    EXPECT_EQ(input.ok, c.ok) << c.text;
    EXPECT_EQ(input.automatic, c.automatic) << c.text;
    EXPECT_EQ(input.edges, c.ok ? c.edges : std::vector<double>{}) << c.text;
    EXPECT_NE(input.message.find(c.message_names), std::string::npos) << c.text;
  }
  std::string many = "0";
  for (int k = 1; k <= kMaxBins + 1; ++k) {
    many += "," + std::to_string(k);
  }
  EXPECT_FALSE(ParseBinEdges(many).ok);
}

TEST(BinOf, AValueOnAnEdgeBelongsToTheBinAboveItExceptTheLastEdge) {
  const std::vector<double> edges = {0, 10, 20};
  const std::pair<double, int> cases[] = {{-0.001, -1}, {0, 0},  {9.999, 0}, {10, 1},
                                          {19.99, 1},   {20, 1}, {20.01, -1}};
  for (const auto& [v, bin] : cases) {
    EXPECT_EQ(BinOf(edges, v), bin) << v;
  }
  EXPECT_EQ(BinOf({5, 5}, 5), 0);
  EXPECT_EQ(BinOf({5, 5}, 5.5), -1);
}

TEST(AutomaticEdges, SixteenEqualBinsOrOneForAConstant) {
  const std::vector<double> edges = AutomaticEdges(-8, 8);
  ASSERT_EQ(edges.size(), 17u);
  for (int k = 0; k <= 16; ++k) {
    EXPECT_EQ(edges[k], -8 + k);
  }
  EXPECT_EQ(AutomaticEdges(3, 3), (std::vector<double>{3, 3}));
}

// `samples` samples of an engine-speed x load grid with an air/fuel ratio that no single holds
// exactly, so that averages show any rounding on the way.
LogTable TunerLog(int samples) {
  std::vector<std::vector<float>> columns(4);
  uint32_t state = 12345;
  const auto next = [&state] {
    state = state * 1664525u + 1013904223u;
    return static_cast<float>(state >> 8) / 16777216.0f;
  };
  for (int s = 0; s < samples; ++s) {
    columns[0].push_back(static_cast<float>(s) * 50);
    columns[1].push_back(std::round(next() * 7000 + 500));      // rpm, on edges now and then
    columns[2].push_back(std::round(next() * 1000) / 10);       // load 0..100
    columns[3].push_back(10.0f + next() * 7.3f + 1.0f / 3.0f);  // AFR
  }
  return MakeLogTable({"Time", "RPM", "Load", "AFR"}, columns);
}

// The cells as computed sample by sample with BinOf, for comparison.
std::vector<std::string> DirectCells(const LogTable& log, const BinTableRequest& request,
                                     const std::vector<double>& xe, const std::vector<double>& ye) {
  const int nx = static_cast<int>(xe.size()) - 1;
  const int ny = static_cast<int>(ye.size()) - 1;
  std::vector<int64_t> count(nx * ny);
  std::vector<double> sum(nx * ny), lo(nx * ny, 1e300), hi(nx * ny, -1e300);
  const SampleSelection& sel = request.selection;
  for (int64_t s = sel.first; s <= sel.last; ++s) {
    if (sel.filter_item >= 0) {
      const double f = log.Values(sel.filter_item)[s];
      if (f < sel.filter_min || f > sel.filter_max) {
        continue;
      }
    }
    const int bx = BinOf(xe, log.Values(request.x_item)[s]);
    const int by = BinOf(ye, log.Values(request.y_item)[s]);
    if (bx < 0 || by < 0) {
      continue;
    }
    const double z = log.Values(request.value_item)[s];
    const int c = by * nx + bx;
    ++count[c];
    sum[c] += z;
    lo[c] = std::min(lo[c], z);
    hi[c] = std::max(hi[c], z);
  }
  std::vector<std::string> cells;
  for (int c = 0; c < nx * ny; ++c) {
    if (count[c] < std::max<int64_t>(request.min_count, 1)) {
      cells.push_back("");
    } else if (request.statistic == CellStatistic::kMean) {
      cells.push_back(FormatGeneral(sum[c] / static_cast<double>(count[c])));
    } else if (request.statistic == CellStatistic::kMin) {
      cells.push_back(FormatGeneral(lo[c]));
    } else if (request.statistic == CellStatistic::kMax) {
      cells.push_back(FormatGeneral(hi[c]));
    } else {
      cells.push_back(std::to_string(count[c]));
    }
  }
  return cells;
}

TEST(ComputeBinTable, CellsMatchADirectComputation) {
  const LogTable log = TunerLog(5000);
  struct Case {
    CellStatistic statistic;
    int64_t first, last;
    int filter_item;
    double filter_min, filter_max;
    int64_t min_count;
    bool automatic;
  };
  const double inf = std::numeric_limits<double>::infinity();
  const Case cases[] = {
      {CellStatistic::kMean, 0, 4999, -1, -inf, inf, 1, false},
      {CellStatistic::kMean, 0, 4999, -1, -inf, inf, 1, true},
      {CellStatistic::kCount, 100, 2100, -1, -inf, inf, 1, true},
      {CellStatistic::kMin, 0, 4999, 3, 12.0, inf, 3, false},
      {CellStatistic::kMax, 17, 4321, 2, -inf, 50.0, 1, true},
      {CellStatistic::kMean, 0, 4999, 3, 12.0, 14.0, 12, false},
  };
  for (const Case& c : cases) {
    BinTableRequest request;
    request.x_item = 1;
    request.y_item = 2;
    request.value_item = 3;
    request.statistic = c.statistic;
    request.selection = WholeRange(c.first, c.last);
    request.selection.filter_item = c.filter_item;
    request.selection.filter_min = c.filter_min;
    request.selection.filter_max = c.filter_max;
    request.min_count = c.min_count;
    if (!c.automatic) {
      request.x_edges = {500, 1000, 2000, 3000, 4000, 5500, 7500};
      request.y_edges = {0, 10, 20, 40, 60, 80, 100};
    }
    if (c.statistic == CellStatistic::kMax) {
      // Edges too uneven for a grid of one step per cell: found by search instead.
      request.x_edges = {500, 500.001, 3000, 7500};
    }
    const BinTableResult result = ComputeBinTable(log, request, 2);
    ASSERT_EQ(result.problem, AnalysisProblem::kNone);
    const BinTable& table = result.table;
    if (c.automatic) {
      EXPECT_EQ(table.y_edges.size(), 17u);
    }
    const std::vector<std::string> direct = DirectCells(log, request, table.x_edges, table.y_edges);
    for (int y = 0; y < table.YBins(); ++y) {
      for (int x = 0; x < table.XBins(); ++x) {
        EXPECT_EQ(CellText(table, x, y), direct[y * table.XBins() + x]) << x << "," << y;
      }
    }
  }
}

TEST(ComputeBinTable, TheSameCellsWhateverTheThreads) {
  const LogTable log = TunerLog(400000);
  BinTableRequest request;
  request.x_item = 1;
  request.y_item = 2;
  request.value_item = 3;
  request.selection = WholeRange(3, 399990);
  const std::string one = BinTableText(ComputeBinTable(log, request, 1).table);
  EXPECT_EQ(BinTableText(ComputeBinTable(log, request, 2).table), one);
  EXPECT_EQ(BinTableText(ComputeBinTable(log, request, 7).table), one);
}

TEST(BinTableText, TabsCrLfBinLabelsAndBlankCellsFromTheLowestYBinUp) {
  // x 0, 5, 10, 15, 20, 25 and y 0, 1, 2, 0, 1, 2: the last x lies beyond the last edge.
  std::vector<std::vector<float>> columns(4);
  for (int s = 0; s < 12; ++s) {
    columns[0].push_back(static_cast<float>(s) * 100);
    columns[1].push_back(static_cast<float>(s % 6) * 5);
    columns[2].push_back(static_cast<float>(s % 3));
    columns[3].push_back(0.1f * static_cast<float>(s));
  }
  const LogTable log = MakeLogTable({"Time", "X", "Y", "Z"}, columns);
  BinTableRequest request;
  request.x_item = 1;
  request.y_item = 2;
  request.value_item = -1;
  request.statistic = CellStatistic::kMean;  // no third item: counts
  request.selection = WholeRange(0, 11);
  request.x_edges = {0, 10, 20};
  request.y_edges = {0, 1.5, 2};
  BinTableResult result = ComputeBinTable(log, request);
  EXPECT_EQ(BinTableText(result.table),
            "\t0–10\t10–20\r\n"
            "0–1.5\t4\t4\r\n"
            "1.5–2\t\t2\r\n");
  request.value_item = 3;
  request.min_count = 3;
  result = ComputeBinTable(log, request);
  // Samples 0, 1, 6, 7 and 3, 4, 9, 10 below y 1.5; only 2 and 8 above it, fewer than 3.
  const std::span<const float> z = log.Values(3);
  EXPECT_EQ(BinTableText(result.table),
            "\t0–10\t10–20\r\n"
            "0–1.5\t" +
                FormatGeneral((0.0 + z[0] + z[1] + z[6] + z[7]) / 4) + "\t" +
                FormatGeneral((0.0 + z[3] + z[4] + z[9] + z[10]) / 4) +
                "\r\n"
                "1.5–2\t\t\r\n");
}

TEST(ComputeBinTable, ProblemsAndAConstantItem) {
  std::vector<std::vector<float>> columns(3);
  for (int s = 0; s < 12; ++s) {
    columns[0].push_back(static_cast<float>(s) * 100);
    columns[1].push_back(7.5f);
    columns[2].push_back(static_cast<float>(s));
  }
  const LogTable log = MakeLogTable({"Time", "C", "S"}, columns);
  BinTableRequest request;
  request.x_item = 1;
  request.y_item = 2;
  request.selection = WholeRange(4, 4);
  EXPECT_EQ(ComputeBinTable(log, request).problem, AnalysisProblem::kTooFewSamples);
  request.selection = SelectionWithin(20, 30, log.last_sample);
  EXPECT_EQ(ComputeBinTable(log, request).problem, AnalysisProblem::kTooFewSamples);
  request.selection = WholeRange(2, 5);
  request.selection.filter_item = 2;
  request.selection.filter_min = 6;
  EXPECT_EQ(ComputeBinTable(log, request).problem, AnalysisProblem::kNoMatchingSample);
  request.selection.filter_min = 3;
  const BinTableResult result = ComputeBinTable(log, request);
  ASSERT_EQ(result.problem, AnalysisProblem::kNone);
  EXPECT_EQ(BinTableText(result.table).rfind("\t7.5–7.5\r\n3–3.125\t1\r\n", 0), 0u);
  EXPECT_EQ(result.table.YBins(), 16);
  EXPECT_EQ(result.table.counted, 3);
}

}  // namespace
}  // namespace dravik
