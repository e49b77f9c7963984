#pragma once
// The Clock application's tabs as the simulator names them: the word a script writes and the
// title the tab bar shows. The `tab` command, its usage line, completion and the inspector's
// search for the Saved tab all read this one list.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace sim {

/// One tab: the word for it in scripts and the title on its tab bar item.
struct TabName {
    std::string_view word;
    std::string_view title;
};

/// The named tabs, in the order the tab bar shows them when the add-on is loaded.
const std::vector<TabName>& tabNames();

/// Every word `tab` accepts: the names, then the positions "1" to "5".
const std::vector<std::string>& tabWords();

/// The tab bar title for a tab's name; nullopt for a position or an unknown word.
std::optional<std::string_view> tabTitle(std::string_view word);

/// The title of the add-on's tab, "Saved".
std::string_view savedTabTitle();

} // namespace sim
