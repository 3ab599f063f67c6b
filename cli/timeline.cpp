#include "timeline.h"

#include <cstdio>

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

}  // namespace tavir::cli
