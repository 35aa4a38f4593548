// Refused: frame/ sees the standard library only, and project headers by their folder.
#include <sqlite3.h>

#include "billops/audit.h"
#include "values.h"
