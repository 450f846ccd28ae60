// The layout the small shell dialogs share: their controls above, the buttons on
// the right below.
#pragma once

#include <initializer_list>

class QDialog;
class QLayout;
class QPushButton;
class QString;
class QWidget;

namespace baldo7 {

// A button under its control name; the default one answers Enter.
QPushButton* makeButton(const QString& text, const char* objectName, bool isDefault = false);

// A label and the field it names on one row; the field takes the spare width.
QLayout* labelledRow(QWidget* label, QWidget* field);

// `body` above, `buttons` right-aligned below it.
void layOutDialog(QDialog* dialog, QLayout* body, std::initializer_list<QPushButton*> buttons);

}  // namespace baldo7
