#pragma once

#include <string>

namespace dravik::bench {

// One line of the benchmark's table: what was measured, its figure, the baseline beside it and
// whether it meets its target.
void Row(const std::string& what, const std::string& figure, const std::string& baseline = "",
         const std::string& verdict = "");

std::string Ms(double ms);
std::string Mb(double kb);
std::string Times(double ratio);
std::string Verdict(bool ok);

}  // namespace dravik::bench
