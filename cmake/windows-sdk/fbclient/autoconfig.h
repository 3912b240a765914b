// The client library is built with the settings of the Windows (MSVC) build.
#include "autoconfig_msvc.h"
