// The report on paper and on screen: one HTML text that Qt's document classes lay
// out for a printer, a PDF file or a preview, and that a browser shows as it is.
#pragma once

#include <QString>

#include "print/print_report.h"

class QPagedPaintDevice;
class QTextDocument;

namespace baldo7 {

// One self-contained page: UTF-8, styles inline, no outside resources.
QString ReportHtml(const Report& report);

// The report laid out in `doc` (its default font set for print).
void FillReportDocument(QTextDocument& doc, const Report& report);

// Pages onto a printer or PDF writer, numbered at the foot.
void PrintReport(const Report& report, QPagedPaintDevice& device);

// A4 landscape PDF or the HTML page, written atomically: a failure leaves an existing
// file whole and says why in `error`.
bool WriteReportPdf(const Report& report, const QString& path, QString* error = nullptr);
bool WriteReportHtml(const Report& report, const QString& path, QString* error = nullptr);

}  // namespace baldo7
