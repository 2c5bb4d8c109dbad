#include "common/settings.h"

namespace dravik {

ItemColors DefaultItemColors() {
  ItemColors colours{};  // black beyond the first sixteen
  const Rgb first[16] = {
      MakeRgb(255, 0, 255), MakeRgb(0, 0, 255),   MakeRgb(255, 128, 64), MakeRgb(0, 255, 0),
      MakeRgb(128, 0, 0),   MakeRgb(255, 255, 0), MakeRgb(255, 0, 0),    MakeRgb(128, 128, 255),
      MakeRgb(0, 128, 0),   MakeRgb(0, 255, 255), MakeRgb(128, 0, 128),  MakeRgb(255, 0, 128),
      MakeRgb(0, 0, 0),     MakeRgb(0, 128, 64),  MakeRgb(0, 0, 128),    MakeRgb(0, 128, 128),
  };
  for (int i = 0; i < 16; ++i) {
    colours[i] = first[i];
  }
  return colours;
}

bool HasMaxViewPlace(const Settings& settings) {
  return settings.mv_xpos != 0 || settings.mv_ypos != 0 || settings.mv_xsize > kMinMvXsize ||
         settings.mv_ysize > kMinMvYsize;
}

}  // namespace dravik
