#pragma once
// Where the debugger would silently cut something off. It gives no message for these (the
// header is a C header in which such names are legal; a window shows what fits), so the checker
// warns of them in its own words.
#include <string>
#include <vector>

#include "definitions/object_tables.h"
#include "text_window.h"

namespace tavir::cli {

// Names of the header's defines longer than the name table, the object tables or the clearance
// table hold, and sections with more defines than their table takes. headerPath is read again.
void checkApplicationCutOffs(const char* headerPath, const ApplicationTables& tables,
                             std::vector<std::string>& warnings);

// Items that reach past the window's right edge, a doubled display that covers what stands to
// its right, and datum items too narrow for their six digits.
void checkWindowCutOffs(const char* path, const TextWindow& window, std::vector<std::string>& warnings);

}  // namespace tavir::cli
