#include "core/document_history.h"

namespace baldo7 {

namespace {
// Joining runs this close costs fewer bytes than a second range's bookkeeping.
constexpr std::size_t kJoinGap = 8;
}  // namespace

MemoryChange DiffSnapshots(const MemorySnapshot& before, const MemorySnapshot& after) {
    MemoryChange change;
    std::size_t i = 0;
    while (i < kSnapshotSize) {
        if (before[i] == after[i]) {
            ++i;
            continue;
        }
        std::size_t end = i + 1;  // one past the last differing byte of this range
        for (std::size_t j = end; j < kSnapshotSize && j < end + kJoinGap; ++j) {
            if (before[j] != after[j]) end = j + 1;
        }
        ChangedRange range;
        range.offset = static_cast<std::uint16_t>(i);
        range.before.assign(before.begin() + i, before.begin() + end);
        range.after.assign(after.begin() + i, after.begin() + end);
        change.push_back(std::move(range));
        i = end;
    }
    return change;
}

std::size_t ChangeBytes(const MemoryChange& change) {
    std::size_t bytes = 0;
    for (const ChangedRange& r : change) bytes += r.before.size() + r.after.size();
    return bytes;
}

}  // namespace baldo7
