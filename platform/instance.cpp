// Single instance: one windowed game at a time.
#include "platform/host.h"

bool HostClaimSingleInstance() { return true; }
