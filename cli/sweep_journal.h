#pragma once
// The safe sweep's journal: the original value of every parameter the sweep writes, recorded and
// on the disk before the write goes out, so that a sweep that was killed or lost its link can
// always be undone with "restore".
//
// JSON Lines. The first line names the journal and what it belongs to:
// {"tavirSweepJournal":2,"dir":"kruispunt/","digest":"9f0c...","link":"127.0.0.1:7000"}
// then one object per original:
// {"kind":"VG","name":"SG02","functionCode":320,"number":0,"block":0,"original":50,"restored":false}
// A sweep only appends; a last line without its newline was cut off by a kill (its write never
// went out) and is passed over. Every other line must read whole, or the journal is refused. A
// restore rewrites the whole file through a temporary file and a rename after each value.
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

// The application and the controller a journal belongs to.
struct JournalOwner {
    std::string dir;
    std::string digest;  // of KVAPDEF.H and KVAPTAB.C; empty when a file cannot be read
    std::string link;
};

struct Journal {
    JournalOwner owner;
    std::vector<JournalEntry> entries;
    bool allRestored() const;
};

// The digest of the application whose KVAPDEF.H is headerPath: its header and table source.
std::string applicationDigest(const std::string& headerPath);

// Whether a request can carry the address: the numbers fit the groups the encoder puts them in.
bool requestCarries(const ValueRecord& address);

class SweepJournal {
public:
    ~SweepJournal();
    // Creates (truncates) the journal and writes its first line.
    bool create(const std::string& path, const JournalOwner& owner);
    // Appends one original; the line is on the disk when this returns true.
    bool append(const JournalEntry& entry);

private:
    std::FILE* file_ = nullptr;
};

// Reads the journal; false, with the file, the line and the reason, when a line cannot be read.
bool readJournal(const std::string& path, Journal& journal, std::string& error);
// The same from the journal's text.
bool parseJournal(const std::string& text, Journal& journal, std::string& error);

// The journal's text, as a file holds it.
std::string journalText(const Journal& journal);

// Replaces the journal with journal: written to path + ".tmp", flushed to the disk, renamed over.
bool rewriteJournal(const std::string& path, const Journal& journal);

}  // namespace tavir::cli
