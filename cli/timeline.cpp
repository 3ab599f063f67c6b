#include "timeline.h"

#include <cstdio>

#include "link/item_index.h"

namespace tavir::cli {

Light lightOf(int32_t state) {
    switch (state) {
        case 0:
            return Light::kRed;
        case 1:
            return Light::kGreen;
        case 2:
            return Light::kAmber;
        default:
            return Light::kUnknown;
    }
}

namespace {

size_t countOf(const Timeline& timeline, ObjectKind kind) {
    return kind == ObjectKind::kSignalGroup ? timeline.groupNames.size() : timeline.detectorNames.size();
}

const TimelineChange* lastOf(const Timeline& timeline, ObjectKind kind, int index) {
    for (auto c = timeline.changes.rbegin(); c != timeline.changes.rend(); ++c) {
        if (c->kind == kind && c->index == index) return &*c;
    }
    return nullptr;
}

}  // namespace

void addChange(Timeline& timeline, double seconds, ObjectKind kind, int index, int32_t value) {
    if (index < 0 || static_cast<size_t>(index) >= countOf(timeline, kind)) return;
    const TimelineChange* last = lastOf(timeline, kind, index);
    if (last != nullptr && last->value == value) return;
    if (!timeline.changes.empty() && seconds < timeline.changes.back().seconds)
        seconds = timeline.changes.back().seconds;
    timeline.changes.push_back({seconds, kind, index, value});
    if (seconds > timeline.endSeconds) timeline.endSeconds = seconds;
}

std::vector<Period> periodsOf(const Timeline& timeline, ObjectKind kind, int index) {
    std::vector<Period> periods;
    for (const TimelineChange& c : timeline.changes) {
        if (c.kind != kind || c.index != index) continue;
        if (!periods.empty()) periods.back().to = c.seconds;
        periods.push_back({c.seconds, timeline.endSeconds, c.value});
    }
    return periods;
}

void writeTimelineCsv(const Timeline& timeline, std::ostream& out) {
    out << "seconds,kind,name,value\n";
    char seconds[32];
    for (const TimelineChange& c : timeline.changes) {
        bool group = c.kind == ObjectKind::kSignalGroup;
        const std::string& name =
            (group ? timeline.groupNames : timeline.detectorNames)[static_cast<size_t>(c.index)];
        std::snprintf(seconds, sizeof seconds, "%.3f", c.seconds);
        out << seconds << ',' << (group ? "SG" : "D") << ',' << name << ',' << c.value << '\n';
    }
}

RecordedAddresses addressesOf(const ApplicationTables& tables, Timeline& timeline) {
    RecordedAddresses addresses;
    auto add = [&](int32_t functionCode, int32_t number, ObjectKind kind, int index) {
        ValueRecord request;
        request.functionCode = functionCode;
        request.number = number;
        request.block = -1;
        addresses.requests.push_back(request);
        addresses.byKey.emplace(RecordKey(request), Recorded{kind, index});
    };
    const int groups = usableCount(tables.counts.numSignalGroups, kSignalGroupCapacity);
    for (int g = 0; g < groups; ++g) {
        const SignalGroupRecord& group = tables.signalGroups[static_cast<size_t>(g)];
        timeline.groupNames.emplace_back(group.name);
        add(kGroupStateFunctionCode, group.arrayNumber, ObjectKind::kSignalGroup, g);
    }
    const int detectors = usableCount(tables.counts.numDetectors, kDetectorCapacity);
    for (int d = 0; d < detectors; ++d) {
        const DetectorRecord& detector = tables.detectors[static_cast<size_t>(d)];
        timeline.detectorNames.emplace_back(detector.name);
        add(kDetectorStateFunctionCode, detector.arrayNumber, ObjectKind::kDetector, d);
    }
    return addresses;
}

}  // namespace tavir::cli
