#include "ui/clsUniqueCombo.h"

#include <QComboBox>
#include <QLineEdit>
#include <QSignalBlocker>

#include "ui/SortedComboBox.h"
#include "ui/SortedEntries.h"

clsUniqueCombo::clsUniqueCombo(QObject* parent) : QObject(parent) {}

void clsUniqueCombo::clsSetComboBox(QComboBox* oCombo) {
    disconnect(activatedHook_);
    disconnect(textHook_);
    pr_oClsUniqueComboBox = oCombo;
    if (oCombo == nullptr) {
        return;
    }
    // Entries come only through clsAddItem; typed text must stay as typed.
    oCombo->setInsertPolicy(QComboBox::NoInsert);
    if (oCombo->isEditable()) {
        oCombo->setCompleter(nullptr);
    }
    activatedHook_ =
        connect(oCombo, &QComboBox::activated, this, &clsUniqueCombo::pr_subSelectTypedText);
    textHook_ =
        connect(oCombo, &QComboBox::editTextChanged, this, &clsUniqueCombo::pr_subSelectTypedText);
}

void clsUniqueCombo::clsAddItem(const QString& sAddString) {
    if (pr_oClsUniqueComboBox == nullptr || cls_fun_iFindItemIndex(sAddString, true) >= 0) {
        return;
    }
    ui::addSorted(pr_oClsUniqueComboBox, sAddString);
}

int clsUniqueCombo::cls_fun_iFindItemIndex(const QString& sFindString, bool bPart) const {
    if (pr_oClsUniqueComboBox == nullptr) {
        return -1;
    }
    // A SortedComboBox is always in collation order, so it can be searched
    // by halves; any other combo is searched entry by entry.
    const bool sorted =
        qobject_cast<const SortedComboBox*>(pr_oClsUniqueComboBox.data()) != nullptr;
    return ui::findEntry(pr_oClsUniqueComboBox, sFindString, bPart, sorted);
}

void clsUniqueCombo::pr_subSelectTypedText() {
    QComboBox* combo = pr_oClsUniqueComboBox;
    if (selecting_ || combo == nullptr) {
        return;
    }
    const QString typed = combo->currentText();
    const int found = cls_fun_iFindItemIndex(typed, true);
    const bool changed = found != combo->currentIndex();
    if (changed) {
        selecting_ = true;
        QLineEdit* edit = combo->lineEdit();
        const int caret = edit != nullptr ? edit->cursorPosition() : 0;
        const int highlightStart = edit != nullptr ? edit->selectionStart() : -1;
        const int highlightLength = edit != nullptr ? edit->selectionLength() : 0;
        {
            const QSignalBlocker comboBlocker(combo);
            const QSignalBlocker editBlocker(edit);
            combo->setCurrentIndex(found);
            if (edit != nullptr && edit->text() != typed) {
                edit->setText(typed);
                if (highlightStart >= 0 && highlightLength > 0) {
                    // setSelection leaves the caret at the far end it is given.
                    if (caret == highlightStart) {
                        edit->setSelection(highlightStart + highlightLength, -highlightLength);
                    } else {
                        edit->setSelection(highlightStart, highlightLength);
                    }
                } else {
                    edit->setCursorPosition(caret);
                }
            }
        }
        selecting_ = false;
        Q_EMIT selectionChanged(found);
    }
    // A reaction to selectionChanged may have unbound or destroyed the combo.
    if (pr_oClsUniqueComboBox != nullptr) {
        Q_EMIT selectionSynced(pr_oClsUniqueComboBox->currentIndex());
    }
}
