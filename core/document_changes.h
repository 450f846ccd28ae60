// How the document tells the open editors that its bytes changed: a range of
// snapshot offsets (radio addresses 0x000-0xFFF, then the software data), or
// everything after a new document, an open or a read. Editors keep no copy of the
// bytes, so each redraws from the document when a change touches what it shows.
#pragma once

#include <cstddef>
#include <functional>
#include <vector>

#include "core/document_history.h"

namespace baldo7 {

struct DocumentChange {
    std::size_t first = 0;
    std::size_t end = kSnapshotSize;  // one past the last offset
    const void* origin = nullptr;     // the editor whose edit it was, when it said so

    static DocumentChange everything() { return {}; }
    // The span of a recorded step (empty when the step is).
    static DocumentChange of(const MemoryChange& change);
    bool empty() const { return first >= end; }
    // Whether [from, to) overlaps the change.
    bool touches(std::size_t from, std::size_t to) const { return from < end && first < to; }
};

using ChangeObserver = std::function<void(const DocumentChange&)>;

// The document's observer list. A copy of a document starts with none: the
// editors watch the one they were given.
class ChangeObservers {
public:
    ChangeObservers() = default;
    ChangeObservers(const ChangeObservers&) {}
    // An assigned document keeps its own observers (and their ids).
    // cppcheck-suppress operatorEqVarError
    ChangeObservers& operator=(const ChangeObservers&) { return *this; }

    int add(ChangeObserver observer);
    void remove(int id);
    // Each observer present when the call starts and still present when its turn
    // comes is told once; an observer may add, remove or change the document.
    void announce(const DocumentChange& change);

private:
    struct Entry {
        int id;
        ChangeObserver observer;
    };
    std::vector<Entry> entries_;
    int nextId_ = 1;
};

}  // namespace baldo7
