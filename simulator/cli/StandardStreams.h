#pragma once
// The program's three standard streams, guarded at both ends of a run. At the start a stream
// that was closed by the caller gets a placeholder that refuses writes, so that no file the
// program opens later (a saved-times file, a picture) can take its number and receive the
// program's output, and std::cout is given a buffer that remembers why a write failed. At the
// end standard output is flushed and closed, and a write that failed (a full disk, /dev/full, a
// closed descriptor) is reported: the text is what the user asked for, and a status 0 would say
// it arrived.

#include <string>

namespace sim {

/// Puts a placeholder on each of descriptors 0, 1 and 2 that is not open (/dev/null opened for
/// reading, so that reads see an empty input and writes fail with EBADF as on a closed
/// descriptor), and routes std::cout through a buffer of ours that writes descriptor 1. Called
/// once, first thing in main.
void guardStandardStreams();

/// Flushes std::cout and closes descriptor 1. Empty when everything written arrived (or nothing
/// was written to a closed descriptor), else one line saying the output is incomplete and why.
std::string closeStandardOutput();

} // namespace sim
