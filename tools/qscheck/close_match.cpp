#include "close_match.h"

#include <algorithm>

#include "lint_script.h"
#include "process_names.h"

namespace quillset {
namespace {

std::size_t lengthDifference(const std::string& a, const std::string& b) {
    return a.size() > b.size() ? a.size() - b.size() : b.size() - a.size();
}

// The edit distance of `a` and `b` when it is at most `limit`, else limit + 1. Only the cells
// within `limit` of the table's diagonal can hold such a distance: they cost (2 * limit + 1) a
// character of `a` at most, however long the texts (a run of script text taken for a name), and
// the work stops at the first row where all of them are over the limit. `previous` and `current`
// are the table's rows, kept by the caller for the next comparison; `cells` counts the work.
std::size_t editDistanceWithin(const std::string& a, const std::string& b, std::size_t limit,
                               std::vector<std::size_t>& previous, std::vector<std::size_t>& current,
                               std::size_t& cells) {
    const std::size_t over = limit + 1, m = a.size(), n = b.size();
    previous.assign(n + 2, over);
    current.assign(n + 2, over);
    cells += n + 2;
    for (std::size_t j = 0; j <= std::min(n, limit); ++j) previous[j] = j;
    for (std::size_t i = 1; i <= m; ++i) {
        const std::size_t from = i > limit ? i - limit : 1, to = std::min(n, i + limit);
        current[0] = i <= limit ? i : over;
        current[from - 1] = from > 1 ? over : current[0];  // left of the band
        current[to + 1] = over;                            // right of it, read by the next row
        std::size_t least = current[0];
        for (std::size_t j = from; j <= to; ++j) {
            std::size_t cell = previous[j - 1] + (a[i - 1] == b[j - 1] ? 0 : 1);
            if (previous[j] + 1 < cell) cell = previous[j] + 1;
            if (current[j - 1] + 1 < cell) cell = current[j - 1] + 1;
            current[j] = cell < over ? cell : over;
            if (current[j] < least) least = current[j];
        }
        cells += to + 1 - from + 1;
        if (least == over) return over;
        std::swap(previous, current);
    }
    return std::min(previous[n], over);
}

// The most edits closeMatch allows for a name of this length: two edits are a typing slip in a
// long name, a different word in a short one.
std::size_t editsAllowed(const std::string& name) {
    return name.empty() ? 0 : std::min<std::size_t>(2, (name.size() - 1) / 3);
}

// The first of the candidates nearest to `lower` within the edits allowed that differs by at least
// one edit (case differences are found apart), or npos. `cellsLeft` counts down the work; when it
// runs out the search gives up (npos).
std::size_t nearest(const std::string& lower, const std::vector<std::string>& lowerCandidates, std::size_t& cellsLeft) {
    std::size_t best = std::string::npos, bestDistance = editsAllowed(lower) + 1;
    std::vector<std::size_t> previous, current;
    for (std::size_t c = 0; c < lowerCandidates.size() && bestDistance > 1; ++c) {
        const std::size_t limit = bestDistance - 1;
        const std::string& candidate = lowerCandidates[c];
        if (lengthDifference(lower, candidate) > limit) continue;
        if (cellsLeft == 0) return std::string::npos;
        std::size_t cells = 0;
        const std::size_t distance = editDistanceWithin(lower, candidate, limit, previous, current, cells);
        cellsLeft -= std::min(cells, cellsLeft);
        if (distance > 0 && distance < bestDistance) {
            best = c;
            bestDistance = distance;
        }
    }
    return best;
}

}  // namespace

std::string closeMatch(const std::string& name, const std::vector<std::string>& candidates) {
    const std::string lower = lowerCaseAscii(name);
    std::vector<std::string> lowerCandidates;
    for (const std::string& candidate : candidates) {
        lowerCandidates.push_back(lowerCaseAscii(candidate));
        if (!name.empty() && lowerCandidates.back() == lower) return candidate;
    }
    std::size_t unlimited = static_cast<std::size_t>(-1);  // a short list of the tool's own words
    const std::size_t found = nearest(lower, lowerCandidates, unlimited);
    return found == std::string::npos ? "" : candidates[found];
}

std::string didYouMean(const std::string& name, const std::vector<std::string>& candidates) {
    const std::string match = closeMatch(name, candidates);
    return match.empty() ? "" : "; did you mean " + quoted(match) + "?";
}

NameSuggestions::NameSuggestions(std::vector<std::string> names)
    : candidates_(std::move(names)), names_(candidates_.begin(), candidates_.end()) {
    for (std::size_t c = 0; c < candidates_.size(); ++c) {
        lowerCase_.push_back(lowerCaseAscii(candidates_[c]));
        firstOfLowerCase_.emplace(lowerCase_.back(), c);  // the first stays
    }
}

std::string NameSuggestions::closeMatch(const std::string& name) {
    const std::string lower = lowerCaseAscii(name);
    const auto sameLetters = firstOfLowerCase_.find(lower);
    if (!name.empty() && sameLetters != firstOfLowerCase_.end()) return candidates_[sameLetters->second];
    if (budgetLeft_ == 0) return "";
    const std::size_t found = nearest(lower, lowerCase_, budgetLeft_);
    return found == std::string::npos ? "" : candidates_[found];
}

const std::string& NameSuggestions::didYouMean(const std::string& name) {
    const auto told = answers_.find(name);
    if (told != answers_.end()) return told->second;
    const std::string match = closeMatch(name);
    return answers_.emplace(name, match.empty() ? "" : "; did you mean " + quoted(match) + "?").first->second;
}

}  // namespace quillset
