#include "ui/ListPair.h"

#include <QEvent>
#include <QItemSelectionModel>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QSet>
#include <algorithm>
#include <utility>
#include <vector>

#include "ui/Collation.h"
#include "ui/SortedEntries.h"

namespace {

// Rows of the selected entries, top to bottom, read from the selection ranges
// in one pass rather than asking every entry.
std::vector<int> selectedRows(const QListWidget* list) {
    std::vector<bool> selected(static_cast<std::size_t>(list->count()), false);
    for (const QItemSelectionRange& range : list->selectionModel()->selection()) {
        for (int row = range.top(); row <= range.bottom(); ++row) {
            if (row >= 0 && row < list->count()) {
                selected[static_cast<std::size_t>(row)] = true;
            }
        }
    }
    std::vector<int> rows;
    for (std::size_t row = 0; row < selected.size(); ++row) {
        if (selected[row]) {
            rows.push_back(static_cast<int>(row));
        }
    }
    return rows;
}

// Removes the given rows (ascending), from the last to the first, one model
// call per block of adjacent rows.
void removeRows(QListWidget* list, const std::vector<int>& rows) {
    auto end = rows.rbegin();
    while (end != rows.rend()) {
        auto start = end;
        while (std::next(start) != rows.rend() && *std::next(start) == *start - 1) {
            ++start;
        }
        list->model()->removeRows(*start, *end - *start + 1);
        end = std::next(start);
    }
}

}  // namespace

ListPair::ListPair(QListWidget* LstON, QListWidget* LstOFF, QLabel* LblON, QLabel* LblOFF,
                   QPushButton* CmdListDWG, std::function<void()> pu_subSetListCaption,
                   QObject* parent)
    : QObject(parent),
      LstON(LstON),
      LstOFF(LstOFF),
      LblON(LblON),
      LblOFF(LblOFF),
      CmdListDWG(CmdListDWG),
      pr_subSetListCaption(std::move(pu_subSetListCaption)) {
    pr_oUniqueON.clsSetListBox(LstON);
    pr_oUniqueOFF.clsSetListBox(LstOFF);
    installLabelDoubleClick();
    connect(LstON, &QListWidget::itemDoubleClicked, this,
            [this] { pr_subEntryDoubleClicked(this->LstON); });
    connect(LstOFF, &QListWidget::itemDoubleClicked, this,
            [this] { pr_subEntryDoubleClicked(this->LstOFF); });
}

void ListPair::CmdMoveON_Click() {
    pr_subMoveSelected(LstOFF, LstON);
    pr_subMoved();
}

void ListPair::CmdMoveOFF_Click() {
    pr_subMoveSelected(LstON, LstOFF);
    pr_subMoved();
}

void ListPair::CmdMoveON_ALL_Click() {
    pr_subMoveAll(LstOFF, LstON);
    pr_subMoved();
}

void ListPair::CmdMoveOFF_ALL_Click() {
    pr_subMoveAll(LstON, LstOFF);
    pr_subMoved();
}

void ListPair::CmdReverse_Click() {
    const QStringList savedON = ui::items(LstON);
    LstON->clear();
    ui::addAllSorted(LstON, ui::items(LstOFF));
    LstOFF->clear();
    ui::addAllSorted(LstOFF, savedON);
    pr_subMoved();
}

void ListPair::pu_subListMoveToON(const QStringList& names) {
    pr_subListMoveTo(LstON, LstOFF, names);
}

void ListPair::pu_subListMoveToOFF(const QStringList& names) {
    pr_subListMoveTo(LstOFF, LstON, names);
}

void ListPair::pu_subListSetBoth(const QStringList& onNames, const QStringList& offNames) {
    LstON->clear();
    ui::addAllSorted(LstON, onNames);
    LstOFF->clear();
    ui::addAllSorted(LstOFF, offNames);
}

void ListPair::selectAllON() {
    LstON->selectAll();
}

void ListPair::selectAllOFF() {
    LstOFF->selectAll();
}

void ListPair::installLabelDoubleClick() {
    if (LblON != nullptr) {
        LblON->installEventFilter(this);
    }
    if (LblOFF != nullptr) {
        LblOFF->installEventFilter(this);
    }
}

void ListPair::setEntryDoubleClickHandler(std::function<void(const QString&)> handler) {
    pr_subEntryDoubleClick = std::move(handler);
}

bool ListPair::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::MouseButtonDblClick) {
        if (watched == LblON) {
            selectAllON();
        } else if (watched == LblOFF) {
            selectAllOFF();
        }
    }
    return QObject::eventFilter(watched, event);
}

void ListPair::pr_subMoveSelected(QListWidget* source, QListWidget* destination) {
    destination->clearSelection();
    std::vector<int> rows = selectedRows(source);
    // A full destination refuses names; those stay where they are rather
    // than being lost, so only the rows that fit leave the source.
    const auto room = static_cast<std::size_t>(std::max(0, ui::kMaxEntries - destination->count()));
    rows.resize(std::min(rows.size(), room));
    QStringList names;
    names.reserve(static_cast<qsizetype>(rows.size()));
    for (int row : rows) {
        names.append(source->item(row)->text());
    }
    ui::addAllSorted(destination, names);
    removeRows(source, rows);
}

void ListPair::pr_subMoveAll(QListWidget* source, QListWidget* destination) {
    destination->clearSelection();
    const int room = std::max(0, ui::kMaxEntries - destination->count());
    const int moving = std::min(source->count(), room);
    ui::addAllSorted(destination, ui::items(source).first(moving));
    if (moving == source->count()) {
        source->clear();
    } else if (moving > 0) {
        source->model()->removeRows(0, moving);
    }
}

void ListPair::pr_subListMoveTo(QListWidget* destination, QListWidget* source,
                                const QStringList& names) {
    // Pass 1, the unique add: a name goes in unless a destination entry, or
    // an earlier name of the argument, equals it ignoring case. Done as one
    // sorted insertion so that thousands of names stay fast.
    QSet<QString> present;
    for (const QString& entry : ui::items(destination)) {
        present.insert(ui::nameKey(entry));
    }
    QStringList added;
    QSet<QString> keys;
    for (const QString& name : names) {
        const QString key = ui::nameKey(name);
        keys.insert(key);
        if (!present.contains(key)) {
            present.insert(key);
            added.append(name);
        }
    }
    const qsizetype room = std::max(0, ui::kMaxEntries - destination->count());
    // Names a full destination refused stay in the source rather than being
    // lost.
    for (qsizetype refused = room; refused < added.size(); ++refused) {
        keys.remove(ui::nameKey(added.at(refused)));
    }
    ui::addAllSorted(destination, added);
    // Pass 2: every source entry equal to one of the names ignoring case
    // leaves the source, whole-entry match only (an entry that merely begins
    // with a name stays).
    std::vector<int> rows;
    for (int row = 0; row < source->count(); ++row) {
        if (keys.contains(ui::nameKey(source->item(row)->text()))) {
            rows.push_back(row);
        }
    }
    removeRows(source, rows);
}

void ListPair::pr_subMoved() {
    if (pr_subSetListCaption) {
        pr_subSetListCaption();
    }
    if (CmdListDWG != nullptr) {
        CmdListDWG->setEnabled(true);
    }
}

void ListPair::pr_subEntryDoubleClicked(QListWidget* list) {
    const QListWidgetItem* current = list->currentItem();
    if (current != nullptr && pr_subEntryDoubleClick) {
        pr_subEntryDoubleClick(current->text());
    }
}
