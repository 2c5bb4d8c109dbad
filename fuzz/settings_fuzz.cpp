// Feeds arbitrary bytes to the settings reader as a settings file, then saves what was read and
// reads the saved file again: the second reading must be a fixed point of saving and reading.

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <unistd.h>

#include "app/ini_file.h"
#include "app/settings_file.h"
#include "common/settings.h"

namespace {

using namespace dravik;

constexpr ScreenSize kScreen{28800, 16200};

void Check(bool condition) {
  if (!condition) {
    std::abort();
  }
}

bool SameSettings(const Settings& a, const Settings& b) {
  return a.xpos == b.xpos && a.ypos == b.ypos && a.xsize == b.xsize && a.ysize == b.ysize &&
         a.mv_xpos == b.mv_xpos && a.mv_ypos == b.mv_ypos && a.mv_xsize == b.mv_xsize &&
         a.mv_ysize == b.mv_ysize && a.time_unit_sec == b.time_unit_sec &&
         a.section_time == b.section_time && a.graph_scale_mode == b.graph_scale_mode &&
         a.always_tooltip == b.always_tooltip &&
         a.injector_flow_scaling == b.injector_flow_scaling &&
         a.injector_latency == b.injector_latency && a.cylinder == b.cylinder &&
         a.item_colors == b.item_colors && a.formulas == b.formulas;
}

// The general form keeps 7 significant digits, so a float may move by one unit of the seventh.
bool CloseFloat(float a, float b) {
  return a == b || std::fabs(a - b) <= 1e-6 * std::fabs(a) + 1e-38;
}

// Window geometry is written in the general form as well: exact up to 7 digits.
bool CloseGeometry(int32_t a, int32_t b) {
  return a == b ||
         (std::abs(static_cast<int64_t>(a)) >= 10'000'000 &&
          std::fabs(static_cast<double>(a) - b) <= 1e-6 * std::fabs(static_cast<double>(a)));
}

// One file per fuzzing process, in memory where that is possible, removed when the process ends.
struct TemporaryFile {
  TemporaryFile() {
    const std::string directory = access("/dev/shm", W_OK) == 0 ? "/dev/shm" : "/tmp";
    path = directory + "/dravik-settings-fuzz-" + std::to_string(getpid()) + ".ini";
  }
  ~TemporaryFile() { unlink(path.c_str()); }
  std::string path;
};

const std::string& TemporaryPath() {
  static const TemporaryFile file;
  return file.path;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  const Settings first = ReadSettings(IniFile::Parse(text), kScreen);
  Check(first.xsize >= 10875 && first.ysize >= 7500);
  Check(first.mv_xsize >= 7935 && first.mv_ysize >= 1500);
  Check(first.xpos >= 0 && first.xpos <= kScreen.width_twips);
  Check(first.ypos >= 0 && first.ypos <= kScreen.height_twips);
  Check(std::isfinite(first.injector_flow_scaling) && std::isfinite(first.injector_latency));
  for (const Rgb colour : first.item_colors) {
    Check(colour <= 0xFFFFFF);
  }

  const std::string& path = TemporaryPath();
  Check(SaveSettings(path, first).ok);
  const std::optional<IniFile> saved = IniFile::Load(path);
  Check(saved.has_value());
  const Settings second = ReadSettings(*saved, kScreen);
  Check(CloseGeometry(first.xpos, second.xpos) && CloseGeometry(first.ypos, second.ypos));
  Check(CloseGeometry(first.xsize, second.xsize) && CloseGeometry(first.ysize, second.ysize));
  Check(first.mv_xpos == second.mv_xpos && first.mv_ypos == second.mv_ypos);
  Check(first.mv_xsize == second.mv_xsize && first.mv_ysize == second.mv_ysize);
  Check(first.time_unit_sec == second.time_unit_sec && first.section_time == second.section_time);
  Check(first.graph_scale_mode == second.graph_scale_mode);
  Check(first.always_tooltip == second.always_tooltip && first.cylinder == second.cylinder);
  Check(CloseFloat(first.injector_flow_scaling, second.injector_flow_scaling));
  Check(CloseFloat(first.injector_latency, second.injector_latency));
  Check(first.item_colors == second.item_colors);
  Check(first.formulas == second.formulas);

  const Settings third = ReadSettings(IniFile::Parse(SettingsFileText(second)), kScreen);
  Check(SameSettings(second, third));
  return 0;
}
