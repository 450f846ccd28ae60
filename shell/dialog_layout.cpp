#include "shell/dialog_layout.h"

#include <QDialog>
#include <QHBoxLayout>
#include <QPushButton>
#include <QString>

namespace baldo7 {

QPushButton* makeButton(const QString& text, const char* objectName, bool isDefault) {
    auto* button = new QPushButton(text);
    button->setObjectName(QString::fromLatin1(objectName));
    button->setDefault(isDefault);
    return button;
}

QLayout* labelledRow(QWidget* label, QWidget* field) {
    auto* row = new QHBoxLayout;
    row->addWidget(label);
    row->addWidget(field, 1);
    return row;
}

void layOutDialog(QDialog* dialog, QLayout* body, std::initializer_list<QPushButton*> buttons) {
    auto* row = new QHBoxLayout;
    row->addStretch();
    for (QPushButton* b : buttons) row->addWidget(b);
    auto* all = new QVBoxLayout(dialog);
    all->addLayout(body);
    all->addSpacing(8);
    all->addLayout(row);
}

}  // namespace baldo7
