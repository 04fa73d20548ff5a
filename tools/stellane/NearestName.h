// "Did you mean": the candidate closest to a mistyped name.
#pragma once

#include <string>
#include <vector>

namespace cli {

// The candidate with the fewest single-letter edits from `word` (letter case
// ignored), or "" when even the closest needs more edits than a third of its
// length, plus one.
std::string NearestName(const std::string& word, const std::vector<std::string>& candidates);

// " (did you mean \"NAME\"?)" for the nearest candidate, or "".
std::string DidYouMean(const std::string& word, const std::vector<std::string>& candidates);

}  // namespace cli
