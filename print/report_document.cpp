#include "print/report_document.h"

#include <QBuffer>
#include <QPageLayout>
#include <QPageSize>
#include <QPdfWriter>

#include "storage/data_store.h"

namespace baldo7 {

namespace {

// Type sizes of the HTML page, the same as on paper.
constexpr double kBodyPt = 9;
constexpr double kTablePt = 8;

QString esc(const std::string& s) {
    return QString::fromStdString(s).toHtmlEscaped();
}

void fields(QString& h, const std::vector<ReportField>& list) {
    h += QStringLiteral("<table cellspacing=\"0\" cellpadding=\"1\">");
    for (const ReportField& f : list)
        h += QStringLiteral(
                 "<tr><td style=\"padding-right:12px; color:#555555\">%1</td>"
                 "<td style=\"white-space:pre\">%2</td></tr>")
                 .arg(esc(f.label), esc(f.value));
    h += QStringLiteral("</table>");
}

void heading(QString& h, const std::string& title) {
    h +=
        QStringLiteral("<h2 style=\"margin-top:14px; font-weight:normal\">%1</h2>").arg(esc(title));
}

// Rough width of a text in Latin character cells (CJK characters take two).
int cells(const QString& text) {
    int n = 0;
    for (QChar c : text) n += c.unicode() >= 0x2E80 ? 2 : 1;
    return n;
}

// Each column's share of the page: its widest cell or its longest header word, so that
// headers wrap between words and no value is broken.
QList<int> columnPercents(const ReportTable& t) {
    QList<int> weights;
    for (std::size_t i = 0; i < t.headers.size(); ++i) {
        int w = 0;
        for (const QString& word :
             QString::fromStdString(t.headers[i]).split(QLatin1Char(' '), Qt::SkipEmptyParts))
            w = std::max(w, cells(word) * 6 / 5);  // bold
        for (const auto& row : t.rows) w = std::max(w, cells(QString::fromStdString(row[i])));
        weights << w + 2;
    }
    int total = 0;
    for (int w : weights) total += w;
    QList<int> percents;
    for (int w : weights) percents << std::max(1, w * 100 / total);
    return percents;
}

void channelTable(QString& h, const ReportTable& t) {
    heading(h, t.title);
    h += QStringLiteral(
             "<table width=\"100%\" border=\"1\" cellspacing=\"0\" cellpadding=\"1\" "
             "style=\"font-size:%1pt\"><thead><tr>")
             .arg(kTablePt);
    const QList<int> percents = columnPercents(t);
    for (std::size_t i = 0; i < t.headers.size(); ++i)
        h += QStringLiteral(
                 "<th width=\"%1%\" style=\"background-color:#e8e8e8; font-weight:normal\">%2</th>")
                 .arg(percents[static_cast<int>(i)])
                 .arg(esc(t.headers[i]));
    h += QStringLiteral("</tr></thead>");
    for (const auto& row : t.rows) {
        h += QStringLiteral("<tr>");
        for (std::size_t i = 0; i < row.size(); ++i)
            h += (i == 0 ? QStringLiteral("<td align=\"right\">%1</td>")
                         : QStringLiteral("<td>%1</td>"))
                     .arg(row[i].empty() ? QStringLiteral("&nbsp;") : esc(row[i]));
        h += QStringLiteral("</tr>");
    }
    h += QStringLiteral("</table>");
}

bool writeReportFile(const QString& path, const QByteArray& bytes, QString* error) {
    QString reason;
    if (WriteFileAtomically(path, bytes, &reason)) return true;
    if (error) *error = path + QStringLiteral(": ") + reason;
    return false;
}

}  // namespace

QString ReportHtml(const Report& report) {
    QString h =
        QStringLiteral(
            "<!DOCTYPE html><html lang=\"%1\"><head><meta charset=\"utf-8\">"
            "<title>%2</title></head>"
            "<body style=\"font-size:%3pt\">")
            .arg(report.isEnglish ? QStringLiteral("en") : QStringLiteral("zh"), esc(report.title))
            .arg(kBodyPt);
    h += QStringLiteral("<h1 style=\"font-weight:normal\">%1</h1>").arg(esc(report.title));
    fields(h, report.heading);
    // The short sections side by side, so that with the channels they fill one page.
    if (!report.blocks.empty()) {
        h += QStringLiteral("<table cellspacing=\"0\" cellpadding=\"0\"><tr>");
        for (const ReportBlock& b : report.blocks) {
            h += QStringLiteral("<td valign=\"top\" style=\"padding-right:36px\">");
            heading(h, b.title);
            fields(h, b.fields);
            h += QStringLiteral("</td>");
        }
        h += QStringLiteral("</tr></table>");
    }
    if (report.channels) channelTable(h, *report.channels);
    h += QStringLiteral("</body></html>\n");
    return h;
}

QPageLayout ReportPageLayout(const QPageSize& size, QPageLayout::Orientation orientation) {
    return QPageLayout(size, orientation, QMarginsF(15, 15, 15, 15), QPageLayout::Millimeter);
}

bool WriteReportPdf(const Report& report, const QString& path, const QPageLayout& layout,
                    QString* error) {
    // Drawn in memory first: the PDF writer does not report failed writes, the
    // shared file writer does.
    QBuffer pdfBytes;
    pdfBytes.open(QIODevice::WriteOnly);
    {
        QPdfWriter pdf(&pdfBytes);
        pdf.setPageLayout(layout);
        pdf.setTitle(QString::fromStdString(report.title));
        pdf.setCreator(QString::fromStdString(report.title));
        PrintReport(report, pdf);
    }
    return writeReportFile(path, pdfBytes.data(), error);
}

bool WriteReportPdf(const Report& report, const QString& path, QString* error) {
    return WriteReportPdf(report, path, ReportPageLayout(), error);
}

bool WriteReportHtml(const Report& report, const QString& path, QString* error) {
    return writeReportFile(path, ReportHtml(report).toUtf8(), error);
}

}  // namespace baldo7
