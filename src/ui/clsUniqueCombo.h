#pragma once

// Keeps the entries of one combo box unique without regard to letter case,
// finds entries, and runs the typed-text selection: whenever the combo
// reports a click (activated) or a change of its edit text, the entry equal to
// the text ignoring case becomes the current entry, or no entry (index -1)
// when none equals it. The rest of the program tells a known name (index 0
// or more) from a new one (-1) by the current index.
//
// The edit field keeps exactly what the user typed, caret and highlight
// included: QComboBox::setCurrentIndex would rewrite the edit text with the
// entry's text (or clear it for -1), so the wrapper sets the index with the
// combo's signals blocked and puts the typed text back. Because the combo's
// own currentIndexChanged is not emitted for these changes, the wrapper
// reports them with its own signals, sent once index and text agree.
//
// It holds only a pointer to its combo box; the combo is the only store of
// the entries.

#include <QMetaObject>
#include <QObject>
#include <QPointer>
#include <QString>

class QComboBox;

class clsUniqueCombo : public QObject {
    Q_OBJECT

public:
    explicit clsUniqueCombo(QObject* parent = nullptr);

    // Binds the wrapper to oCombo, replacing (and unhooking) any earlier
    // binding. The combo is set to add nothing on Enter and, when editable, to
    // complete nothing inline, so its text is only ever what was typed or set.
    void clsSetComboBox(QComboBox* oCombo);
    QComboBox* comboBox() const { return pr_oClsUniqueComboBox; }

    // Adds sAddString at its sorted place unless an entry equal to it
    // ignoring case is there already (or the combo is full).
    void clsAddItem(const QString& sAddString);

    // Index of the first entry from the top that equals sFindString (bPart
    // true) or begins with it (bPart false), ignoring case; -1 when none or
    // when no combo is bound.
    int cls_fun_iFindItemIndex(const QString& sFindString, bool bPart) const;

Q_SIGNALS:
    // The typed-text selection changed the combo's current index to index.
    void selectionChanged(int index);
    // A typed-text selection run ended (after a click or any change of the
    // edit text, also when the index stayed): index is the current index,
    // and the edit text is the text that was typed or set.
    void selectionSynced(int index);

private:
    void pr_subSelectTypedText();

    QPointer<QComboBox> pr_oClsUniqueComboBox;
    QMetaObject::Connection activatedHook_;
    QMetaObject::Connection textHook_;
    bool selecting_ = false;
};
