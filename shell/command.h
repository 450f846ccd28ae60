// A command of the main window: one QAction, with its texts in both languages,
// shared by its menu item, its toolbar button and its tree node. The main window
// makes its own; the application registers the features' where it composes them.
#pragma once

#include <QKeySequence>
#include <QList>
#include <functional>
#include <optional>

#include "core/texts.h"
#include "shell/shell_pictures.h"

class QAction;

namespace baldo7 {

class MDIFormMain;
enum class EditorWindow;

// The menus of the menu bar, left to right.
enum class CommandMenu { None, File, Model, Edit, Program, Tool, Setting, View, Window, Help };

// The groups of the main window's menus that the features' commands join.
namespace commandgroup {
constexpr int kFileData = 1;   // File: after Backups (import, export)
constexpr int kFilePrint = 2;  // File: before Exit
constexpr int kEditors = 1;    // Edit: after Undo and Redo
}  // namespace commandgroup

struct Command {
    Command(const char* objectName, BiText caption) : name(objectName), text(caption) {}

    // Menu item in `m`, in group `g`: groups in ascending order with a separator
    // between two, the commands of a group in the order they were made.
    Command& in(CommandMenu m, int g = 0) {
        menu = m;
        group = g;
        return *this;
    }
    Command& key(const QKeySequence& k) {
        keys << k;
        return *this;
    }
    // Shown only in the service configuration.
    Command& serviceOnly() {
        service = true;
        return *this;
    }
    // A node of the editor tree, with the caption without its '&'.
    Command& node(const char* treeKey) {
        tree = treeKey;
        return *this;
    }
    // A toolbar button at `position` (ascending); its caption is the same in both
    // languages, its tool tip is not. `groupEnd`: a separator follows.
    Command& button(int position, const char* caption, BiText tip, ToolIcon icon,
                    bool groupEnd = false) {
        buttonPosition = position;
        buttonCaption = caption;
        buttonTip = tip;
        buttonIcon = icon;
        buttonGroupEnd = groupEnd;
        return *this;
    }
    // Opens (or brings to the front) an editor window; shown only when the program
    // has it. `cascade`: a window opened anew cascades the others.
    Command& opens(EditorWindow window, bool cascade = false) {
        editor = window;
        cascadeWhenNew = cascade;
        return *this;
    }
    // What the command does; a command without it is not part of this program and
    // stays hidden.
    Command& runs(std::function<void(MDIFormMain&)> f) {
        run = std::move(f);
        return *this;
    }
    // A modal tool: its changes are one undo step, whatever it records itself.
    Command& modalTool() {
        oneStep = true;
        return *this;
    }
    // The grid's cell being typed goes along (printing).
    Command& takesTypedCell() {
        commitsGrid = true;
        return *this;
    }
    // A check item, on at start.
    Command& toggles(std::function<void(MDIFormMain&, bool)> f) {
        toggle = std::move(f);
        return *this;
    }
    // A submenu (its items made when it opens).
    Command& submenu() {
        isSubmenu = true;
        return *this;
    }
    // Anything else the action needs once it is made.
    Command& setUp(std::function<void(MDIFormMain&, QAction&)> f) {
        prepare = std::move(f);
        return *this;
    }

    const char* name;  // the action's object name ("MenuRead")
    BiText text;
    CommandMenu menu = CommandMenu::None;
    int group = 0;
    QList<QKeySequence> keys;
    bool service = false;
    const char* tree = nullptr;
    int buttonPosition = 0;
    const char* buttonCaption = nullptr;
    BiText buttonTip{};
    ToolIcon buttonIcon = ToolIcon::New;
    bool buttonGroupEnd = false;
    std::optional<EditorWindow> editor;
    bool cascadeWhenNew = false;
    bool oneStep = false;
    bool commitsGrid = false;
    bool isSubmenu = false;
    std::function<void(MDIFormMain&)> run;
    std::function<void(MDIFormMain&, bool)> toggle;
    std::function<void(MDIFormMain&, QAction&)> prepare;
};

}  // namespace baldo7
