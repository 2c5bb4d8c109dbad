#include "log/load_error.h"

#include "common/core_text.h"
#include "common/version.h"

namespace dravik {

std::string ErrorDescription(ErrorNumber number) {
  switch (number) {
    case ErrorNumber::kOutOfMemory:
      return CoreText::Tr("メモリが不足しています。");
    case ErrorNumber::kOverflow:
      return CoreText::Tr("オーバーフローしました。");
    case ErrorNumber::kDivisionByZero:
      return CoreText::Tr("0 で除算しました。");
    case ErrorNumber::kTypeMismatch:
      return CoreText::Tr("型が一致しません。");
    case ErrorNumber::kFileNotFound:
      return CoreText::Tr("ファイルが見つかりません。");
    case ErrorNumber::kDeviceIoError:
      return CoreText::Tr("デバイス I/O エラーです。");
    case ErrorNumber::kPathAccessError:
      return CoreText::Tr("パス/ファイル アクセス エラーです。");
  }
  return CoreText::Tr("アプリケーション定義またはオブジェクト定義のエラーです。");
}

std::string ErrorBoxText(const std::string& procedure, int number, const std::string& description) {
  // The labels are padded so that the colons stand one above the other.
  return CoreText::Tr("エラーです。") + "\r\n" + CoreText::Tr("場所       : ") + procedure +
         "()\r\n" + CoreText::Tr("エラー番号 : ") + std::to_string(number) + "\r\n" + description +
         "\r\nVer " + std::to_string(kVersionMajor) + "." + std::to_string(kVersionMinor);
}

std::string LoadFailureMessage(const LoadError& error) {
  switch (error.kind) {
    case LoadFailure::kFormat:
      return CoreText::Tr(
          "対応していない形式のファイルが選択されたか、ファイルが壊れています。\r\n"
          "ファイルを確認してください。");
    case LoadFailure::kTooFewSamples:
      return CoreText::Tr(
          "データのサンプリング数が10ポイント以下のファイルには対応しておりません。\r\n"
          "またはこのファイル形式には対応しておりません。\r\nファイルを確認してください。");
    case LoadFailure::kGeneral:
      return ErrorBoxText("OpenFile", static_cast<int>(error.number),
                          ErrorDescription(error.number));
    case LoadFailure::kNone:
      break;
  }
  return {};
}

}  // namespace dravik
