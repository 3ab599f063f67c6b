#pragma once
// The application's object tables: what the application header names (names and array numbers)
// and what the table source gives as values. One program-wide set; the batch tools keep the
// controller's answers in the working fields next to each value.
#include <array>
#include <atomic>
#include <cstdint>

namespace tavir {

constexpr int kObjectNameCapacity = 24;     // 23 characters and the NUL
constexpr int kClearanceNameCapacity = 21;  // 20 characters and the NUL

constexpr int kSignalGroupCapacity = 80;
constexpr int kDetectorCapacity = 256;
constexpr int kTimerCapacity = 256;
constexpr int kClockCapacity = 256;
constexpr int kSwitchCapacity = 256;
constexpr int kEparmCapacity = 5000;
constexpr int kEggparmCapacity = 5000;
constexpr int kClearanceCapacity = 1001;

// The working fields are written by the link's reader thread and read by the dialog's thread:
// the reader stores controllerValue before it sets the mark (release), the dialog reads the
// value only after it has seen the mark (acquire). Both are zero when the program starts and
// nothing but a reply sets them.
using ControllerValue = std::atomic<int32_t>;
using ReceivedMark = std::atomic<uint8_t>;

// Index of a signal group's value in its working fields.
enum SignalGroupField {
    kSgVgField = 0,
    kSgGlField = 1,
    kSgMgField = 2,
    kSgExtraMgField1 = 3,  // extra MG time k (1..12) is kSgExtraMgField1 + k - 1
    kSignalGroupFieldCount = 15,
};

enum DetectorField {
    kGapTime1Field = 0,
    kGapTime2Field = 1,
    kOccupancyTimeField = 2,
    kDetectorFieldCount = 3
};

enum ClockField { kTime1Field = 0, kTime2Field = 1, kClockFieldCount = 2 };

struct SignalGroupRecord {
    char name[kObjectNameCapacity];
    int32_t arrayNumber;
    double vgTime;
    double glTime;
    double mgTime;
    double extraMgTimes[12];  // extra MG time k is extraMgTimes[k - 1]
    ControllerValue controllerValue[kSignalGroupFieldCount];
    ReceivedMark received[kSignalGroupFieldCount];
};

struct DetectorRecord {
    char name[kObjectNameCapacity];
    int32_t arrayNumber;
    double gapTime1;
    double gapTime2;
    double occupancyTime;
    ControllerValue controllerValue[kDetectorFieldCount];
    ReceivedMark received[kDetectorFieldCount];
};

struct TimerRecord {
    char name[kObjectNameCapacity];
    int32_t arrayNumber;
    double time;
    ControllerValue controllerValue;
    ReceivedMark received;
};

struct ClockRecord {
    char name[kObjectNameCapacity];
    int32_t arrayNumber;
    double time1;  // hh.mm
    double time2;
    ControllerValue controllerValue[kClockFieldCount];
    ReceivedMark received[kClockFieldCount];
};

struct SwitchRecord {
    char name[kObjectNameCapacity];
    int32_t arrayNumber;
    int32_t value;  // 1 on, 0 off
    ControllerValue controllerValue;
    ReceivedMark received;
};

struct EparmRecord {
    char name[kObjectNameCapacity];
    int32_t arrayNumber;
    double value;
    ControllerValue controllerValue;
    ReceivedMark received;
};

struct EggparmRecord {
    char name[kObjectNameCapacity];
    int32_t arrayNumber;
    int32_t value;
    ControllerValue controllerValue;
    ReceivedMark received;
};

struct ClearanceEntry {
    int32_t fromNumber;
    int32_t toNumber;
    char fromName[kClearanceNameCapacity];
    char toName[kClearanceNameCapacity];
    double clearanceTime;
    ControllerValue controllerValue;
    ReceivedMark received;
};

using SignalGroupTable = std::array<SignalGroupRecord, kSignalGroupCapacity>;
using DetectorTable = std::array<DetectorRecord, kDetectorCapacity>;
using TimerTable = std::array<TimerRecord, kTimerCapacity>;
using ClockTable = std::array<ClockRecord, kClockCapacity>;
using SwitchTable = std::array<SwitchRecord, kSwitchCapacity>;
using EparmTable = std::array<EparmRecord, kEparmCapacity>;
using EggparmTable = std::array<EggparmRecord, kEggparmCapacity>;
using ClearanceTable = std::array<ClearanceEntry, kClearanceCapacity>;

// A count is the number of defines a section held; it can exceed the table's capacity, so every
// loop over a table is bounded by both (see usableCount).
struct ApplicationCounts {
    int32_t numSignalGroups;
    int32_t numDetectors;
    int32_t numTimers;
    int32_t numClocks;
    int32_t numEggparms;
    int32_t numEparms;
    int32_t numSwitches;
};

// Everything the header and table source fill. Zero everywhere when the program starts (the
// program-wide instance has static storage; tests make theirs with value-initialisation, e.g.
// std::make_unique<ApplicationTables>(), and keep it off the stack: it is about half a megabyte).
struct ApplicationTables {
    SignalGroupTable signalGroups;
    DetectorTable detectors;
    TimerTable timers;
    ClockTable clocks;
    SwitchTable switches;
    EparmTable eparms;
    EggparmTable eggparms;
    ApplicationCounts counts;
    ClearanceTable clearances;
    int32_t numClearances;
};

// The number of records of a table that hold data: the count, bounded by 0 and the capacity.
inline int usableCount(int32_t count, int capacity) {
    if (count < 0) return 0;
    return count < capacity ? count : capacity;
}

}  // namespace tavir
