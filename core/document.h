// The one document of the program: the radio memory, the software data block, the
// file they belong to, their undo history, and the module-wide values every editor,
// tool and transfer works on. It tells its observers what changed; which windows
// are open and where they stand is the windows' own state (ui/app_state.h). The
// application owns one instance and hands it to everything by reference; tests
// build their own.
#pragma once

#include <functional>
#include <string>

#include "core/document_changes.h"
#include "core/document_history.h"
#include "core/radio_image.h"

namespace baldo7 {

struct Document {
    RadioImage radioImage{};
    SoftwareData softwareData{};
    ServiceMemory serviceMemory{};

    // Language and locale.
    bool IsEnglish = false;
    char DecimalSeparator = '.';

    // Serial port: a number (COMn on Windows) or, where there is none, a device name.
    int ComPortNumber = 1;
    std::string ComPortName;

    // Files. An empty path means the data has no file of its own: Save asks for a
    // name, proposing CurrentFileName.
    std::string CurrentFileName = "new.rdat";
    std::string CurrentFilePath;
    std::string TemplateFileName = "Init.dat";
    bool ReloadTemplate = false;
    bool FileHasHeader = true;

    // Password fields of the programming window, mirrored in softwareData[0..12].
    // Each character is one byte (Latin-1).
    std::string ProgramPassword;
    std::string NewPassword;
    bool ChangePasswordFlag = false;

    // Model and band limits in whole MHz (set by AnalyseModel).
    std::string ModelType;
    int BandLowMHz = 0;
    int BandHighMHz = 0;
    int BandTxHighMHz = 0;

    // The radio's answer to the last exchange: whether it takes the special code.
    bool SpecialCodeSupported = true;

    // Puts every module-wide value back to its start-up value; the memory arrays,
    // the language, the separator, the port and the history are left alone.
    void resetModuleState();
    // The data no longer belongs to the file that was open (New, a read, a model
    // change, a backup opened): the caption shows the start-up name and Save asks.
    void forgetFile();

    // ---- Undo history and the modified mark ---------------------------------------
    // Every user action that writes the memory (image, service memory, software data)
    // becomes one undo step. Wrap the action's writes in a DocumentEdit:
    //
    //     void FormX::ComboY_Click(int index) {
    //         DocumentEdit edit(doc_);   // one step, recorded when `edit` ends
    //         SetY(doc_.radioImage, index);
    //     }
    //
    // or call doc.commitChange() once the action's writes are done. A step holds the
    // byte ranges that differ from the last recorded state, so the writing code needs
    // no other change. Edits nest; only the outermost one records. A decode's own
    // normalising writes (an editor's Analyse routine) need no edit: they join the
    // next step. Nothing is recorded while no one listens (tests of a lone form).
    void commitChange();
    // True when the bytes a data file holds (the image and the software data) differ
    // from what was last opened, saved or read: the mark follows the file on disk, so
    // a write to the radio leaves it as it is. The service memory is the radio's
    // alone: reading or viewing it never marks the document.
    bool isModified() const;
    // The memory now matches its file (after Save).
    void markUnmodified();
    // New, Open, a read, a model change: the current memory is the start of a fresh
    // history and unmodified.
    void startHistory();
    // Undo (the step's before bytes) or redo (its after bytes): the model, the band
    // and the password fields follow the restored bytes, then the observers redraw.
    // What they normalise while redrawing is part of the restored state, not a step.
    void applyChange(const MemoryChange& change, bool undo);
    // The current memory becomes the recorded state without a step (a service read).
    void settleChange();
    MemorySnapshot snapshot() const;

    // Receives every recorded step; the main window keeps them for undo and redo.
    std::function<void(MemoryChange)> onChangeRecorded;

    // ---- Change announcements -----------------------------------------------------
    // Observers hear of every recorded step, every undo and redo (their span), and of
    // everything after startHistory. Bytes changed outside a step (a transfer) are
    // announced by whoever changed them.
    int observe(ChangeObserver observer) { return observers_.add(std::move(observer)); }
    void stopObserving(int id) { observers_.remove(id); }
    void announce(const DocumentChange& change) { observers_.announce(change); }

private:
    friend class DocumentEdit;
    MemorySnapshot recorded_{};
    MemorySnapshot unmodified_{};
    int editDepth_ = 0;
    const void* editOrigin_ = nullptr;
    ChangeObservers observers_;  // kept by assignment: they watch this object
};

// An editor's subscription, ended with the editor.
class DocumentObservation {
public:
    DocumentObservation(Document& doc, ChangeObserver observer)
        : doc_(doc), id_(doc.observe(std::move(observer))) {}
    ~DocumentObservation() { doc_.stopObserving(id_); }
    DocumentObservation(const DocumentObservation&) = delete;
    DocumentObservation& operator=(const DocumentObservation&) = delete;

private:
    Document& doc_;
    int id_;
};

// One user action's writes as one undo step (see Document::commitChange). An editor
// that redraws itself as it writes names itself as `origin`: the announcement then
// says so, and the editor can leave its own change alone.
class DocumentEdit {
public:
    explicit DocumentEdit(Document& doc, const void* origin = nullptr) : doc_(doc) {
        if (doc_.editDepth_++ == 0) doc_.editOrigin_ = origin;
    }
    ~DocumentEdit() {
        --doc_.editDepth_;
        doc_.commitChange();
    }
    DocumentEdit(const DocumentEdit&) = delete;
    DocumentEdit& operator=(const DocumentEdit&) = delete;

private:
    Document& doc_;
};

}  // namespace baldo7
