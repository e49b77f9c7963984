#pragma once
// NSHomeDirectory() and ns::HomeDirectory::Scope are declared in NSPathUtilities.h, the platform's
// header for them; this name is kept for code that includes the function's own name.

#include "platform/foundation/NSPathUtilities.h"
