// How many files the command line converts at the same time when it is not told.
//
// More jobs only pay where converting takes the time. A small file's time goes mostly to the
// system: opening, creating and renaming in folders that every job shares, whose locks the
// jobs then take in turn (two jobs over 20,000 files of 1 KB took a fifth longer than one,
// with a hundred times the task switches). So the files' sizes decide: a list whose files
// average under kSmallFile (judged by the first kSample of them) is converted one file at a
// time, any other on one job per processor.
#pragma once

#include <cstddef>
#include <span>
#include <string>

namespace host {

inline constexpr std::size_t kSmallFile = std::size_t{64} << 10;
inline constexpr std::size_t kSample = 64;

unsigned DefaultJobs(std::span<const std::string> files, unsigned processors);

}  // namespace host
