#include "app/open_log.h"

#include <new>

#include "chart/scaling.h"
#include "log/fuel_trip.h"

namespace dravik {
namespace {

// Share of the progress that the reading stands for; the chart positions take the rest.
constexpr double kReadShare = 0.9;

template <typename Read>
LoadError ReadAndPlace(const Settings& settings, LogTable& table, const ReadProgress& progress,
                       const ReadSplit& split, const Read& read) {
  ReadProgress read_progress;
  if (progress) {
    read_progress = [&](double fraction) { progress(fraction * kReadShare); };
  }
  LoadError error = read(FuelParamsOf(settings), read_progress);
  if (error.kind != LoadFailure::kNone) {
    return error;
  }
  try {
    if (!BuildPlotY(table, settings.graph_scale_mode, split.threads, split.range_samples)) {
      error = {LoadFailure::kGeneral, ErrorNumber::kDivisionByZero};
    }
  } catch (const std::bad_alloc&) {
    error = {LoadFailure::kGeneral, ErrorNumber::kOutOfMemory};
  }
  if (error.kind != LoadFailure::kNone) {
    table.Clear();
    return error;
  }
  if (progress) {
    progress(1.0);
  }
  return {};
}

}  // namespace

LoadError OpenLog(const std::string& path, const Settings& settings, LogTable& table,
                  const ReadProgress& progress, const ReadSplit& split) {
  return ReadAndPlace(settings, table, progress, split,
                      [&](const FuelParams& fuel, const ReadProgress& read_progress) {
                        return ReadLog(path, fuel, table, read_progress, split);
                      });
}

LoadError OpenLogFromBuffer(std::string_view bytes, const Settings& settings, LogTable& table,
                            const ReadProgress& progress, const ReadSplit& split) {
  return ReadAndPlace(settings, table, progress, split,
                      [&](const FuelParams& fuel, const ReadProgress& read_progress) {
                        return ReadLogFromBuffer(bytes, fuel, table, read_progress, split);
                      });
}

}  // namespace dravik
