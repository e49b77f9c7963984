#pragma once
// Readable names for the cases of parameterised tests. A test's name may hold only letters, digits
// and '_', and CTest lists it under that name, so each instantiation names its cases after what
// they are about rather than after their index or their bytes.

#include <gtest/gtest.h>

#include <string>
#include <string_view>

namespace testing_support {

/// `text` (without the quotes of a printed string) made into a test name: runs of letters and digits are kept
/// and joined by '_'; a '-' before a number or "inf" reads "minus", blanks at either end read "blank", and a
/// control or non-ASCII byte reads "xHH"; a text of punctuation alone is spelled out ("dash", "dot",
/// "hash"...), quotes left out, and nothing at all reads "empty". The name is cut to about 60
/// characters.
std::string caseName(std::string_view text);

/// `name`, or `name` with a number added when an earlier case of the same instantiation (index
/// 0 starts a new one) already has it. GoogleTest names one instantiation's cases in order.
std::string uniqueCaseName(const std::string& name, std::size_t index);

/// Names each case after its printed parameter (its PrintTo or operator<<) through caseName.
/// Two cases that would get the same name are told apart by a number ("_2") on the later one.
struct PrintedName {
    template <class Param>
    std::string operator()(const ::testing::TestParamInfo<Param>& info) const {
        return uniqueCaseName(caseName(::testing::PrintToString(info.param)), info.index);
    }
};

} // namespace testing_support
