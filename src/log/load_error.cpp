#include "log/load_error.h"

#include "common/version.h"

namespace dravik {

std::string ErrorDescription(ErrorNumber number) {
  switch (number) {
    case ErrorNumber::kOutOfMemory:
      return "メモリが不足しています。";
    case ErrorNumber::kOverflow:
      return "オーバーフローしました。";
    case ErrorNumber::kDivisionByZero:
      return "0 で除算しました。";
    case ErrorNumber::kTypeMismatch:
      return "型が一致しません。";
    case ErrorNumber::kFileNotFound:
      return "ファイルが見つかりません。";
    case ErrorNumber::kDeviceIoError:
      return "デバイス I/O エラーです。";
    case ErrorNumber::kPathAccessError:
      return "パス/ファイル アクセス エラーです。";
  }
  return "アプリケーション定義またはオブジェクト定義のエラーです。";
}

std::string ErrorBoxText(const std::string& procedure, int number, const std::string& description) {
  return "エラーです。\r\n場所       : " + procedure +
         "()\r\nエラー番号 : " + std::to_string(number) + "\r\n" + description + "\r\nVer " +
         std::to_string(kVersionMajor) + "." + std::to_string(kVersionMinor);
}

std::string LoadFailureMessage(const LoadError& error) {
  switch (error.kind) {
    case LoadFailure::kFormat:
      return "対応していない形式のファイルが選択されたか、ファイルが壊れています。\r\n"
             "ファイルを確認してください。";
    case LoadFailure::kTooFewSamples:
      return "データのサンプリング数が10ポイント以下のファイルには対応しておりません。\r\n"
             "またはこのファイル形式には対応しておりません。\r\nファイルを確認してください。";
    case LoadFailure::kGeneral:
      return ErrorBoxText("OpenFile", static_cast<int>(error.number),
                          ErrorDescription(error.number));
    case LoadFailure::kNone:
      break;
  }
  return {};
}

}  // namespace dravik
