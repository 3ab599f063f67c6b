#pragma once
// Writes a complete application (KVAPDEF.H and KVAPTAB.C) of a chosen size into a directory:
// every section of the header and every table of the table source, filled with names and values
// that follow simple rules, so that benchmarks can load the largest application the tables hold
// and tests can check what a load gives.
#include <string>

namespace tavir::bench {

struct ApplicationShape {
    int signalGroups;
    int detectors;
    int timers;
    int clocks;
    int switches;
    int eparms;
    int eggparms;
    int clearances;  // rows of the clearance table, each between two different signal groups
};

// Every table at its capacity.
constexpr ApplicationShape kMaxApplication{80, 256, 256, 256, 256, 5000, 5000, 1001};

// Writes dir/KVAPDEF.H and dir/KVAPTAB.C (CR LF line ends). The MacroTable holds 10000 names,
// of which the built-in macros take 135, so defines beyond what it can take are written with a
// leading blank: the section pass reads them, the define pass does not. Throws
// std::runtime_error when a file cannot be written.
void writeApplication(const std::string& dir, const ApplicationShape& shape);
void writeMaxApplication(const std::string& dir);

// Names (index from 0) and values as written.
std::string signalGroupName(int i);  // "SG01" ...
std::string detectorName(int i);     // "SG01D1" ... (the detector rows need "SG" in the name)
std::string timerName(int i);        // "T001" ...
std::string clockName(int i);        // "KL001" ...
std::string switchName(int i);       // "SCH001" ...
std::string eparmName(int i);        // "EP0001" ...
std::string eggparmName(int i);      // "EGGP0001" ...

double vgTimeOf(int signalGroup);
double glTimeOf(int signalGroup);
double mgTimeOf(int signalGroup);
// Extra MG time k (1..12); -1.0 where the row says NG.
double extraMgTimeOf(int signalGroup, int k);
double gapTime1Of(int detector);
double gapTime2Of(int detector);
double occupancyTimeOf(int detector);
double timerTimeOf(int timer);
double clockTime1Of(int clock);
double clockTime2Of(int clock);
int switchValueOf(int sw);
int eggparmValueOf(int eggparm);
double eparmValueOf(int eparm);
// The clearance row r: from and to signal group and its time (written with one decimal).
void clearanceOf(int row, int signalGroups, int* from, int* to, double* time);

}  // namespace tavir::bench
