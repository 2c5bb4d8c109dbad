#pragma once

#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace dravik {

// Success, or what went wrong, for the user to read.
struct FileWriteResult {
  bool ok = false;
  std::string error;     // the failed step and the system's reason; empty on success
  int error_number = 0;  // the system's error number of the failure; 0 on success
};

// Replaces the file at `path` with `contents` so that no reader ever sees a partial file: the text
// goes to a new file beside the file it replaces, is flushed to the disk and is then renamed over
// it. A symbolic link is followed to its target, which is replaced and the link kept; links that
// loop, or that cannot be followed to a target, fail the write with ELOOP. The new file
// takes the permissions of the regular file it replaces; a new file gets the ordinary ones (0666
// less the umask). A target that exists but is no regular file (a device, a FIFO, a directory) is
// left alone and the write fails, and so is a file without any write permission. Missing parent
// directories are created. On any failure, the final flush and close included, the old file is
// untouched and the temporary one removed. `before_rename`, when given, runs after the temporary
// file is complete; returning false makes the write fail at that point.
FileWriteResult WriteFileAtomically(const std::string& path, std::string_view contents,
                                    const std::function<bool()>& before_rename = {});

// Makes a write beyond the process's file-size limit fail with EFBIG, as every other failed write
// does, instead of the system ending the process at that write. Called once at start.
void IgnoreFileSizeSignal();

// The name WriteFileAtomically gives a temporary file for `path` in process `pid`: the path
// followed by ".tmp<pid>.<n>". True when `name` (a file name without directory) is such a name
// for the file named `file_name`, with the pid it carries in `pid`.
bool IsTemporaryFileOf(std::string_view name, std::string_view file_name, long& pid);

// Removes the temporary files that a write of `path` by a process no longer running left beside
// it (a write cut short by a kill). Failures are ignored.
void RemoveLeftoverTemporaryFiles(const std::string& path);

// The start of a regular file, at most `max_bytes` of it; nullopt when `path` is no regular file
// (missing, a directory, a device, a FIFO: none of them is opened for long or read) or cannot be
// read.
std::optional<std::string> ReadRegularFile(const std::string& path, size_t max_bytes);

// Whether the process can still open `count` more files (descriptors) at once. A window needs a few
// of its own to be drawn; where the process has run out, it would wait for ever on the display.
bool CanOpenFiles(int count);

// The system's reason for `error_number` in Japanese for the common cases of writing a file
// (no space, no permission, a read-only file system, ...), else the system's own text.
std::string WriteFailureReason(int error_number);

}  // namespace dravik
