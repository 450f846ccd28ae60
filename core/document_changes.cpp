#include "core/document_changes.h"

#include <algorithm>

namespace baldo7 {

DocumentChange DocumentChange::of(const MemoryChange& change) {
    if (change.empty()) return {0, 0};
    const ChangedRange& last = change.back();
    return {change.front().offset, last.offset + last.after.size()};
}

int ChangeObservers::add(ChangeObserver observer) {
    const int id = nextId_++;
    entries_.push_back({id, std::move(observer)});
    return id;
}

void ChangeObservers::remove(int id) {
    entries_.erase(std::remove_if(entries_.begin(), entries_.end(),
                                  [id](const Entry& e) { return e.id == id; }),
                   entries_.end());
}

void ChangeObservers::announce(const DocumentChange& change) {
    if (change.empty()) return;
    std::vector<int> ids;
    ids.reserve(entries_.size());
    for (const Entry& e : entries_) ids.push_back(e.id);
    for (const int id : ids) {
        const auto it = std::find_if(entries_.begin(), entries_.end(),
                                     [id](const Entry& e) { return e.id == id; });
        if (it == entries_.end()) continue;
        const ChangeObserver observer = it->observer;  // the entry may go meanwhile
        observer(change);
    }
}

}  // namespace baldo7
