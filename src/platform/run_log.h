#pragma once

#include <string>
#include <string_view>

// The launcher's log of its runs, for the people who support its users: one line per event,
// appended, kept to about 1 MiB with one older copy beside it ("launcher.log.1"). Writing
// it never changes what the program does: a log that cannot be written is skipped.
namespace xamu::platform {

// $XDG_STATE_HOME/xamu/launcher.log, else ~/.local/state/xamu/launcher.log; empty when
// neither variable is set.
std::string RunLogPath();

// Starts appending to `path`, creating its folder when it is missing. Without a call, or
// when the file cannot be opened, every line is dropped.
void OpenRunLog(const std::string& path);
void CloseRunLog();

// Appends one line, stamped with the local time and the process id; line breaks and other
// control characters in `text` are written as escapes, so that an event stays one line.
// Safe to call from any thread.
void LogLine(std::string_view text);

}  // namespace xamu::platform
