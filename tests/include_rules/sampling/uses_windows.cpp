// Refused: COM's wrappers and the Windows SDK belong to typelib/ alone.
#include <WRL/client.h>
#include <atlbase.h>
#include <comdef.h>
#include <combaseapi.h>
#include <windows.h>
// Refused: one bill folder never sees another.
#include "inspection/client_service_log.h"
// Allowed.
#include <vector>

#include "billops/audit.h"
