#pragma once
// The differences run of one controller as `diff` makes it, for `diff` and for each controller of
// an `audit`: the same requests in the same order and at the same pace.
#include "tool_session.h"

namespace tavir::cli {

// Reads the selected kinds, asks again for lost answers, and writes the differences to
// options.out. Gives 0, 1 for differences, 2 or 3 as runToolSession does; after and prepare as
// there.
int runDifferencesSession(ToolSession& session, const ToolOptions& options, const ToolStep& after = nullptr,
                          const ToolStep& prepare = nullptr);

}  // namespace tavir::cli
