#include <cstdio>
#include <string>
#include <vector>

#include "app/report.h"
#include "common/version.h"
#ifdef DRAVIK_REPORT_DRAWS_CHARTS
#include "app/report_chart.h"
#endif

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#endif

namespace {

void WriteBytes(std::FILE* stream, const std::string& bytes) {
  std::fwrite(bytes.data(), 1, bytes.size(), stream);
  std::fflush(stream);
}

}  // namespace

int main(int argc, char** argv) {
#ifdef _WIN32
  // The texts carry their own CR LF line ends; text mode would double the CR.
  _setmode(_fileno(stdout), _O_BINARY);
  _setmode(_fileno(stderr), _O_BINARY);
#endif
  const std::vector<std::string> arguments(argv + 1, argv + argc);
  const dravik::ReportArguments parsed = dravik::ParseReportArguments(arguments);
  if (!parsed.ok) {
    WriteBytes(stderr, "dravik-report: " + parsed.error + "\n" + dravik::kReportUsage + "\n");
    return 2;
  }
  if (parsed.options.version) {
    WriteBytes(stdout, std::string(dravik::kVersionText) + "\n");
    return 0;
  }
  if (parsed.options.help) {
    WriteBytes(stdout, std::string(dravik::kReportUsage) + "\n");
    return 0;
  }
#ifndef DRAVIK_REPORT_DRAWS_CHARTS
  if (!parsed.options.png_path.empty()) {
    WriteBytes(stderr, "dravik-report: --png: this build draws no charts\n");
    return 2;
  }
#endif
  const dravik::ReportOutput output = dravik::RunReport(parsed.options);
  WriteBytes(stdout, output.out);
  WriteBytes(stderr, output.err);
#ifdef DRAVIK_REPORT_DRAWS_CHARTS
  std::string error;
  if (output.exit_code == 0 && !parsed.options.png_path.empty() &&
      !dravik::WriteReportChart(parsed.options, output.settings, output.table, error)) {
    WriteBytes(stderr, "dravik-report: " + error + "\n");
    return 1;
  }
#endif
  return output.exit_code;
}
