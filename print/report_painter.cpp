// The report drawn page by page with a painter: printer, PDF file and preview. Drawn
// directly rather than through a rich-text layout, which took most of a run's time
// for one table.
#include <QFontMetricsF>
#include <QPageLayout>
#include <QPagedPaintDevice>
#include <QPainter>
#include <algorithm>

#include "print/report_document.h"

namespace baldo7 {

namespace {

// Point sizes. The channel table starts at kTablePt and shrinks until its thirteen
// columns fit the page width, so nothing is ever clipped.
constexpr double kTitlePt = 16;
constexpr double kHeadingPt = 12;
constexpr double kBodyPt = 9;
constexpr double kTablePt = 8;
constexpr double kSmallestTablePt = 5;
const QColor kLabelColour(0x55, 0x55, 0x55);
const QColor kHeaderFill(0xe8, 0xe8, 0xe8);

QString qs(const std::string& s) {
    return QString::fromStdString(s);
}

// Lays the report out and, on the second pass, draws it. The first pass counts the
// pages so that every foot can say "n / total".
class Pager {
public:
    Pager(const Report& report, QPagedPaintDevice& device, QPainter* painter, int total)
        : report_(report), device_(device), painter_(painter), total_(total) {
        dpi_ = device.logicalDpiY();
        const QRect area = device.pageLayout().paintRectPixels(device.logicalDpiX());
        width_ = area.width();
        base_ = font(kBodyPt);
        footer_ = QFontMetricsF(base_, &device).height() * 2;
        height_ = area.height() - footer_;
    }

    int run() {
        title();
        blocks();
        if (report_.channels) table(*report_.channels);
        foot();
        return page_;
    }

private:
    double pt(double points) const { return points * dpi_ / 72.0; }

    QFont font(double points) const {
        QFont f;
        // Named faces, so that the report is laid out alike on every system that has
        // them (the default face differs: a wider one splits the channel table). One
        // face for Latin and Chinese alike keeps the rows of a Chinese report even; a
        // system without these falls back to its own.
        if (report_.isEnglish)
            f.setFamilies({QStringLiteral("DejaVu Sans"), QStringLiteral("Arial"), f.family()});
        else
            f.setFamilies({QStringLiteral("WenQuanYi Zen Hei"), QStringLiteral("Noto Sans CJK SC"),
                           f.family()});
        f.setPointSizeF(points);
        // No ligatures: "Off" copied or searched in the PDF must read "Off".
        f.setStyleStrategy(QFont::PreferNoShaping);
        f.setHintingPreference(QFont::PreferNoHinting);
        return f;
    }

    // Starts a new page when `needed` does not fit below the cursor.
    bool room(double needed) {
        if (y_ + needed <= height_ || y_ == 0) return false;
        foot();
        if (painter_) device_.newPage();
        ++page_;
        y_ = 0;
        return true;
    }

    void foot() {
        if (!painter_) return;
        painter_->setFont(base_);
        painter_->setPen(Qt::black);
        painter_->drawText(QRectF(0, height_, width_, footer_), Qt::AlignCenter,
                           QStringLiteral("%1 / %2").arg(page_).arg(total_));
    }

    void text(const QFont& f, const QRectF& box, int flags, const QString& s,
              const QColor& colour = Qt::black) {
        if (!painter_) return;
        painter_->setFont(f);
        painter_->setPen(colour);
        painter_->drawText(box, flags, s);
    }

    // A heading line at the cursor (or at x with its own cursor for side-by-side
    // blocks); returns its height.
    double headingLine(double x, double y, double points, const std::string& s) {
        const QFont f = font(points);
        const double h = QFontMetricsF(f, &device_).height();
        text(f, QRectF(x, y, width_ - x, h), Qt::AlignLeft | Qt::AlignVCenter, qs(s));
        return h;
    }

    // Label and value columns; returns the block's size.
    QSizeF fieldBlock(double x, double y, const std::vector<ReportField>& fields, bool draw) {
        const QFontMetricsF m(base_, &device_);
        double labelW = 0, valueW = 0;
        for (const ReportField& f : fields) {
            labelW = std::max(labelW, m.horizontalAdvance(qs(f.label)));
            valueW = std::max(valueW, m.horizontalAdvance(qs(f.value)));
        }
        const double gap = pt(10), line = m.height() * 1.15;
        if (draw)
            for (std::size_t i = 0; i < fields.size(); ++i) {
                const QRectF row(x, y + i * line, labelW, line);
                text(base_, row, Qt::AlignLeft | Qt::AlignVCenter, qs(fields[i].label),
                     kLabelColour);
                text(base_, row.translated(labelW + gap, 0).adjusted(0, 0, valueW, 0),
                     Qt::AlignLeft | Qt::AlignVCenter, qs(fields[i].value));
            }
        return {labelW + gap + valueW, fields.size() * line};
    }

    void title() {
        y_ += headingLine(0, y_, kTitlePt, report_.title);
        y_ += fieldBlock(0, y_, report_.heading, true).height();
    }

    // The short sections side by side, wrapping to a new row when the page is full.
    void blocks() {
        double x = 0, rowHeight = 0;
        const double spacing = pt(30);
        const double headingH = QFontMetricsF(font(kHeadingPt), &device_).height();
        y_ += pt(8);
        for (const ReportBlock& b : report_.blocks) {
            const QSizeF size = fieldBlock(0, 0, b.fields, false);
            const double w =
                std::max(size.width(),
                         QFontMetricsF(font(kHeadingPt), &device_).horizontalAdvance(qs(b.title)));
            if (x > 0 && x + w > width_) {
                y_ += rowHeight + pt(8);
                x = rowHeight = 0;
            }
            const double h = headingH + size.height();
            if (x == 0 && room(h)) rowHeight = 0;
            headingLine(x, y_, kHeadingPt, b.title);
            fieldBlock(x, y_ + headingH, b.fields, true);
            rowHeight = std::max(rowHeight, h);
            x += w + spacing;
        }
        y_ += rowHeight;
    }

    // Greedy word wrap of a header into lines no wider than `w`.
    static QStringList wrap(const QString& s, const QFontMetricsF& m, double w) {
        QStringList lines;
        for (const QString& word : s.split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
            if (!lines.isEmpty() &&
                m.horizontalAdvance(lines.last() + QLatin1Char(' ') + word) <= w)
                lines.last() += QLatin1Char(' ') + word;
            else
                lines << word;
        }
        return lines;
    }

    void table(const ReportTable& t) {
        y_ += pt(10);
        const double headingH = QFontMetricsF(font(kHeadingPt), &device_).height();
        // Each column as wide as its widest cell or longest header word.
        double points = kTablePt;
        std::vector<double> widths;
        QFont f;
        for (;; points -= 0.5) {
            f = font(points);
            const QFontMetricsF m(f, &device_);
            const double pad = pt(points * 0.4);
            widths.assign(t.headers.size(), 0);
            for (std::size_t c = 0; c < t.headers.size(); ++c) {
                for (const QString& word :
                     qs(t.headers[c]).split(QLatin1Char(' '), Qt::SkipEmptyParts))
                    widths[c] = std::max(widths[c], m.horizontalAdvance(word));
                for (const auto& row : t.rows)
                    widths[c] = std::max(widths[c], m.horizontalAdvance(qs(row[c])));
                widths[c] += 2 * pad;
            }
            double total = 0;
            for (double w : widths) total += w;
            if (total <= width_ || points <= kSmallestTablePt) {
                // The spare width goes to every column alike.
                const double spare = std::max(0.0, width_ - total) / widths.size();
                for (double& w : widths) w += spare;
                break;
            }
        }
        const QFontMetricsF m(f, &device_);
        const double pad = pt(points * 0.4), vpad = pt(points * 0.15), line = m.height();
        std::vector<QStringList> headers;
        int headerLines = 1;
        for (std::size_t c = 0; c < t.headers.size(); ++c) {
            headers.push_back(wrap(qs(t.headers[c]), m, widths[c] - 2 * pad));
            headerLines = std::max(headerLines, int(headers.back().size()));
        }
        const double headerH = headerLines * line + 2 * vpad, rowH = line + 2 * vpad;

        room(headingH + headerH + rowH);
        y_ += headingLine(0, y_, kHeadingPt, t.title);
        auto headerRow = [&] {
            double x = 0;
            for (std::size_t c = 0; c < headers.size(); ++c) {
                const QRectF cell(x, y_, widths[c], headerH);
                if (painter_) {
                    painter_->fillRect(cell, kHeaderFill);
                    painter_->setPen(QPen(Qt::gray, 0));
                    painter_->drawRect(cell);
                }
                text(f, cell.adjusted(pad, vpad, -pad, -vpad), Qt::AlignHCenter | Qt::AlignTop,
                     headers[c].join(QLatin1Char('\n')));
                x += widths[c];
            }
            y_ += headerH;
        };
        headerRow();
        for (const auto& row : t.rows) {
            if (room(rowH)) headerRow();  // the header again on every page
            double x = 0;
            for (std::size_t c = 0; c < row.size(); ++c) {
                const QRectF cell(x, y_, widths[c], rowH);
                if (painter_) {
                    painter_->setPen(QPen(Qt::gray, 0));
                    painter_->drawRect(cell);
                }
                text(f, cell.adjusted(pad, 0, -pad, 0),
                     (c == 0 ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignVCenter, qs(row[c]));
                x += widths[c];
            }
            y_ += rowH;
        }
    }

    const Report& report_;
    QPagedPaintDevice& device_;
    QPainter* painter_;  // null: measuring only
    int total_;
    int page_ = 1;
    double dpi_ = 72, width_ = 0, height_ = 0, footer_ = 0, y_ = 0;
    QFont base_;
};

}  // namespace

void PrintReport(const Report& report, QPagedPaintDevice& device) {
    const int pages = Pager(report, device, nullptr, 0).run();
    QPainter painter(&device);
    Pager(report, device, &painter, pages).run();
}

}  // namespace baldo7
