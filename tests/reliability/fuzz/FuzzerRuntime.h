#pragma once
// The one runtime the fuzz targets' values are made in, put in force once for the process.

#include "platform/runtime/Runtime.h"

namespace fuzzing {

/// Makes a runtime current for the rest of the process.
inline void useRuntime() {
    static rt::Runtime runtime;
    static rt::Runtime::Scope scope(runtime);
}

} // namespace fuzzing
