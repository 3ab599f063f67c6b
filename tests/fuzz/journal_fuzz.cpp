// Any bytes as a sweep journal: either refused with a line and a reason, or read into entries that
// a request can carry, whose text reads back as the same journal.
#include "fuzz_files.h"
#include "sweep_journal.h"

using tavir::fuzz::check;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace tavir::cli;
    Journal journal;
    std::string error;
    if (!parseJournal(std::string(reinterpret_cast<const char*>(data), size), journal, error)) {
        check(error.size() > 3 && error[0] == ':');
        return 0;
    }
    for (const JournalEntry& e : journal.entries) check(requestCarries(e.address));
    const std::string text = journalText(journal);
    Journal again;
    check(parseJournal(text, again, error));
    check(journalText(again) == text && again.entries.size() == journal.entries.size());
    return 0;
}
