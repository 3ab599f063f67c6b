#pragma once
#include <string>

#include "base/message_log.h"
#include "controller_memory.h"
#include "definitions/load_application.h"
#include "definitions/object_tables.h"
#include "sim_application.h"

namespace tavir::sim {

// The integer the controller holds for a table value: the product with the scale, rounded to
// the nearest integer (and held within 32 bits).
int32_t scaledValue(double value, double scale);

// Stores every parameter of the tables at the address and in the unit under which the parameter
// tools ask for it (clearance times 384 from/to, VG 320, GL 325, MG 326/331-336/339-344, detector
// times 465/466/463, timers 34, clocks 450/451, switches 420, EGGPARMs 33, EPARMs 32), so that a
// comparison against a freshly started simulator finds no difference. Entries those tools pass
// over are not stored. Gives the number of values stored.
int seedParameters(const ApplicationTables& tables, ControllerMemory& memory);

// A difference planted for an audit to find: the VG time of the first signal group one step (a
// tenth of a second) longer than the table gives. Gives that group's name, or empty without one.
std::string plantDifference(const ApplicationTables& tables, ControllerMemory& memory);

// The objects the plan runs: signal groups, detectors, clearance pairs and clocks.
SimApplication applicationFromTables(const ApplicationTables& tables);

// Reads the application in dir as the debugger does (LoadApplication); every line goes to log.
ApplicationLoad loadApplicationDirectory(const std::string& dir, ApplicationTables& tables, MessageLog& log);

}  // namespace tavir::sim
