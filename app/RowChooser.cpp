// The list dialog of QtUserDialogs::ChooseRow: a table of rows (any number of them: the cells are
// given to the view as it draws them), OK and Cancel; a double click or Enter picks a row.
#include "app/QtUserDialogs.h"

#include <QAbstractTableModel>
#include <QDialog>
#include <QDialogButtonBox>
#include <QHeaderView>
#include <QTableView>
#include <QVBoxLayout>

namespace drovak::app {

namespace {

class RowsModel final : public QAbstractTableModel {
public:
    RowsModel(const QStringList& columns, const std::vector<QStringList>& rows)
        : columns_(columns), rows_(rows) {}
    int rowCount(const QModelIndex& parent) const override {
        return parent.isValid() ? 0 : int(rows_.size());
    }
    int columnCount(const QModelIndex& parent) const override {
        return parent.isValid() ? 0 : int(columns_.size());
    }
    QVariant data(const QModelIndex& index, int role) const override {
        if (role != Qt::DisplayRole || !index.isValid()) return {};
        return rows_[size_t(index.row())].value(index.column());
    }
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override {
        if (role != Qt::DisplayRole || orientation != Qt::Horizontal) return {};
        return columns_.value(section);
    }

private:
    const QStringList& columns_;
    const std::vector<QStringList>& rows_;
};

} // namespace

std::optional<int> QtUserDialogs::ChooseRow(QWidget* owner, const QString& title,
                                            const QStringList& columns,
                                            const std::vector<QStringList>& rows, int current) {
    QDialog dialog(owner);
    dialog.setWindowTitle(title);
    RowsModel model(columns, rows);
    auto* view = new QTableView(&dialog);
    view->setModel(&model);
    view->setSelectionBehavior(QAbstractItemView::SelectRows);
    view->setSelectionMode(QAbstractItemView::SingleSelection);
    view->setEditTriggers(QAbstractItemView::NoEditTriggers);
    view->verticalHeader()->hide();
    view->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    view->verticalHeader()->setDefaultSectionSize(view->fontMetrics().height() + 4);
    view->horizontalHeader()->setStretchLastSection(true);
    view->resizeColumnsToContents();
    if (current >= 0 && size_t(current) < rows.size()) {
        view->selectRow(current);
        view->scrollTo(model.index(current, 0));
    }
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dialog);
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    QObject::connect(view, &QTableView::doubleClicked, &dialog, &QDialog::accept);
    auto* layout = new QVBoxLayout(&dialog);
    layout->addWidget(view);
    layout->addWidget(buttons);
    dialog.resize(560, 480);
    if (dialog.exec() != QDialog::Accepted || !view->selectionModel()->hasSelection()) {
        return std::nullopt;
    }
    return view->selectionModel()->selectedRows().value(0).row();
}

} // namespace drovak::app
