// The report on paper and on screen: drawn page by page for a printer, a PDF file or
// a preview, and as one HTML page for a browser.
#pragma once

#include <QPageLayout>
#include <QString>

#include "print/print_report.h"

class QPageLayout;
class QPagedPaintDevice;

namespace baldo7 {

// The page of every report on paper or in a PDF file: 15 mm margins all round, which
// any printer can print (the channel table's outer columns are never clipped).
QPageLayout ReportPageLayout(const QPageSize& size = QPageSize(QPageSize::A4),
                             QPageLayout::Orientation orientation = QPageLayout::Landscape);

// One self-contained page: UTF-8, styles inline, no outside resources.
QString ReportHtml(const Report& report);

// Pages onto a printer or PDF writer, numbered at the foot; the channel table's type
// shrinks until the table fits the page width.
void PrintReport(const Report& report, QPagedPaintDevice& device);

// A PDF on the report's page (A4 landscape) or the HTML page, written atomically: a failure leaves
// an existing file whole and says why in `error`.
bool WriteReportPdf(const Report& report, const QString& path, QString* error = nullptr);
// The same on the page a print dialog chose (printing to a PDF file).
bool WriteReportPdf(const Report& report, const QString& path, const QPageLayout& layout,
                    QString* error = nullptr);
bool WriteReportHtml(const Report& report, const QString& path, QString* error = nullptr);

}  // namespace baldo7
