// Allowed: the substitute host owns the database.
#include <sqlite3.h>
// Refused: the substitute host is not the COM server.
#include <oleauto.h>
