#pragma once
#include <cstddef>
#include <cstdint>

namespace tavir::sim {

class LinkOutput;

// What the runner's links talk to: the simulated controller, or a recorded controller played
// back. Time is handed in (microseconds of the runner's clock); the caller is one thread.
class ControllerSide {
public:
    virtual ~ControllerSide() = default;
    // A link's connection; the id is given to receive and closeSession.
    virtual int openSession(LinkOutput& output, const char* linkName, int64_t now) = 0;
    virtual void closeSession(int id, int64_t now) = 0;
    virtual void receive(int id, const uint8_t* bytes, size_t count, int64_t now) = 0;
    // Does the work that is due at now; nextDeadline says when there is work next.
    virtual void advance(int64_t now) = 0;
    virtual int64_t nextDeadline() const = 0;
};

}  // namespace tavir::sim
