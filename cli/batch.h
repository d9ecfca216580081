// Batch mode: every line of a file becomes a symbol of its own in an output folder.
//
// Lines end at LF; a CR before the LF is dropped, and a last line without LF counts. Line n
// (counted from 1) is written to DIR/<n>.<ext>, n zero-padded to at least four digits (or as many
// as the last line number needs), e.g. out/0001.png. Failed lines write nothing; the run
// goes on, reports them at the end and exits with 1.
#pragma once

#include "options.h"

namespace ecc200_cli {

// Returns the exit code; throws ToolError when the batch cannot run at all.
int RunBatch(const Options& options);

}  // namespace ecc200_cli
