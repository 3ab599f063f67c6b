#include "definitions/object_tables.h"

namespace tavir {

namespace {
// Static storage: zero everywhere before the first header is read.
ApplicationTables tables;
}  // namespace

ApplicationTables& programTables() {
    return tables;
}

}  // namespace tavir
