#include "app/open_log.h"

#include "chart/scaling.h"
#include "log/fuel_trip.h"

namespace dravik {
namespace {

// The user's formulas, each left out of a log whose values of it the chart cannot show.
FormulaOptions FormulasOf(const Settings& settings) {
  const int mode = settings.graph_scale_mode;
  return {settings.formulas, [mode](float min, float max) { return CanPlotRange(min, max, mode); }};
}

template <typename Read>
LoadError ReadAndCheck(const Settings& settings, LogTable& table, const ReadProgress& progress,
                       const Read& read) {
  const LoadError error = read(FuelParamsOf(settings), progress);
  if (error.kind != LoadFailure::kNone) {
    return error;
  }
  // Positions are made when an item is first drawn; a log whose items cannot all be placed on the
  // chart is refused now rather than at a draw.
  if (!CanPlotItems(table, settings.graph_scale_mode)) {
    table.Clear();
    return {LoadFailure::kGeneral, ErrorNumber::kDivisionByZero};
  }
  return {};
}

}  // namespace

LoadError OpenLog(const std::string& path, const Settings& settings, LogTable& table,
                  const ReadProgress& progress, const ReadSplit& split) {
  return ReadAndCheck(
      settings, table, progress, [&](const FuelParams& fuel, const ReadProgress& read_progress) {
        return ReadLog(path, fuel, table, read_progress, split, FormulasOf(settings));
      });
}

LoadError OpenLogFromBuffer(std::string_view bytes, const Settings& settings, LogTable& table,
                            const ReadProgress& progress, const ReadSplit& split) {
  return ReadAndCheck(
      settings, table, progress, [&](const FuelParams& fuel, const ReadProgress& read_progress) {
        return ReadLogFromBuffer(bytes, fuel, table, read_progress, split, FormulasOf(settings));
      });
}

}  // namespace dravik
