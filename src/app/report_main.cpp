#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "app/report.h"
#include "common/file_io.h"
#include "common/version.h"
#ifdef DRAVIK_REPORT_DRAWS_CHARTS
#include "app/report_chart.h"
#include "common/ui_language.h"
#endif

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#endif

namespace {

// False when the bytes could not all be written (a full disk, a file-size limit).
bool WriteBytes(std::FILE* stream, const std::string& bytes) {
  std::fwrite(bytes.data(), 1, bytes.size(), stream);
  return std::fflush(stream) == 0 && !std::ferror(stream);
}

}  // namespace

int main(int argc, char** argv) {
  dravik::IgnoreFileSizeSignal();
#ifdef _WIN32
  // The texts carry their own CR LF line ends; text mode would double the CR.
  _setmode(_fileno(stdout), _O_BINARY);
  _setmode(_fileno(stderr), _O_BINARY);
#endif
  const std::vector<std::string> arguments(argv + 1, argv + argc);
  const dravik::ReportArguments parsed = dravik::ParseReportArguments(arguments);
  if (!parsed.ok) {
    WriteBytes(stderr, "dravik-report: " + parsed.error + "\n" + dravik::kReportUsage);
    return 2;
  }
  if (parsed.options.version) {
    WriteBytes(stdout, std::string(dravik::kVersionText) + "\n");
    return 0;
  }
  if (parsed.options.help) {
    WriteBytes(stdout, dravik::kReportUsage);
    return 0;
  }
#ifdef DRAVIK_REPORT_DRAWS_CHARTS
  if (!dravik::UseCoreTexts(parsed.options.language)) {
    WriteBytes(stderr, "dravik-report: --lang en: the English texts could not be loaded\n");
    return 2;
  }
#else
  if (!parsed.options.png_path.empty()) {
    WriteBytes(stderr, "dravik-report: --png: this build draws no charts\n");
    return 2;
  }
  // The English texts come with the Qt layer.
  if (parsed.options.language != dravik::Language::kJapanese) {
    WriteBytes(stderr, "dravik-report: --lang en: this build writes Japanese only\n");
    return 2;
  }
#endif
  const dravik::ReportOutput output = dravik::RunReport(parsed.options);
  const bool written = WriteBytes(stdout, output.out);
  const int write_error = errno;
  WriteBytes(stderr, output.err);
  if (!written) {
    WriteBytes(stderr, std::string("dravik-report: cannot write the output: ") +
                           std::strerror(write_error) + "\n");
    return 1;
  }
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
