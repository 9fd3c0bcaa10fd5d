#pragma once
// Names compared without regard to case: Unicode's simple case folding of
// the Latin, Greek and Cyrillic letters, everything else as it is, the same
// on every desktop whatever its language (see name_case.cpp).

#include <string_view>

namespace tunevox::radioset {

// Negative, zero or positive, as a comes before, equals or follows b.
int CompareNamesIgnoringCase(std::string_view a, std::string_view b);
bool SameNameIgnoringCase(std::string_view a, std::string_view b);

} // namespace tunevox::radioset
