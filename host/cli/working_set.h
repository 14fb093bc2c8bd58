// What 'run' converts and 'save' writes: options, files and chain, from the command line and,
// for 'run -s', a settings list under it.
#pragma once

#include <cstdio>

#include "host/cli/cli_arguments.h"
#include "host/core/files/file_list.h"
#include "host/core/plugins/function_entry.h"
#include "host/core/run/run_options.h"

namespace cli {

struct WorkingSet {
    host::RunOptions options;
    host::FileList files;
    host::Chain chain;
};

// Fills `set` from `arguments`, finding functions in `functions`. For 'run -s' the settings
// list comes first (its titles that name no function are listed on `err`); then options given
// on the command line replace the list's, -f functions replace its whole chain and the paths
// are added to its files. Paths become full paths; a folder adds every file below it, and
// its tree is kept below the output folder.
// Returns kExitOk, or the exit status for the error it has printed on `err`.
int BuildWorkingSet(const Arguments& arguments, host::FunctionList& functions, std::FILE* err,
                    WorkingSet& set);

}  // namespace cli
