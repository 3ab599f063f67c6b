#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "simulator.h"

namespace tavir::sim {

struct HostPort {
    std::string host = "127.0.0.1";
    int port = 7000;
};

// [HOST:]PORT with a dotted IPv4 host (or "localhost"); false when it is not one.
bool parseHostPort(const std::string& text, HostPort& result);
bool isLoopbackHost(const std::string& host);

struct SimOptions {
    std::string dir;  // empty: the example application
    bool tcp = true;
    HostPort tcpAddress;
    bool pty = false;
    std::string serialDevice;
    int baud = 9600;
    std::string logPath;
    double rate = 1.0;
    bool seedGiven = false;
    uint64_t seed = 0;
    FaultOptions faults;
    bool control = false;
    HostPort controlAddress{"127.0.0.1", 0};
    bool readStdin = true;
    std::string replayPath;  // play this trace back instead of simulating
    int fleet = 0;           // this many controllers, each on its own port; --log names a folder
    std::vector<int> plant;  // the controllers (from 1) of the fleet given a difference
};

// Parses the command line. Gives true to run; false when the program is to end with exitCode
// (after --help, or after an error that has been printed).
bool parseSimOptions(int argc, const char* const* argv, SimOptions& options, int& exitCode);

// Where the example application is, the first that holds a KVAPDEF.H: examples/demo below the
// current directory; the installed one beside the program (programDir/examples/demo, as the zip
// unpacks) or below it (programDir/../share/tavir/examples/demo, as the Debian package installs);
// otherwise the one in the source tree the program was built from.
std::string defaultApplicationDir(const std::string& programDir);

// The controller's clock at start: local time now, or with a seed a fixed Monday morning, so
// that a seeded run shows the same dates and times every time.
int64_t startClockSeconds(bool seeded);

}  // namespace tavir::sim
