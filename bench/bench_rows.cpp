#include "bench_rows.h"

#include <cstdio>

namespace dravik::bench {

void Row(const std::string& what, const std::string& figure, const std::string& baseline,
         const std::string& verdict) {
  std::printf("  %-46s %-14s %-40s %s\n", what.c_str(), figure.c_str(), baseline.c_str(),
              verdict.c_str());
}

std::string Ms(double ms) {
  char text[32];
  std::snprintf(text, sizeof text, ms < 10 ? "%.2f ms" : "%.0f ms", ms);
  return text;
}

std::string Mb(double kb) {
  char text[32];
  std::snprintf(text, sizeof text, "%.0f MB", kb / 1024);
  return text;
}

std::string Times(double ratio) {
  char text[32];
  std::snprintf(text, sizeof text, "%.1fx", ratio);
  return text;
}

std::string Verdict(bool ok) {
  return ok ? "ok" : "MISSED";
}

}  // namespace dravik::bench
