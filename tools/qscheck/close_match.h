// The name a misspelt one was most likely meant to be, for the hints of lint's warnings
// ("...; did you mean 'APPNAME'?").
#pragma once

#include <cstddef>
#include <string>
#include <unordered_map>
#include <unordered_set>
#include <vector>

namespace quillset {

// The candidate that `name` was most likely meant to be: the first that differs only in case, else
// the first of the nearest within two edits (letters compared ignoring case; a name of four to six
// characters may differ by one edit, a shorter one only in case). Empty when none is close.
std::string closeMatch(const std::string& name, const std::vector<std::string>& candidates);
// ", did you mean 'X'?" for the close match, or nothing.
std::string didYouMean(const std::string& name, const std::vector<std::string>& candidates);

// The same over the names a script declares (sections, controls, variables), which may be
// thousands, asked about names that may be thousands too: each name is looked up once, a case
// difference is found in an index, and comparing letter by letter, which goes through the names,
// stops for good when it has cost kComparisonBudget in all; from then on only case differences
// are found. So a script of many misspelt names costs lint a bounded time, not one proportional
// to the names times the misspellings. A real script stays far below the bound: ten misspellings
// among 1,000 names of ten letters cost at most some 600,000.
class NameSuggestions {
public:
    // Cells of the edit distance tables worked out, over all names asked: a few milliseconds in
    // the optimised tool, under a second in the fuzz build.
    static constexpr std::size_t kComparisonBudget = 2000000;

    explicit NameSuggestions(std::vector<std::string> names);

    bool contains(const std::string& name) const { return names_.count(name) != 0; }
    // didYouMean(name, names).
    const std::string& didYouMean(const std::string& name);

private:
    std::string closeMatch(const std::string& name);

    std::vector<std::string> candidates_, lowerCase_;  // in the order given, and in lower case
    std::unordered_set<std::string> names_;
    std::unordered_map<std::string, std::size_t> firstOfLowerCase_;
    std::unordered_map<std::string, std::string> answers_;
    std::size_t budgetLeft_ = kComparisonBudget;
};

}  // namespace quillset
