#include "app/report_chart.h"

#include <algorithm>
#include <memory>
#include <optional>
#include <vector>

#include <QGuiApplication>

#include "chart/chart_render.h"

namespace dravik {
namespace {

// The strip's width is kept in 16 bits of twips: 108 x 300 + 100 = 32500.
constexpr int kMaxScaleItems = 108;

}  // namespace

bool WriteReportChart(const ReportOptions& options, const Settings& settings, const LogTable& table,
                      std::string& error) {
  std::vector<int> items;
  if (options.items.empty()) {
    for (int item = 1; item <= std::min(table.item_count, kMaxScaleItems); ++item) {
      items.push_back(item);
    }
  } else {
    for (const int item : options.items) {
      if (item >= 1 && item <= table.item_count &&
          std::find(items.begin(), items.end(), item) == items.end()) {
        items.push_back(item);
      }
    }
    std::sort(items.begin(), items.end());
  }

  ChartView view;
  ChangeMagnification(view, kMagnifications[0], table.last_sample);
  ChangeMagnification(view, options.magnification, table.last_sample);
  view.scroll_position = std::clamp<int64_t>(options.scroll, 0, view.scroll_maximum);

  // Text needs a GUI application for its fonts; a headless run gets the offscreen platform.
  std::unique_ptr<QGuiApplication> application;
  if (QCoreApplication::instance() == nullptr) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
      qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    static int argc = 1;
    static char name[] = "dravik-report";
    static char* argv[] = {name, nullptr};
    application = std::make_unique<QGuiApplication>(argc, argv);
  }
  const QImage picture =
      RenderChartImage(table, settings, items, view, QSize(options.width_px, options.height_px));
  const FileWriteResult saved = WritePngFile(picture, options.png_path);
  if (!saved.ok) {
    error = saved.error;
    return false;
  }
  return true;
}

}  // namespace dravik
