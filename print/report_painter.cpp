// The report drawn page by page with a painter: printer, PDF file and preview. Drawn
// directly rather than through a rich-text layout, which took most of a run's time
// for one table.
#include <QFontMetricsF>
#include <QPageLayout>
#include <QPagedPaintDevice>
#include <QPainter>
#include <algorithm>
#include <array>

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

    // A wrapping cell's pieces, each ending where a line may break: after a space, a
    // path separator or a file name's underscore, and beside a Chinese character
    // (never before punctuation). Values such as "136-174MHz" stay whole.
    static QStringList pieces(const QString& s) {
        const auto wide = [](QChar c) { return c.unicode() >= 0x2E80; };
        QStringList out;
        QString piece;
        for (qsizetype i = 0; i < s.size(); ++i) {
            const QChar c = s[i];
            piece += c;
            if (i + 1 == s.size()) break;
            const QChar next = s[i + 1];
            if (QStringView(u" /\\_").contains(c) || ((wide(c) || wide(next)) && !next.isPunct())) {
                out << piece;
                piece.clear();
            }
        }
        if (!piece.isEmpty()) out << piece;
        return out;
    }

    // A wrapping cell's (or a header's) lines no wider than `w`; a piece wider than that on its own
    // (only when the type cannot shrink further) is cut where it must.
    static QStringList wrapCell(const QString& s, const QFontMetricsF& m, double w) {
        QStringList lines;
        QString line;
        for (const QString& piece : pieces(s)) {
            if (!line.isEmpty() && m.horizontalAdvance((line + piece).trimmed()) > w) {
                lines << line.trimmed();
                line.clear();
            }
            line += piece;
            while (line.size() > 1 && m.horizontalAdvance(line.trimmed()) > w) {
                qsizetype n = line.size() - 1;
                while (n > 1 && m.horizontalAdvance(line.left(n)) > w) --n;
                lines << line.left(n);
                line = line.mid(n);
            }
        }
        if (lines.isEmpty() || !line.trimmed().isEmpty()) lines << line.trimmed();
        return lines;
    }

    // The widths that make the table shortest: each wrapping column as wide as its
    // widest cell, as wide as that cell needs on two lines, or sharing what the others
    // leave by how much more each wants. A file name kept to one or two lines may
    // spare every row a line.
    std::vector<double> shortestWidths(const ReportTable& t, const std::vector<double>& natural,
                                       const std::vector<double>& least, const QFontMetricsF& m,
                                       double pad) const {
        const std::size_t k = t.wrapping.size();
        const auto linesAt = [&](std::size_t c, double w) {
            std::vector<qsizetype> lines;
            for (const auto& row : t.rows)
                lines.push_back(wrapCell(qs(row[c]), m, w - 2 * pad).size());
            return lines;
        };
        // Each column's own widths, and its rows' lines at them.
        std::vector<std::array<double, 2>> own(k);
        std::vector<std::array<std::vector<qsizetype>, 2>> ownLines(k);
        for (std::size_t i = 0; i < k; ++i) {
            const std::size_t c = t.wrapping[i];
            QString widest;
            for (const auto& row : t.rows)
                if (m.horizontalAdvance(qs(row[c])) > m.horizontalAdvance(widest))
                    widest = qs(row[c]);
            double lo = least[c], hi = natural[c];
            for (int step = 0; step < 12; ++step) {
                const double mid = (lo + hi) / 2;
                (wrapCell(widest, m, mid - 2 * pad).size() <= 2 ? hi : lo) = mid;
            }
            own[i] = {natural[c], hi};
            ownLines[i] = {linesAt(c, own[i][0]), linesAt(c, own[i][1])};
        }
        std::vector<double> best;
        long bestLines = -1;
        std::size_t combinations = 1;
        for (std::size_t i = 0; i < k; ++i) combinations *= 3;
        for (std::size_t combination = 0; combination < combinations; ++combination) {
            std::vector<double> w = natural;
            std::vector<int> choice(k);
            double used = 0, need = 0;
            for (std::size_t i = 0, rest = combination; i < k; ++i, rest /= 3) {
                const std::size_t c = t.wrapping[i];
                choice[i] = int(rest % 3);  // 0: shares, 1: one line, 2: two lines
                w[c] = choice[i] ? own[i][choice[i] - 1] : least[c];
                if (!choice[i]) need += natural[c] - least[c];
            }
            for (double x : w) used += x;
            if (combination != 0 && used > width_) continue;
            const double spare = std::max(0.0, width_ - used);
            std::vector<qsizetype> most(t.rows.size(), 1);
            for (std::size_t i = 0; i < k; ++i) {
                const std::size_t c = t.wrapping[i];
                if (!choice[i] && need > 0) w[c] += spare * (natural[c] - least[c]) / need;
                const std::vector<qsizetype> lines =
                    choice[i] ? ownLines[i][choice[i] - 1] : linesAt(c, w[c]);
                for (std::size_t r = 0; r < lines.size(); ++r)
                    most[r] = std::max(most[r], lines[r]);
            }
            long lines = 0;
            for (qsizetype n : most) lines += long(n);
            if (bestLines < 0 || lines < bestLines) {
                best = w;
                bestLines = lines;
            }
        }
        return best;
    }

    void table(const ReportTable& t) {
        y_ += pt(10);
        const double headingH = QFontMetricsF(font(kHeadingPt), &device_).height();
        const auto wraps = [&t](std::size_t c) {
            return std::find(t.wrapping.begin(), t.wrapping.end(), c) != t.wrapping.end();
        };
        // Each column as wide as its widest cell or longest header word; a wrapping
        // column at least as wide as its widest piece. The type shrinks until the
        // least widths fit.
        double points = kTablePt;
        std::vector<double> widths, least;
        QFont f;
        for (;; points -= 0.5) {
            f = font(points);
            const QFontMetricsF m(f, &device_);
            const double pad = pt(points * 0.4);
            widths.assign(t.headers.size(), 0);
            least.assign(t.headers.size(), 0);
            for (std::size_t c = 0; c < t.headers.size(); ++c) {
                for (const QString& word :
                     qs(t.headers[c]).split(QLatin1Char(' '), Qt::SkipEmptyParts))
                    least[c] = std::max(least[c], m.horizontalAdvance(word));
                for (const auto& row : t.rows) {
                    const QString cell = qs(row[c]);
                    widths[c] = std::max(widths[c], m.horizontalAdvance(cell));
                    if (wraps(c))
                        for (const QString& piece : pieces(cell))
                            least[c] = std::max(least[c], m.horizontalAdvance(piece.trimmed()));
                }
                widths[c] = std::max(widths[c], least[c]) + 2 * pad;
                least[c] = wraps(c) ? least[c] + 2 * pad : widths[c];
            }
            double fewest = 0;
            for (double w : least) fewest += w;
            if (fewest <= width_ || points <= kSmallestTablePt) break;
        }
        const QFontMetricsF m(f, &device_);
        const double pad = pt(points * 0.4), vpad = pt(points * 0.15), line = m.height();
        double total = 0;
        for (double w : widths) total += w;
        if (total <= width_) {
            // The spare width goes to every column alike.
            const double spare = (width_ - total) / widths.size();
            for (double& w : widths) w += spare;
        } else {
            widths = shortestWidths(t, widths, least, m, pad);
        }
        // Lines of several lines each take the face's line spacing.
        const auto height = [&m, line](int lines) {
            return lines == 1 ? line : lines * std::max(line, m.lineSpacing());
        };
        std::vector<QStringList> headers;
        int headerLines = 1;
        for (std::size_t c = 0; c < t.headers.size(); ++c) {
            headers.push_back(wrapCell(qs(t.headers[c]), m, widths[c] - 2 * pad));
            headerLines = std::max(headerLines, int(headers.back().size()));
        }
        const double headerH = height(headerLines) + 2 * vpad;
        // A row stays on one page; one taller than a page ends its cells with "…".
        const int pageLines =
            std::max(1, int((height_ - headerH - 2 * vpad) / std::max(line, m.lineSpacing())));

        room(headingH + headerH + height(1) + 2 * vpad);
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
            std::vector<QStringList> cells;
            int lines = 1;
            for (std::size_t c = 0; c < row.size(); ++c) {
                cells.push_back(wraps(c) ? wrapCell(qs(row[c]), m, widths[c] - 2 * pad)
                                         : QStringList{qs(row[c])});
                if (cells.back().size() > pageLines) {
                    cells.back() = cells.back().mid(0, pageLines);
                    cells.back().last() += QChar(0x2026);
                }
                lines = std::max(lines, int(cells.back().size()));
            }
            const double rowH = height(lines) + 2 * vpad;
            if (room(rowH)) headerRow();  // the header again on every page
            double x = 0;
            for (std::size_t c = 0; c < row.size(); ++c) {
                const QRectF cell(x, y_, widths[c], rowH);
                if (painter_) {
                    painter_->setPen(QPen(Qt::gray, 0));
                    painter_->drawRect(cell);
                }
                text(f, cell.adjusted(pad, vpad, -pad, -vpad),
                     (c == 0 ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignTop,
                     cells[c].join(QLatin1Char('\n')));
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
