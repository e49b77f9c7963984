#include "simulator/device/TabNames.h"

namespace sim {

const std::vector<TabName>& tabNames() {
    static const std::vector<TabName> names = {
        {"world", "World Clock"},   {"alarm", "Alarm"}, {"timer", "Timer"},
        {"stopwatch", "Stopwatch"}, {"saved", "Saved"},
    };
    return names;
}

const std::vector<std::string>& tabWords() {
    static const std::vector<std::string> words = [] {
        std::vector<std::string> all;
        for (const auto& tab : tabNames()) {
            all.emplace_back(tab.word);
        }
        // A position counts in the bar as it stands, which holds at most five tabs.
        for (char position = '1'; position <= '5'; ++position) {
            all.emplace_back(1, position);
        }
        return all;
    }();
    return words;
}

std::optional<std::string_view> tabTitle(std::string_view word) {
    for (const auto& tab : tabNames()) {
        if (tab.word == word) {
            return tab.title;
        }
    }
    return std::nullopt;
}

std::string_view savedTabTitle() {
    return *tabTitle("saved");
}

} // namespace sim
