#include "controller_memory.h"

namespace tavir::sim {

int32_t ControllerMemory::load(const SimAddress& address) const {
    auto found = values_.find(addressKey(address));
    return found == values_.end() ? 0 : found->second;
}

bool ControllerMemory::contains(const SimAddress& address) const {
    return values_.count(addressKey(address)) != 0;
}

bool ControllerMemory::store(const SimAddress& address, int32_t value) {
    uint32_t key = addressKey(address);
    auto found = values_.find(key);
    if (found != values_.end()) {
        found->second = value;
        return true;
    }
    if (values_.size() >= kCapacity) return false;
    values_.emplace(key, value);
    return true;
}

}  // namespace tavir::sim
