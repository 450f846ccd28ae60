// What the channel windows share on the Qt side: the key filters applied to Qt key
// events, the out-of-range warning and the window sizes.
#pragma once

#include <QKeyEvent>
#include <QLineEdit>
#include <QSize>

#include "channels/tone_entry.h"
#include "core/codecs.h"
#include "core/texts.h"
#include "ui/editor_host.h"
#include "ui/ui_support.h"

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
    if (text.isEmpty() || text.at(0).unicode() < 0x20 || text.at(0).unicode() == 0x7F) return 0;
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

// The frequency boxes (key filter mode 1). Enter is left to the caller. True when
// the key was eaten.
inline bool filterFrequencyKey(QLineEdit* edit, const QKeyEvent* key, char separator) {
    const int typed = typedCode(key);
    if (typed == 0) return false;
    return applyKeyFilter(
        edit, typed,
        KeyFilter(edit->text().toStdString(), edit->hasSelectedText(), typed, 1, separator));
}

// The tone boxes. Enter is left to the caller. True when the key was eaten.
inline bool filterToneKey(QLineEdit* edit, const QKeyEvent* key, char separator) {
    const int typed = typedCode(key);
    if (typed == 0) return false;
    return applyKeyFilter(
        edit, typed,
        ToneKeyFilter(edit->text().toStdString(), edit->hasSelectedText(), typed, separator));
}

inline void warnFrequencyOutOfRange(EditorHost& host, bool isEnglish) {
    host.messages().show(MsgIcon::Warning, appTitle(),
                         uiText(texts::kFrequencyOutOfRange, isEnglish));
}

// A window's size in twips counts the title bar and borders, which the sub-window
// adds around the form.
inline QSize formSizeOfWindow(int widthTwips, int heightTwips) {
    constexpr int kFrameWidthTwips = 120;
    constexpr int kFrameHeightTwips = 450;
    return {twips(widthTwips - kFrameWidthTwips), twips(heightTwips - kFrameHeightTwips)};
}

}  // namespace baldo7
