#include "windows/IncludeStack.h"

#include <algorithm>

IncludeDecision IncludeStack::enter(const std::wstring& identity) {
    if (std::find(open_.begin(), open_.end(), identity) != open_.end()) return IncludeDecision::alreadyReading;
    if (open_.size() >= maxDepth_) return IncludeDecision::tooDeep;
    if (filesRead_ >= maxFiles_) return IncludeDecision::tooMany;
    open_.push_back(identity);
    ++filesRead_;
    return IncludeDecision::read;
}

void IncludeStack::leave() {
    if (!open_.empty()) open_.pop_back();
}
