// The text work of the encoder bridges: argument quoting for both sides, the progress
// and duration read from the Linux encoder's reports, the probe's shell leftovers.
// No Win32 calls, so every rule here is tested on its own.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace bridge {

// UTF-16 to UTF-8 (unpaired surrogates become U+FFFD).
std::string ToUtf8(std::wstring_view text);

// One argument for /bin/sh, single-quoted ("it's" -> 'it'\''s').
std::string ShellQuote(std::string_view arg);

// One argument of a Windows command line, quoted only when it needs it, so that the
// usual command-line split gives it back unchanged.
std::wstring QuoteWindowsArg(std::wstring_view arg);

// "C:\x", "c:/x" and "\\server\share": arguments that name Windows files.
bool LooksLikeWindowsPath(std::wstring_view arg);

// The seconds done in the last complete report of an encoder's -progress output
// (out_time_us); empty while none carries a time yet.
std::optional<double> LastOutTime(std::string_view progress);

// True once the encoder's -progress output holds its final report.
bool ProgressEnded(std::string_view progress);

// The input's length from the encoder's log ("Duration: 00:01:02.50"); empty when the
// log has none yet or says "N/A".
std::optional<double> InputDuration(std::string_view log);

// Thousandths done, 0 to 999 while a run goes on (1000 is only written at a good end);
// 0 when the length is unknown.
int PerMille(double done, std::optional<double> total);

// The progress line that the AVI converter looks for.
std::string ReleaseTimeLine(double seconds);

// The probe's command carries shell syntax as plain arguments ("2>&1", "|grep",
// "ID_LENGTH"). They are taken as what they meant: stderr joined to stdout, and only
// lines holding the pattern passed on.
struct ProbeArgs {
  std::vector<std::wstring> args;  // what the player gets
  bool mergeStderr = false;
  std::optional<std::string> grep;  // pattern of a "|grep" filter
};
ProbeArgs SplitProbeArgs(const std::vector<std::wstring>& args);

// The end of a log, at most `maxBytes`, starting at a line.
std::string Tail(std::string_view log, std::size_t maxBytes);

// Cuts text arriving in pieces into complete lines ("\n", "\r\n" or "\r" ends one);
// the unfinished rest stays in `carry` for the next piece.
std::vector<std::string> TakeLines(std::string& carry, std::string_view more);

}  // namespace bridge
