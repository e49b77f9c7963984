#pragma once
// One line on standard error for each change the store wrote, when LAPVANE_TRACE names "store":
// which record (by its date, as the file holds it) went where. Written while the writers' lock
// is still held, right after the write, so that the lines of all processes on one file follow
// the order of their writes. Tools that check a history of concurrent sessions read them.

#include "platform/runtime/Forward.h"

#include <string>

namespace lv::storetrace {

/// True when the "store" channel is on.
[[nodiscard]] bool on();
/// The record's date as the file's XML writes it (`2026-12-07T08:38:09Z`), or `no-date`.
[[nodiscard]] std::string recordName(const id& record);
/// A section name in double quotes, its quotes, backslashes and control characters escaped.
[[nodiscard]] std::string quoted(const std::string& name);
/// Logs `capture DATE to "NAME"`, `delete DATE from "NAME"`, `move DATE from "A" to "B"`,
/// `add "NAME"` and the like.
void stored(const std::string& change);

} // namespace lv::storetrace
