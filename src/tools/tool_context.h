#pragma once
// What a parameter tool's run needs from its surroundings. A dialog and a command-line front end
// both provide it, so the runs never touch a window: requests go down the transport, the time
// passes through the pacing's clock and waiter, and what a dialog would show (progress bar,
// message boxes) goes up the reporter.
#include "definitions/object_tables.h"
#include "link/transport.h"
#include "tools/pacing.h"

namespace tavir {

enum class ToolIcon { kInformation, kStop };

class ToolReporter {
public:
    virtual ~ToolReporter() = default;
    // A run or reset starts: position 0, range 0 to total, step 1.
    virtual void beginProgress(int total) = 0;
    // One entry was visited, whether or not a request went out for it.
    virtual void stepProgress() = 0;
    // A modal message: the run goes on when it returns (the dialog's message box).
    virtual void showMessage(const char* text, const char* caption, ToolIcon icon) = 0;
};

struct ToolContext {
    ApplicationTables& tables;  // the working fields are filled by the BatchValueStore
    Transport& transport;
    Pacing& pacing;
    ToolReporter& reporter;
};

}  // namespace tavir
