#pragma once
#include <cstddef>
#include <cstdint>
#include <map>

#include "sim_address.h"

namespace tavir::sim {

// The simulated controller's values, keyed by normalized address. A value never stored reads as
// 0, as an untouched variable of the controller would. The number of stored addresses is bounded,
// so that a client writing to every possible address cannot exhaust the process; a store to a new
// address beyond the bound is refused and the controller keeps what it had.
class ControllerMemory {
public:
    static constexpr size_t kCapacity = 200000;

    int32_t load(const SimAddress& address) const;
    bool contains(const SimAddress& address) const;
    // false when the address is new and the memory is full.
    bool store(const SimAddress& address, int32_t value);
    size_t size() const { return values_.size(); }

    // In address order: by function code, then number, then block.
    const std::map<uint32_t, int32_t>& entries() const { return values_; }

private:
    std::map<uint32_t, int32_t> values_;
};

}  // namespace tavir::sim
