#pragma once

// The replacement dialog of the layer-name and text-string commands: a
// search text and a replacement, plain or as a regular expression, and the
// before and after lists that show the result before it is applied.
// Layer mode (Tag "0") renames the layers of the ON list, merging a layer
// into one that already has its new name; text mode (Tag "1") changes the
// texts of the chosen text objects, found by their handles.

#include <QDialog>
#include <QStringList>
#include <array>
#include <functional>
#include <vector>

#include "acad/Acad.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;

namespace platform {
class Ui;
}

class frmReplaceLayerName : public QDialog {
    Q_OBJECT

public:
    // What the executors need from the program: the drawing and the
    // progress window.
    struct Context {
        acad::DocumentPtr doc;
        QString sDelimiter = QStringLiteral("-");
        std::function<void(const QString&)> showProgress;
        std::function<void()> closeProgress;
    };

    frmReplaceLayerName(platform::Ui& ui, Context context, QWidget* parent = nullptr);

    // Layer mode: the ON list and the main window's four class combos.
    // True when the user executed (whether or not every row succeeded).
    static bool pu_fun_bShow(platform::Ui& ui, Context context, const QStringList& sOnList,
                             const std::array<QComboBox*, 4>& oCbos, QWidget* owner);
    // Text mode: the texts and the handles of the chosen objects.
    static bool pu_fun_bShow_String(platform::Ui& ui, Context context, const QStringList& sString,
                                    const QStringList& sIndex, QWidget* owner);

    // The message of an invalid layer-name character.
    static QString invalidCharMessage();

    // Fills the dialog for one mode (the static functions call these, tests too).
    void pr_subLoadLayers(const QStringList& sOnList, const std::array<QComboBox*, 4>& oCbos);
    void pr_subLoadStrings(const QStringList& sString, const QStringList& sIndex);
    // The executors; each traps its own failures.
    void pr_subReplaceLayerExcute();
    void pr_subReplaceStringExcute();
    bool result() const { return bResult_; }
    const std::vector<int>& rowMap() const { return rowMap_; }

    QLabel* LblItem = nullptr;
    std::array<QComboBox*, 4> CboItem{};
    std::array<QLabel*, 3> LblDelimiter{};
    QLabel* LblFindStr = nullptr;
    QLineEdit* TxtFindStr = nullptr;
    QLabel* LblReplace = nullptr;
    QLineEdit* TxtReplace = nullptr;
    QCheckBox* ChkRegExp = nullptr;
    QLabel* LblLayerBefore = nullptr;
    QListWidget* LstLayerBefore = nullptr;
    QLabel* LblLayerAfter = nullptr;
    QListWidget* LstLayerAfter = nullptr;
    QPushButton* OKButton = nullptr;
    QPushButton* CancelButton = nullptr;

    // Rebuilds the search text from the class row (layer mode).
    void pr_subSearchFromClasses();
    // Recomputes the new values and refills the after list.
    void pr_subRefresh();

private:
    bool layerMode() const { return property("Tag").toString() == QLatin1String("0"); }
    QStringList beforeRows() const;
    void pr_subReplaceChanged();
    void pr_subBeforeClicked();
    void pr_subAfterClicked();

    platform::Ui& ui_;
    Context ctx_;
    QStringList sIndex_;
    std::vector<int> rowMap_;
    bool bLink_ = false;
    bool bResult_ = false;
    bool loading_ = false;
};
