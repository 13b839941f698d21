#pragma once

#include <iosfwd>

namespace twinfold::cli
{

struct RunOptions;

// Standard output and standard error, watched from the start of the program: a write the
// system refused (a full disk, a pipe closed by its reader) is remembered with its reason, so
// that the program never ends as if what it printed had been read.
void watchStandardStreams();

// The exit status once everything printed has been flushed: status itself, or 2 when a write
// failed and status would have reported success. A failed write to standard output is said on
// standard error while that still takes writes.
int checkedExitStatus(int status);

// Where the per-file lines of a run go: standard output, unless it carries the JSON result.
std::ostream& fileLines(const RunOptions& options);

} // namespace twinfold::cli
