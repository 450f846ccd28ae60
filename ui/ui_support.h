// Small helpers every form uses.
#pragma once

#include <QString>
#include <QStringList>

#include "core/pick_lists.h"
#include "core/texts.h"

namespace baldo7 {

// Twips to pixels at the usual 96 dots per inch (15 twips per pixel).
constexpr int twips(int value) {
    return (value + 7) / 15;
}

inline QString uiText(const BiText& text, bool isEnglish) {
    return QString::fromUtf8(text.pick(isEnglish));
}

inline QString uiText(const std::string& utf8) {
    return QString::fromStdString(utf8);
}

inline QStringList uiList(const PickList& list) {
    QStringList out;
    out.reserve(static_cast<int>(list.size()));
    for (const std::string& s : list) out << QString::fromStdString(s);
    return out;
}

// The window title every message box carries.
inline QString appTitle() {
    return uiText(texts::kAppTitle, true);
}

}  // namespace baldo7
