#pragma once
// The fleet file of an audit: CSV with a header row, one row per controller. The header names the
// columns in any order: name, dir and link are required; baud, kinds and interval may follow, and
// a cell left empty takes the audit's own option. A link is HOST:PORT, or a serial device (with
// its baud rate). A directory is taken from the fleet file's folder unless it is absolute. Empty
// lines and lines starting with # are passed over.
#include <cstdint>
#include <string>
#include <vector>

#include "cli_link.h"

namespace tavir::cli {

struct FleetRow {
    int row = 0;  // its line in the file, from 1
    std::string name;
    std::string dir;
    LinkChoice link;          // the time-out and trace are the audit's
    std::string kinds;        // empty: the audit's --kinds
    uint32_t intervalMs = 0;  // 0: the audit's --interval
};

// Parses the fleet file's text; baseDir is its folder. False, with "row N: reason" (or the
// reason for the whole file) in error, at the first row it refuses.
bool parseFleet(const std::string& text, const std::string& baseDir, std::vector<FleetRow>& rows,
                std::string& error);

// Reads and parses the file at path; the error then starts with the path.
bool readFleetFile(const std::string& path, std::vector<FleetRow>& rows, std::string& error);

// "K/N" with 1 <= K <= N; false otherwise.
bool parseShard(const std::string& text, int& shard, int& shards);

// The rows of shard K of N: the K-th, then every N-th after it.
std::vector<FleetRow> shardRows(const std::vector<FleetRow>& rows, int shard, int shards);

}  // namespace tavir::cli
