#pragma once
// What tavir-cli record keeps of a controller: each change of a signal group's state and of a
// detector's occupation with the time it arrived, and the periods they make up.
#include <cstdint>
#include <map>
#include <ostream>
#include <string>
#include <vector>

#include "definitions/object_tables.h"
#include "link/value_record.h"

namespace tavir::cli {

// The values record monitors: interne_toestand of every signal group, which the controller keeps
// as 0 red, 1 green, 2 amber; D of every detector, 1 while occupied.
constexpr int32_t kGroupStateFunctionCode = 345;     // interne_toestand
constexpr int32_t kDetectorStateFunctionCode = 426;  // D

enum class ObjectKind { kSignalGroup, kDetector };
enum class Light { kUnknown, kRed, kGreen, kAmber };

// interne_toestand's value as a light; anything but 0, 1 or 2 is unknown.
Light lightOf(int32_t state);

struct TimelineChange {
    double seconds;  // since the recording started
    ObjectKind kind;
    int index;  // in the application's table of that kind
    int32_t value;
};

struct Period {
    double from;
    double to;
    int32_t value;
};

struct Timeline {
    std::vector<std::string> groupNames;     // by index, from the application
    std::vector<std::string> detectorNames;  // by index
    std::vector<TimelineChange> changes;     // in time order
    double endSeconds = 0;                   // where the recording stopped
};

struct Recorded {
    ObjectKind kind;
    int index;
};

// The addresses record asks for, each with the object its values belong to.
struct RecordedAddresses {
    std::vector<ValueRecord> requests;
    std::map<int32_t, Recorded> byKey;  // RecordKey of the request, which a received value shares
};

// Every signal group's state and every detector of the application; their names go to timeline.
RecordedAddresses addressesOf(const ApplicationTables& tables, Timeline& timeline);

// Keeps a change; the same value again (a monitor refreshes values that did not change) and an
// index outside the names are passed over. Times before the last change's are taken as that time.
void addChange(Timeline& timeline, double seconds, ObjectKind kind, int index, int32_t value);

// The periods of one object from its first value to the end of the recording.
std::vector<Period> periodsOf(const Timeline& timeline, ObjectKind kind, int index);

// One line per change: seconds (three decimals), kind (SG or D), name, value; after a header line.
void writeTimelineCsv(const Timeline& timeline, std::ostream& out);

// One row per signal group with its red, green and amber periods, the detectors' occupations
// below, a time axis in seconds and a legend.
void writeTimelineSvg(const Timeline& timeline, std::ostream& out);

}  // namespace tavir::cli
