#pragma once
// The keys and texts of texts/texts.xml, in file order.
#include <string>
#include <utility>
#include <vector>

namespace resgen {

std::vector<std::pair<std::string, std::string>> textEntries();

}  // namespace resgen
