#pragma once

// Attaching to the CAD application and reading its active drawing into the
// program: the one place where a drawing enters the system.

#include <QString>

class frmMain;

namespace basAcadObject {

struct FindResult {
    bool found = false;
    bool declined = false;
    QString errorText;
};

// Attaches to the running application or offers to start one.
FindResult pr_subFindOrStartAcad(frmMain& form);
// Attaches, offers to tile the application below the main window, makes it
// visible and reads the active drawing. Returns true when the attach failed
// (or was declined); the program then ends.
bool pu_fun_bAttachAcad(frmMain& form);
// Reads the active drawing: caption, snapshot, lists and combos. Sets the
// no-document flag (after its message) when there is no drawing.
void pu_subReadActiveDocument(frmMain& form);

// The texts of the questions and messages.
QString startQuestion();
QString notFoundMessage();
QString tilingQuestion();
QString noDocumentMessage();

}  // namespace basAcadObject
