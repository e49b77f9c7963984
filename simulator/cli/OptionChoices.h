#pragma once
// Options that take one of a fixed set of words (--device, --format). The check refuses another
// word in our own words, and describes the set as "{a,b,c}" after the value's name, where the
// help, the manual page and the completion read the choices back.

#include <string>
#include <vector>

namespace CLI {
class Validator;
}

namespace sim {

/// A check that accepts exactly the words of `choices`; its refusal names the word given and
/// lists the choices ("\"ipad2\" is not one of iphone-3.5, iphone-4, ipad").
CLI::Validator oneOf(const std::vector<std::string>& choices);

/// The choices in an option's full type name as CLI11 gives it ("KIND:{a,b}" is a and b); empty
/// when the option takes any value.
std::vector<std::string> choicesInTypeName(const std::string& typeName);

} // namespace sim
