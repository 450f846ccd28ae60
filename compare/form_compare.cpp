#include "compare/form_compare.h"

#include <QDir>
#include <QFileInfo>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

#include "compare/document_diff.h"
#include "storage/data_store.h"
#include "ui/dialog_help.h"
#include "ui/dialog_layout.h"
#include "ui/ui_support.h"

namespace baldo7 {

FormCompare::FormCompare(const Document& mine, const Document& other, const QString& otherName,
                         QWidget* parent)
    : QDialog(parent) {
    setObjectName("FormCompare");
    const bool en = mine.IsEnglish;
    setWindowTitle(uiText(compare_texts::kCaption, en).arg(otherName));
    const std::vector<Difference> differences = CompareDocuments(mine, other, en);

    LabelSummary = new QLabel(this);
    LabelSummary->setObjectName("LabelSummary");
    LabelSummary->setText(differences.empty()
                              ? uiText(compare_texts::kNoDifferences, en)
                              : uiText(compare_texts::kDifferences, en).arg(differences.size()));

    GridDifferences = new QTableWidget(int(differences.size()), 4, this);
    GridDifferences->setObjectName("GridDifferences");
    GridDifferences->setHorizontalHeaderLabels({uiText(compare_texts::kWhere, en),
                                                uiText(compare_texts::kField, en),
                                                uiText(compare_texts::kOpenData, en), otherName});
    GridDifferences->verticalHeader()->hide();
    GridDifferences->setEditTriggers(QAbstractItemView::NoEditTriggers);
    GridDifferences->setSelectionBehavior(QAbstractItemView::SelectRows);
    GridDifferences->setVisible(!differences.empty());
    for (int r = 0; r < int(differences.size()); ++r) {
        const Difference& d = differences[std::size_t(r)];
        const QString cells[] = {DifferencePlace(d, en), DifferenceCaption(d, en),
                                 DifferenceValue(d.a, en), DifferenceValue(d.b, en)};
        for (int c = 0; c < 4; ++c) GridDifferences->setItem(r, c, new QTableWidgetItem(cells[c]));
    }
    GridDifferences->resizeColumnsToContents();
    GridDifferences->horizontalHeader()->setStretchLastSection(true);

    CommandClose = makeButton(uiText(texts::kClose, en), "CommandClose", true);
    CommandHelp = makeHelpButton(this, QStringLiteral("compare.htm"), en);
    connect(CommandClose, &QPushButton::clicked, this, &QDialog::accept);
    auto* body = new QVBoxLayout;
    body->addWidget(LabelSummary);
    body->addWidget(GridDifferences, 1);
    layOutDialog(this, body, {CommandClose, CommandHelp});
    resize(differences.empty() ? QSize(360, 100) : QSize(640, 420));
    FitToScreen(this);
}

std::unique_ptr<FormCompare> CompareWithFile(const Document& doc, FileChooser& files,
                                             MessageService& messages, const QString& folder,
                                             QWidget* parent) {
    const bool en = doc.IsEnglish;
    const QString path = ShowFileDialog(doc, files, messages, "OPEN",
                                        uiText(filetexts::kOpenTitle, en), QString(), folder);
    if (path.isEmpty()) return nullptr;
    Document other;
    other.IsEnglish = en;
    const LoadResult r = LoadDataFile(other, path);
    if (r.status == LoadStatus::Refused) {
        messages.show(MsgIcon::Error, uiText(texts::kErrorCaption, en),
                      uiText(texts::kErrorFile, en));
        return nullptr;
    }
    if (!r.ok()) {
        messages.show(MsgIcon::Error, appTitle(),
                      uiText(filetexts::kCannotRead, en)
                          .arg(QDir::toNativeSeparators(path) + QStringLiteral("\n") + r.detail));
        return nullptr;
    }
    return std::make_unique<FormCompare>(doc, other, QFileInfo(path).fileName(), parent);
}

}  // namespace baldo7
