#include "core/document.h"

#include <gtest/gtest.h>

using namespace baldo7;

namespace {

MemorySnapshot zeros() {
    MemorySnapshot s{};
    return s;
}

}  // namespace

TEST(DocumentHistory, DiffFindsEachChangedRunAndJoinsCloseOnes) {
    struct Case {
        const char* name;
        std::vector<std::size_t> changed;                         // offsets set to 1 in `after`
        std::vector<std::pair<std::size_t, std::size_t>> ranges;  // offset, length
    };
    const Case cases[] = {
        {"none", {}, {}},
        {"first byte", {0}, {{0, 1}}},
        {"last software byte", {kSnapshotSize - 1}, {{kSnapshotSize - 1, 1}}},
        {"one run", {16, 17, 18}, {{16, 3}}},
        {"gap of seven joins", {16, 24}, {{16, 9}}},
        {"gap of eight splits", {16, 25}, {{16, 1}, {25, 1}}},
        {"image and service apart", {0x3FF, 0x800}, {{0x3FF, 1}, {0x800, 1}}},
    };
    for (const Case& c : cases) {
        MemorySnapshot after = zeros();
        for (std::size_t at : c.changed) after[at] = 1;
        const MemoryChange change = DiffSnapshots(zeros(), after);
        ASSERT_EQ(change.size(), c.ranges.size()) << c.name;
        for (std::size_t i = 0; i < change.size(); ++i) {
            EXPECT_EQ(change[i].offset, c.ranges[i].first) << c.name;
            EXPECT_EQ(change[i].after.size(), c.ranges[i].second) << c.name;
            EXPECT_EQ(change[i].before.size(), change[i].after.size()) << c.name;
            for (std::size_t k = 0; k < change[i].after.size(); ++k)
                EXPECT_EQ(change[i].after[k], after[change[i].offset + k]) << c.name;
        }
    }
}

TEST(DocumentHistory, StepsUndoAndRedoAcrossAllThreeMemories) {
    Document doc;
    doc.radioImage.fill(0xFF);
    doc.startHistory();
    std::vector<MemoryChange> steps;
    doc.onChangeRecorded = [&](MemoryChange c) { steps.push_back(std::move(c)); };

    {
        DocumentEdit edit(doc);
        doc.radioImage[0x10] = 0x12;
        doc.serviceMemory[5] = 0x34;
        doc.softwareData[16] = 0x56;
    }
    ASSERT_EQ(steps.size(), 1u);
    EXPECT_LT(ChangeBytes(steps[0]), 16u);  // ranges, not whole memories
    EXPECT_TRUE(doc.isModified());

    doc.radioImage[0x20] = 0x01;
    doc.commitChange();
    ASSERT_EQ(steps.size(), 2u);

    doc.applyChange(steps[1], true);
    doc.applyChange(steps[0], true);
    EXPECT_EQ(doc.radioImage[0x10], 0xFF);
    EXPECT_EQ(doc.radioImage[0x20], 0xFF);
    EXPECT_EQ(doc.serviceMemory[5], 0x00);
    EXPECT_EQ(doc.softwareData[16], 0x00);
    EXPECT_FALSE(doc.isModified());

    doc.applyChange(steps[0], false);
    EXPECT_EQ(doc.radioImage[0x10], 0x12);
    EXPECT_EQ(doc.serviceMemory[5], 0x34);
    EXPECT_EQ(doc.softwareData[16], 0x56);
    EXPECT_EQ(doc.radioImage[0x20], 0xFF);
    EXPECT_TRUE(doc.isModified());
    // Applying a step is not itself a step.
    doc.commitChange();
    EXPECT_EQ(steps.size(), 2u);
}

TEST(DocumentHistory, NestedEditsAreOneStepAndEmptyEditsNone) {
    Document doc;
    doc.startHistory();
    int recorded = 0;
    doc.onChangeRecorded = [&](MemoryChange) { ++recorded; };
    {
        DocumentEdit outer(doc);
        doc.radioImage[1] = 1;
        {
            DocumentEdit inner(doc);
            doc.radioImage[900] = 2;
        }
        EXPECT_EQ(recorded, 0);
    }
    EXPECT_EQ(recorded, 1);
    { DocumentEdit nothing(doc); }
    {
        DocumentEdit same(doc);
        doc.radioImage[1] = 1;
    }
    EXPECT_EQ(recorded, 1);
}

TEST(DocumentHistory, ModifiedFollowsTheLastSavedStateAndSurvivesModuleReset) {
    Document doc;
    doc.startHistory();
    EXPECT_FALSE(doc.isModified());
    doc.radioImage[3] = 9;
    EXPECT_TRUE(doc.isModified());  // even a write outside any edit
    doc.markUnmodified();
    EXPECT_FALSE(doc.isModified());
    doc.radioImage[3] = 7;
    EXPECT_TRUE(doc.isModified());

    int recorded = 0;
    doc.onChangeRecorded = [&](MemoryChange) { ++recorded; };
    doc.resetModuleState();
    EXPECT_TRUE(doc.isModified());
    doc.commitChange();
    EXPECT_EQ(recorded, 1);  // the listener and the recorded state were kept

    doc.startHistory();
    EXPECT_FALSE(doc.isModified());
    doc.commitChange();
    EXPECT_EQ(recorded, 1);
}

// Every way the bytes change reaches the observers with the span it touched; a
// service read (service memory only) never marks the document, whose file holds
// the image and the software data.
TEST(DocumentHistory, ObserversHearStepsUndoRedoAndEverything) {
    Document doc;
    doc.startHistory();
    std::vector<MemoryChange> steps;
    doc.onChangeRecorded = [&](MemoryChange c) { steps.push_back(std::move(c)); };
    std::vector<std::pair<std::size_t, std::size_t>> heard;
    const int id = doc.observe([&](const DocumentChange& c) { heard.push_back({c.first, c.end}); });
    {
        DocumentEdit edit(doc);
        doc.radioImage[0x300] = 1;
        doc.radioImage[0x305] = 2;
    }
    { DocumentEdit nothing(doc); }
    doc.applyChange(steps.at(0), true);
    doc.applyChange(steps.at(0), false);
    doc.startHistory();
    const std::vector<std::pair<std::size_t, std::size_t>> expected = {
        {0x300, 0x306}, {0x300, 0x306}, {0x300, 0x306}, {0, kSnapshotSize}};
    EXPECT_EQ(heard, expected);

    // An observer may end its own or another's subscription while being told.
    int second = 0, third = 0;
    int thirdId = 0;
    const int secondId = doc.observe([&](const DocumentChange&) {
        ++second;
        doc.stopObserving(thirdId);
    });
    thirdId = doc.observe([&](const DocumentChange&) { ++third; });
    doc.announce(DocumentChange::everything());
    EXPECT_EQ(second, 1);
    EXPECT_EQ(third, 0);
    doc.stopObserving(id);
    doc.stopObserving(secondId);
    heard.clear();
    doc.announce(DocumentChange::everything());
    EXPECT_TRUE(heard.empty());
    const DocumentChange message{0x300, 0x340};
    EXPECT_TRUE(message.touches(0x33F, 0x340));
    EXPECT_FALSE(message.touches(0x340, 0x400));

    // A copy has no observers: the editors watch the one document.
    {
        DocumentObservation watching(doc, [&](const DocumentChange&) { ++second; });
        Document copy = doc;
        copy.announce(DocumentChange::everything());
        EXPECT_EQ(second, 1);
        doc = Document{};  // a new document in the same object keeps them
        doc.announce(DocumentChange::everything());
        EXPECT_EQ(second, 2);
    }
    doc.announce(DocumentChange::everything());
    EXPECT_EQ(second, 2);

    doc.startHistory();
    doc.serviceMemory[0x0B80 - kServiceBase] ^= 0xFF;
    EXPECT_FALSE(doc.isModified());
    doc.softwareData[0] ^= 0xFF;
    EXPECT_TRUE(doc.isModified());
}
