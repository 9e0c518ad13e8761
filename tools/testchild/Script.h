// The scripted child's language and its generated outputs, shared by the child and the
// tests that check what a reader made of them. Pure: no window handles.
//
// Each argument of the child is one step:
//   out:TEXT     write TEXT to standard output (escapes \r \n \0 \\ \xHH)
//   err:TEXT     the same to standard error
//   sleep:MS     pause
//   lines:N:SEED write GeneratedOutput(N, SEED) in chunks of varying size
//   fixed:N      write N lines of 60 bytes (58 characters and CR LF) in large writes
//   noeol:N      write UnendedText(N), with no line end, in large writes
//   spawn:STEPS  start another child with STEPS (blank-separated) on the same output,
//                without waiting for it
//   exit:CODE    end now with that exit code
//   hang         wait forever
// After the last step the child exits with code 0.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace testchild {

// Replaces the escapes above; unknown escapes stay as they are.
std::string Unescape(const std::string& text);

// Lines of varied length (never empty) ended in turn by LF, CR LF and CR.
std::string GeneratedOutput(int lines, std::uint32_t seed);
std::vector<std::string> GeneratedLines(int lines, std::uint32_t seed);

// The line that `fixed:N` writes as line i (without its CR LF).
std::string FixedLine(int i);

// N bytes of letters, a to z over and over: one line without its end.
std::string UnendedText(std::size_t n);

// Chunk sizes for writing `total` bytes, deterministic for a seed, from 1 to 8000.
std::vector<std::size_t> ChunkSizes(std::size_t total, std::uint32_t seed);

}  // namespace testchild
