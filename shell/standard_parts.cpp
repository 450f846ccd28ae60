#include "shell/standard_parts.h"

#ifdef BALDO7_HAVE_FUNCTION_FORMS
#include "functions/form_key_setting.h"
#include "functions/form_option.h"
#endif

namespace baldo7 {

ShellParts StandardShellParts() {
    ShellParts parts;
#ifdef BALDO7_HAVE_FUNCTION_FORMS
    parts.editors[EditorWindow::Option] =
        EditorType{[](Document& doc, EditorHost& host, QWidget* parent) -> QWidget* {
                       return new FormOption(doc, host, parent);
                   },
                   nullptr, [](QWidget* w) { static_cast<FormOption*>(w)->AnalyseOption(); }};
    parts.editors[EditorWindow::KeySetting] = EditorType{
        [](Document& doc, EditorHost& host, QWidget* parent) -> QWidget* {
            return new FormKeySetting(doc, host, parent);
        },
        nullptr, [](QWidget* w) { static_cast<FormKeySetting*>(w)->AnalyseKeySetting(); }};
#endif
    return parts;
}

}  // namespace baldo7
