#pragma once
// The safe sweep's journal: the original value of every parameter the sweep writes, recorded and
// on the disk before the write goes out, so that a sweep that was killed or lost its link can
// always be undone with "restore".
//
// JSON Lines: the first line {"tavirSweepJournal":1}, then one object per original:
// {"kind":"VG","name":"SG02","functionCode":320,"number":0,"block":0,"original":50,"restored":false}
// A sweep only appends (a line cut off by a kill is ignored when read: its write never went out);
// a restore rewrites the whole file through a temporary file and a rename after each value.
#include <cstdio>
#include <string>
#include <vector>

#include "link/value_record.h"

namespace tavir::cli {

struct JournalEntry {
    std::string kind;
    std::string name;
    ValueRecord address{};
    int32_t original = 0;
    bool restored = false;
};

class SweepJournal {
public:
    ~SweepJournal();
    // Creates (truncates) the journal and writes its first line.
    bool create(const std::string& path);
    // Appends one original; the line is on the disk when this returns true.
    bool append(const JournalEntry& entry);

private:
    std::FILE* file_ = nullptr;
};

// Reads every complete entry; false, with the reason, when the file is no journal.
bool readJournal(const std::string& path, std::vector<JournalEntry>& entries, std::string& error);

// Replaces the journal with entries: written to path + ".tmp", flushed to the disk, renamed over.
bool rewriteJournal(const std::string& path, const std::vector<JournalEntry>& entries);

}  // namespace tavir::cli
