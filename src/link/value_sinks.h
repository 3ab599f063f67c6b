#pragma once
#include <cstdint>

#include "link/value_record.h"

namespace tavir {

// Where a decoded record goes. The batch tools implement the first, debugger window number 1
// the second; both are called on the receiving thread.
class BatchValueSink {
public:
    virtual ~BatchValueSink() = default;
    virtual void OnBatchValue(const ValueRecord& record) = 0;
    // After the values of one read from the link: a sink that passes values on can pass them on
    // together.
    virtual void OnBatchEnd() {}
};

class WindowValueSink {
public:
    virtual ~WindowValueSink() = default;
    virtual void OnWindowValue(uint8_t kind, const ValueRecord& record) = 0;
};

// What the decoder calls for every complete frame.
class ValueDelivery {
public:
    virtual ~ValueDelivery() = default;
    virtual void deliver(uint8_t kind, const ValueRecord& record) = 0;
};

}  // namespace tavir
