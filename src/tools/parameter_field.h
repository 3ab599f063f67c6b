#pragma once
// One value field of a parameter kind as the tools see it: where it is asked for on the link,
// its table value, and the working fields in which the controller's answer is kept.
#include <cstdint>
#include <vector>

#include "definitions/object_tables.h"
#include "link/value_record.h"
#include "tools/parameter_kind.h"

namespace tavir {

struct ParameterField {
    ParameterKind kind;
    int pass;   // MG: 0 the MG time, k = 1..12 extra MG time k; HIAAT: 0 gap 1, 1 gap 2, 2 occupancy;
                // KLOK: 0 time 1, 1 time 2; other kinds 0
    int entry;  // index of the record in its table
    // functionCode, number and block of the requests for this field; spare and value 0.
    ValueRecord address;
    // The walk passes this field over: no request and no row (the progress bar still steps).
    bool skipped;
    double tableValue;   // switches and EGGPARMs: their integer
    const char* name;    // ONT: the from-name
    const char* toName;  // ONT only, else ""
    ControllerValue* controllerValue;
    ReceivedMark* received;

    bool isReceived() const { return received->load(std::memory_order_acquire) != 0; }
    int32_t controller() const { return controllerValue->load(std::memory_order_relaxed); }
};

// The two orders in which a kind's fields are taken.
enum class FieldOrder {
    kWalk,     // pass after pass, each over the whole table: the order of the requests and rows
    kByEntry,  // every field of one entry before the next entry: the order of the comparisons
};

// Every field of the kind, one per entry and pass, in the given order.
std::vector<ParameterField> kindFields(ApplicationTables& tables, ParameterKind kind, FieldOrder order);

}  // namespace tavir
