#pragma once
// tavir-cli restore: a sweep's journal written back. An entry is marked restored only once the
// controller answered a Read of it with the original, so a journal never claims more than the
// controller holds.
#include <string>

#include "cli_link.h"
#include "cli_reporter.h"
#include "sweep_journal.h"
#include "tools/pacing.h"

namespace tavir::cli {

struct RestoreChoice {
    std::string journal;
    std::string dir = ".";          // the application the journal must belong to
    bool otherApplication = false;  // restore a journal of another application all the same
};

// Reads the journal and checks that it belongs to the application in dir: 0, or 2 (nothing
// may be sent) with the reason said.
int loadJournalForRestore(const RestoreChoice& choice, Journal& journal, StderrReporter& reporter);

// Writes each original not yet restored, reads it back and marks it in the journal when the
// controller holds it. Gives 0 when every entry is restored, 1 when the controller holds another
// value for one, 2 when the journal cannot be rewritten, 3 when a Read got no answer after two
// more tries (the entries confirmed before stay marked).
int restoreOriginals(const std::string& path, Journal& journal, CliLink& link, Pacing& pacing,
                     StderrReporter& reporter);

}  // namespace tavir::cli
