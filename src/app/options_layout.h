#pragma once

#include <array>
#include <cstdint>

#include "chart/layout.h"

namespace dravik {

// The options dialog's client area in twips: the frame "設定" and the button row with a 120-twip
// margin. The language row below the fuel frame makes both 480 taller than the first version.
inline constexpr int32_t kLanguageRowHeight = 480;
inline constexpr int32_t kOptionsClientWidth = 5655;
inline constexpr int32_t kOptionsClientHeight = 4815 + kLanguageRowHeight;

// The frames: "設定" in the client area, "基本設定" and "燃費関連" inside it.
inline constexpr Rect kOptionsFrameRect{120, 120, 5415, 4095 + kLanguageRowHeight};
inline constexpr Rect kBasicFrameRect{120, 240, 5175, 1695};
inline constexpr Rect kFuelFrameRect{120, 2040, 5175, 1935};

// The switches of the basic frame, one row each: time unit, section figures, tooltips, scale
// rounding.
inline constexpr int32_t kSwitchLeft = 240;
inline constexpr std::array<int32_t, 4> kSwitchTops = {240, 600, 960, 1320};

// The fields of the fuel frame, one row each: injector flow, injector latency, cylinders. The
// caption and the unit stand 120 lower than the field so that their text lines up with its text.
inline constexpr std::array<int32_t, 3> kFieldTops = {240, 600, 960};
inline constexpr int32_t kFieldCaptionLeft = 240;
inline constexpr int32_t kFieldTextLeft = 2640;
inline constexpr int32_t kFieldTextWidth = 975;
inline constexpr int32_t kFieldTextHeight = 330;
inline constexpr int32_t kFieldUnitLeft = 3720;
inline constexpr int32_t kFieldTextDrop = 120;
// The button "燃費計算の項目..." under the fields, and "計算項目..." beside it.
inline constexpr Rect kFuelItemsButtonRect{kFieldTextLeft, 1380, 2415, 375};
inline constexpr Rect kFormulasButtonRect{kFieldCaptionLeft, 1380, 2280, 375};

// The language list "表示言語 / Language" under the fuel frame, its caption beside it.
inline constexpr int32_t kLanguageCaptionLeft = 240;
inline constexpr int32_t kLanguageCaptionTop = 4080;
inline constexpr Rect kLanguageListRect{kFieldTextLeft, 4020, 2535, 330};

// The button row below the frame.
inline constexpr Rect kOptionsOkRect{1680, 4320 + kLanguageRowHeight, 1215, 375};
inline constexpr Rect kOptionsCancelRect{3000, 4320 + kLanguageRowHeight, 1215, 375};
inline constexpr Rect kOptionsHelpRect{4320, 4320 + kLanguageRowHeight, 1215, 375};

}  // namespace dravik
