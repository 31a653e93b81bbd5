#include "search/wildcard.h"

namespace kelvara {

namespace {

bool IsBusy(const std::atomic<int32_t>& busy) {
    return busy.load(std::memory_order_relaxed) != 0;
}

bool IsTrimmedSpace(char16_t c) {
    return c == u' ' || c == u'\t' || c == u'\n' || c == u'\v' || c == u'\f' || c == u'\r';
}

}  // namespace

bool MatchWildcard(std::u16string_view name, std::u16string_view pattern,
                   const std::atomic<int32_t>& busy) {
    const size_t nameEnd = name.size();
    const size_t patternEnd = pattern.size();
    size_t n = 0;
    size_t p = 0;
    bool stopped = false;

    // Up to the first "*" both advance in step.
    while (n < nameEnd && (p == patternEnd || pattern[p] != u'*')) {
        if (!IsBusy(busy)) {
            stopped = true;
            break;
        }
        if (p == patternEnd || (pattern[p] != u'?' && pattern[p] != name[n])) return false;
        ++p;
        ++n;
    }

    if (!stopped) {
        constexpr size_t kUnset = static_cast<size_t>(-1);
        size_t starPattern = kUnset;  // just past the last "*"
        size_t starName = kUnset;     // where that "*" will try to end next
        while (n < nameEnd) {
            if (!IsBusy(busy)) break;
            if (p < patternEnd && pattern[p] == u'*') {
                if (++p == patternEnd) return true;
                starPattern = p;
                starName = n + 1;
            } else if (p < patternEnd && (pattern[p] == u'?' || pattern[p] == name[n])) {
                ++p;
                ++n;
            } else {
                // Only reachable after a "*": the first loop stops at one or at the name's end.
                if (starPattern == kUnset) return false;
                p = starPattern;
                n = starName++;
            }
        }
    }

    while (p < patternEnd && pattern[p] == u'*') ++p;
    return p == patternEnd;
}

std::u16string MakeSearchPattern(std::u16string_view typed) {
    size_t first = 0;
    size_t last = typed.size();
    while (first < last && IsTrimmedSpace(typed[first])) ++first;
    while (last > first && IsTrimmedSpace(typed[last - 1])) --last;
    std::u16string pattern(typed.substr(first, last - first));
    if (!pattern.empty() && pattern.find(u'*') == std::u16string::npos) {
        pattern = u"*" + pattern + u"*";
    }
    return pattern;
}

}  // namespace kelvara
