#include "shell/startup.h"

#include "core/codecs.h"
#include "shell/settings.h"
#include "shell/shell_texts.h"
#include "storage/data_store.h"
#include "ui/ui_support.h"

namespace baldo7 {

char DetectDecimalSeparator(const QLocale& locale) {
    return DetectDecimalSeparator(
        [&](double v) { return locale.toString(v, 'f', 1).toStdString(); });
}

StartUpResult RunStartUp(Document& doc, QSettings& settings, const QString& programFolder,
                         const QLocale& locale) {
    doc.DecimalSeparator = DetectDecimalSeparator(locale);
    ReadSettings(doc, settings);
    doc.resetModuleState();
    doc.TemplateFileName = "Init.dat";
    doc.ReloadTemplate = false;
    // LoadTemplate runs AnalyseModel and AnalyseSoftwareData on success.
    const LoadResult r = LoadTemplate(doc, programFolder);
    if (r.ok()) return {};
    QString where = TemplatePath(doc, programFolder);
    if (!r.detail.isEmpty()) where += QStringLiteral(" (") + r.detail + QLatin1Char(')');
    return {false, uiText(shelltexts::kTemplateMissing, doc.IsEnglish).arg(where) +
                       QLatin1Char('\n') + uiText(shelltexts::kCannotStart, doc.IsEnglish)};
}

}  // namespace baldo7
