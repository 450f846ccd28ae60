// Key filters of the channel windows applied to Qt key events.
#pragma once

#include <QKeyEvent>
#include <QLineEdit>

#include "core/codecs.h"

namespace baldo7 {

inline bool isEnterKey(const QKeyEvent* key) {
    return key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter;
}

// The character a key types, for the key filters; 0 for keys that type nothing
// (arrows, Delete, Ctrl combinations such as copy and paste), which pass unfiltered.
inline int typedCode(const QKeyEvent* key) {
    if (key->key() == Qt::Key_Backspace) return kKeyBackspace;
    if (key->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier)) return 0;
    const QString text = key->text();
    if (text.isEmpty() || text.at(0).unicode() < 0x20) return 0;
    return text.at(0).unicode();
}

// Applies a filter's answer: a refused key is eaten (true), a changed one (an
// upper-cased letter) is typed in its new form, an unchanged one goes on (false).
inline bool applyKeyFilter(QLineEdit* edit, int typed, int allowed) {
    if (allowed == 0) return true;
    if (allowed != typed) {
        edit->insert(QString(QChar(allowed)));
        return true;
    }
    return false;
}

}  // namespace baldo7
