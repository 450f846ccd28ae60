// Picks a list entry as a user does: opens the list and takes the entry with Enter,
// which reports a pick even of the entry already shown.
#pragma once

#include <QAbstractItemView>
#include <QComboBox>
#include <QtTest>

namespace baldo7 {

inline void pick(QComboBox* combo, int index) {
    combo->showPopup();
    QAbstractItemView* view = combo->view();
    view->setCurrentIndex(view->model()->index(index, 0));
    QTest::keyClick(view, Qt::Key_Return);
    QTRY_VERIFY(!view->isVisible());
}

// The texts of a list's entries, in order.
inline QStringList entries(const QComboBox* combo) {
    QStringList out;
    for (int i = 0; i < combo->count(); ++i) out << combo->itemText(i);
    return out;
}

}  // namespace baldo7
