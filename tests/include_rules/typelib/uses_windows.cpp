// Allowed: the COM server is where the Windows SDK is used.
#include <atlbase.h>
#include <windows.h>

#include "frame/values.h"
