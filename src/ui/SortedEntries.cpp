#include "ui/SortedEntries.h"

#include <QComboBox>
#include <QListWidget>
#include <algorithm>
#include <vector>

#include "ui/Collation.h"

namespace ui {

namespace {

// Names that go in at one row, in their sorted order.
struct Run {
    int row = 0;
    QStringList names;
};

// First row from `low` on whose entry sorts after name (binary search on the
// sorted entries from `low` to the end).
template <typename TextAt>
int upperRow(int low, int count, const TextAt& textAt, const QString& name, const QString& key) {
    int high = count;
    while (low < high) {
        const int middle = low + (high - low) / 2;
        if (compareNames(name, key, textAt(middle)) < 0) {
            high = middle;
        } else {
            low = middle + 1;
        }
    }
    return low;
}

// Sorts the names (keys computed once each) and groups them by the row they
// go in at, rows ascending.
template <typename TextAt>
std::vector<Run> planRuns(int low, int count, const TextAt& textAt, const QStringList& names) {
    struct Keyed {
        QString key;
        QString name;
    };
    std::vector<Keyed> keyed;
    keyed.reserve(static_cast<std::size_t>(names.size()));
    for (const QString& name : names) {
        keyed.push_back({nameKey(name), name});
    }
    std::stable_sort(keyed.begin(), keyed.end(), [](const Keyed& a, const Keyed& b) {
        const int byKey = QString::compare(a.key, b.key, Qt::CaseSensitive);
        return byKey != 0 ? byKey < 0 : QString::compare(a.name, b.name, Qt::CaseSensitive) < 0;
    });
    std::vector<Run> runs;
    for (const Keyed& entry : keyed) {
        const int row = upperRow(low, count, textAt, entry.name, entry.key);
        if (runs.empty() || runs.back().row != row) {
            runs.push_back({row, {}});
        }
        runs.back().names.append(entry.name);
    }
    return runs;
}

// The names that still fit, in the given order.
QStringList fitting(int count, const QStringList& names) {
    const qsizetype room = std::max(0, kMaxEntries - count);
    return names.size() <= room ? names : names.first(room);
}

// Rows before `head` are pinned entries, outside the sorted order: they are
// looked at one by one first.
template <typename TextAt>
int findIn(int head, int count, const TextAt& textAt, const QString& text, bool wholeEntry,
           bool entriesSorted) {
    const QString key = nameKey(text);
    const auto matches = [&](int row) {
        const QString entryKey = nameKey(textAt(row));
        return wholeEntry ? entryKey == key : entryKey.startsWith(key, Qt::CaseSensitive);
    };
    for (int row = 0; row < head; ++row) {
        if (matches(row)) {
            return row;
        }
    }
    if (!entriesSorted) {
        for (int row = head; row < count; ++row) {
            if (matches(row)) {
                return row;
            }
        }
        return -1;
    }
    // Entries equal to the text, or beginning with it, follow one another in
    // collation order starting at the first entry whose key is not below it.
    int low = head;
    int high = count;
    while (low < high) {
        const int middle = low + (high - low) / 2;
        if (QString::compare(nameKey(textAt(middle)), key, Qt::CaseSensitive) < 0) {
            low = middle + 1;
        } else {
            high = middle;
        }
    }
    return low < count && matches(low) ? low : -1;
}

auto listText(const QListWidget* list) {
    return [list](int row) { return list->item(row)->text(); };
}

auto comboText(const QComboBox* combo) {
    return [combo](int row) { return combo->itemText(row); };
}

constexpr const char* kPinnedRowsProperty = "ui_pinnedRows";

// The pinned rows the combo holds now.
int pinnedHead(const QComboBox* combo) {
    return std::min(pinnedRows(combo), combo->count());
}

}  // namespace

QStringList items(const QListWidget* list) {
    QStringList texts;
    texts.reserve(list->count());
    for (int row = 0; row < list->count(); ++row) {
        texts.append(list->item(row)->text());
    }
    return texts;
}

QStringList items(const QComboBox* combo) {
    QStringList texts;
    texts.reserve(combo->count());
    for (int row = 0; row < combo->count(); ++row) {
        texts.append(combo->itemText(row));
    }
    return texts;
}

void setPinnedRows(QComboBox* combo, int rows) {
    combo->setProperty(kPinnedRowsProperty, std::max(0, rows));
}

int pinnedRows(const QComboBox* combo) {
    return combo->property(kPinnedRowsProperty).toInt();
}

int sortedRow(const QListWidget* list, const QString& name) {
    return upperRow(0, list->count(), listText(list), name, nameKey(name));
}

int sortedRow(const QComboBox* combo, const QString& name) {
    const int count = combo->count();
    if (count < pinnedRows(combo)) {
        return count;
    }
    return upperRow(pinnedRows(combo), count, comboText(combo), name, nameKey(name));
}

bool addSorted(QListWidget* list, const QString& name) {
    if (list->count() >= kMaxEntries) {
        return false;
    }
    list->insertItem(sortedRow(list, name), name);
    return true;
}

bool addSorted(QComboBox* combo, const QString& name) {
    if (combo->count() >= kMaxEntries) {
        return false;
    }
    combo->insertItem(sortedRow(combo, name), name);
    return true;
}

bool addAllSorted(QListWidget* list, const QStringList& names) {
    const QStringList accepted = fitting(list->count(), names);
    const std::vector<Run> runs = planRuns(0, list->count(), listText(list), accepted);
    // From the bottom up, so the rows of the runs still to come stay valid.
    for (auto run = runs.rbegin(); run != runs.rend(); ++run) {
        list->insertItems(run->row, run->names);
    }
    return accepted.size() == names.size();
}

bool addAllSorted(QComboBox* combo, const QStringList& names) {
    QStringList accepted = fitting(combo->count(), names);
    // The first names fill the pinned rows still free, in the given order.
    const qsizetype toPin =
        std::clamp<qsizetype>(pinnedRows(combo) - combo->count(), 0, accepted.size());
    if (toPin > 0) {
        combo->insertItems(combo->count(), accepted.first(toPin));
    }
    accepted.remove(0, toPin);
    const std::vector<Run> runs =
        planRuns(pinnedHead(combo), combo->count(), comboText(combo), accepted);
    for (auto run = runs.rbegin(); run != runs.rend(); ++run) {
        combo->insertItems(run->row, run->names);
    }
    return accepted.size() + toPin == names.size();
}

int findEntry(const QListWidget* list, const QString& text, bool wholeEntry, bool entriesSorted) {
    return findIn(0, list->count(), listText(list), text, wholeEntry, entriesSorted);
}

int findEntry(const QComboBox* combo, const QString& text, bool wholeEntry, bool entriesSorted) {
    return findIn(pinnedHead(combo), combo->count(), comboText(combo), text, wholeEntry,
                  entriesSorted);
}

}  // namespace ui
