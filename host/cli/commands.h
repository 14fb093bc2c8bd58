// The commands of polyshift-cli; each returns the process's exit status.
#pragma once

#include <cstdio>

#include "host/cli/cli_arguments.h"

namespace cli {

inline constexpr int kExitOk = 0;
inline constexpr int kExitFilesFailed = 1;
inline constexpr int kExitUsage = 2;

int RunList(std::FILE* out, std::FILE* err);
// 'run' converts the working set; 'save' writes it into the settings list named by -s
// (1 with the reason on `err` when that fails).
int RunOrSave(const Arguments& arguments, std::FILE* err);
// 'info' prints what each file is; 1 when a file could not be read.
int RunInfo(const Arguments& arguments, std::FILE* out, std::FILE* err);
int RunScan(const Arguments& arguments, std::FILE* out, std::FILE* err);
int RunLower(const Arguments& arguments, std::FILE* out, std::FILE* err);
int RunRegex(const Arguments& arguments, std::FILE* err);
int RunAbout(std::FILE* out, std::FILE* err);

// Folder of the running program, where "plugin" is.
std::string ProgramFolder();

}  // namespace cli
