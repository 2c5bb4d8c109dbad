#pragma once

#include <string>

namespace dravik {

// Why a load ended early. Format and too-few-samples failures have fixed messages of their own;
// a general failure is shown in the error box with an error number and a description from the
// catalogue below.
enum class LoadFailure { kNone, kFormat, kTooFewSamples, kGeneral };

// The catalogue of general failures: one number and one Japanese description each.
enum class ErrorNumber : int {
  kOutOfMemory = 7,      // "メモリが不足しています。"
  kOverflow = 6,         // "オーバーフローしました。" a number beyond the single range
  kDivisionByZero = 11,  // "0 で除算しました。" an item range that cannot be scaled
  kTypeMismatch = 13,    // "型が一致しません。" a time field that is not a number
  kFileNotFound = 53,    // "ファイルが見つかりません。"
  kDeviceIoError = 57,   // "デバイス I/O エラーです。" the file could not be read
  kPathAccessError = 75,  // "パス/ファイル アクセス エラーです。" not a readable file
};

std::string ErrorDescription(ErrorNumber number);

struct LoadError {
  LoadFailure kind = LoadFailure::kNone;
  ErrorNumber number = ErrorNumber::kDeviceIoError;  // meaningful for kGeneral only
};

inline LoadError Failure(LoadFailure kind) {
  return {kind};
}

inline LoadError General(ErrorNumber number) {
  return {LoadFailure::kGeneral, number};
}

inline bool Failed(const LoadError& error) {
  return error.kind != LoadFailure::kNone;
}

// The error box text for an unexpected error in `procedure` ("OpenFile", "cmdOpenFile_Click",
// "mnuColor_Click"): lines joined by CR LF, no line end after the last one.
std::string ErrorBoxText(const std::string& procedure, int number, const std::string& description);

// What the message box shows for a failed load: the fixed texts of the format and
// too-few-samples failures, the error box text with "OpenFile" for a general failure.
std::string LoadFailureMessage(const LoadError& error);

// Whether a failed load's message is an error box, whose text also goes to the clipboard.
inline bool IsErrorBox(const LoadError& error) {
  return error.kind == LoadFailure::kGeneral;
}

}  // namespace dravik
