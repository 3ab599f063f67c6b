// The recording's changes as its CSV holds them. (That the SVG is well-formed is the record_plan
// case's.)
#include "timeline.h"

#include <gtest/gtest.h>

#include <sstream>

namespace tavir::cli {
namespace {

Timeline twoGroups() {
    Timeline t;
    t.groupNames = {"SG02", "SG<&>"};
    t.detectorNames = {"SG02_D1"};
    addChange(t, 0.0, ObjectKind::kSignalGroup, 0, 0);
    addChange(t, 0.0, ObjectKind::kSignalGroup, 1, 1);
    addChange(t, 1.0, ObjectKind::kSignalGroup, 0, 0);  // a refresh: no change
    addChange(t, 2.5, ObjectKind::kDetector, 0, 1);
    addChange(t, 3.0, ObjectKind::kSignalGroup, 1, 2);
    addChange(t, 2.9, ObjectKind::kDetector, 0, 0);  // arrived out of order: taken at 3.0
    addChange(t, 4.0, ObjectKind::kSignalGroup, 1, 0);
    addChange(t, 4.0, ObjectKind::kSignalGroup, 2, 1);  // no such group
    addChange(t, 5.0, ObjectKind::kSignalGroup, 0, 1);
    return t;
}

TEST(Timeline, WritesOneCsvLinePerChange) {
    std::ostringstream csv;
    writeTimelineCsv(twoGroups(), csv);
    EXPECT_EQ(csv.str(),
              "seconds,kind,name,value\n0.000,SG,SG02,0\n0.000,SG,SG<&>,1\n2.500,D,SG02_D1,1\n"
              "3.000,SG,SG<&>,2\n3.000,D,SG02_D1,0\n4.000,SG,SG<&>,0\n5.000,SG,SG02,1\n");
}

}  // namespace
}  // namespace tavir::cli
