#include "ui/SortedComboBox.h"

#include <QLineEdit>
#include <QSignalBlocker>
#include <QStandardItemModel>
#include <algorithm>
#include <vector>

#include "ui/Collation.h"
#include "ui/SortedEntries.h"

SortedComboBox::SortedComboBox(QWidget* parent) : QComboBox(parent) {
    setEditable(true);
    setInsertPolicy(QComboBox::NoInsert);
    setCompleter(nullptr);
    connect(model(), &QAbstractItemModel::rowsInserted, this,
            &SortedComboBox::pr_subPlaceInsertedRows);
}

bool SortedComboBox::addItem(const QString& name) {
    return ui::addSorted(this, name);
}

bool SortedComboBox::addItemsSorted(const QStringList& names) {
    return ui::addAllSorted(this, names);
}

bool SortedComboBox::pr_fun_bRowsInOrder(int first, int last) const {
    // Sorted entries begin below the pinned rows.
    const int head = std::min(ui::pinnedRows(this), count());
    if (first < head) {
        return false;
    }
    const int from = std::max(first, head + 1);
    const int to = std::min(last + 1, count() - 1);
    for (int row = from; row <= to; ++row) {
        if (ui::compareNames(itemText(row - 1), itemText(row)) > 0) {
            return false;
        }
    }
    return true;
}

void SortedComboBox::pr_subPlaceInsertedRows(const QModelIndex& parent, int first, int last) {
    auto* items = qobject_cast<QStandardItemModel*>(model());
    if (placing_ || parent.isValid() || items == nullptr) {
        return;
    }
    placing_ = true;
    // Taking rows out may make the combo pick another current entry and
    // rewrite the edit text; both are put back below, so nobody is told.
    const QSignalBlocker blocker(this);
    const QSignalBlocker editBlocker(lineEdit());
    QStandardItem* current = currentIndex() >= 0 ? items->item(currentIndex()) : nullptr;
    const QString editText = currentText();
    while (count() > ui::kMaxEntries && last >= first) {
        const QList<QStandardItem*> row = items->takeRow(last);
        if (current != nullptr && row.contains(current)) {
            current = nullptr;
        }
        qDeleteAll(row);
        --last;
    }
    // Rows that fill pinned rows still free stay where they were put; the
    // others are sorted entries.
    const int before = count() - (last - first + 1);
    first += std::clamp(ui::pinnedRows(this) - before, 0, std::max(0, last - first + 1));
    if (last >= first && !pr_fun_bRowsInOrder(first, last)) {
        std::vector<QStandardItem*> moved;
        for (int row = last; row >= first; --row) {
            moved.push_back(items->takeRow(row).value(0));
        }
        for (auto entry = moved.rbegin(); entry != moved.rend(); ++entry) {
            items->insertRow(ui::sortedRow(this, (*entry)->text()), *entry);
        }
    }
    const int currentRow = current != nullptr ? current->row() : -1;
    if (currentIndex() != currentRow) {
        setCurrentIndex(currentRow);
    }
    if (isEditable() && lineEdit()->text() != editText) {
        lineEdit()->setText(editText);
    }
    placing_ = false;
}
