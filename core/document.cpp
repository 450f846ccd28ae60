#include "core/document.h"

#include <algorithm>
#include <utility>

#include "core/model_band.h"
#include "core/software_data.h"

namespace baldo7 {

void Document::resetModuleState() {
    Document fresh;
    fresh.radioImage = radioImage;
    fresh.softwareData = softwareData;
    fresh.serviceMemory = serviceMemory;
    fresh.IsEnglish = IsEnglish;
    fresh.DecimalSeparator = DecimalSeparator;
    fresh.ComPortNumber = ComPortNumber;
    fresh.ComPortName = ComPortName;
    fresh.onChangeRecorded = std::move(onChangeRecorded);
    fresh.recorded_ = recorded_;
    fresh.unmodified_ = unmodified_;
    fresh.editDepth_ = editDepth_;
    *this = std::move(fresh);
}

void Document::forgetFile() {
    CurrentFilePath.clear();
    CurrentFileName = Document{}.CurrentFileName;
}

MemorySnapshot Document::snapshot() const {
    MemorySnapshot s;
    auto out = std::copy(radioImage.begin(), radioImage.end(), s.begin());
    out = std::copy(serviceMemory.begin(), serviceMemory.end(), out);
    std::copy(softwareData.begin(), softwareData.end(), out);
    return s;
}

void Document::commitChange() {
    if (editDepth_ > 0) return;
    const void* origin = std::exchange(editOrigin_, nullptr);
    const MemorySnapshot now = snapshot();
    if (now == recorded_) return;
    MemoryChange change = DiffSnapshots(recorded_, now);
    recorded_ = now;
    DocumentChange span = DocumentChange::of(change);
    span.origin = origin;
    if (onChangeRecorded) onChangeRecorded(std::move(change));
    observers_.announce(span);
}

bool Document::isModified() const {
    const MemorySnapshot now = snapshot();
    return !std::equal(now.begin(), now.begin() + kImageSize, unmodified_.begin()) ||
           !std::equal(now.begin() + kSnapshotSoftwareData, now.end(),
                       unmodified_.begin() + kSnapshotSoftwareData);
}

void Document::markUnmodified() {
    unmodified_ = snapshot();
}

void Document::startHistory() {
    recorded_ = snapshot();
    unmodified_ = recorded_;
    observers_.announce(DocumentChange::everything());
}

void Document::settleChange() {
    recorded_ = snapshot();
}

void Document::applyChange(const MemoryChange& change, bool undo) {
    for (const ChangedRange& range : change) {
        const std::vector<std::uint8_t>& bytes = undo ? range.before : range.after;
        for (std::size_t i = 0; i < bytes.size(); ++i) {
            const std::size_t at = range.offset + i;
            if (at < kServiceBase)
                radioImage[at] = bytes[i];
            else if (at < kSnapshotSoftwareData)
                serviceMemory[at - kServiceBase] = bytes[i];
            else if (at < kSnapshotSize)
                softwareData[at - kSnapshotSoftwareData] = bytes[i];
        }
    }
    AnalyseModel(*this);
    AnalyseSoftwareData(*this);
    settleChange();
    observers_.announce(DocumentChange::of(change));
    settleChange();
}

}  // namespace baldo7
