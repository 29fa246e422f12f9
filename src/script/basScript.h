#pragma once

#include <QString>
#include <QStringList>

#include "acad/Acad.h"
#include "script/ScriptFiles.h"

namespace platform {
class Ui;
}

namespace basScript {

// What running a script needs: the Ui port, the CAD application and its
// main window, and the folder the script files live in.
struct Engine {
    platform::Ui& ui;
    acad::ApplicationPtr app;
    qint64 acadWindow = 0;
    QString programFolder;
};

QString headerPath(const Engine& engine);   // SCRIPT_HEADER.txt
QString footerPath(const Engine& engine);   // SCRIPT_FOOTER.txt
QString runFilePath(const Engine& engine);  // tmp_tova_script.scr

// The keystrokes that make the CAD application run the script file.
QString scriptKeystrokes(const QString& runFile);

// Reviews and runs one generated script; bCancel is true when the user
// cancelled the review. Errors show the common message and end the run.
// While it waits for the CAD application, the tool's windows take no user
// input. A run asked for while another is under way does nothing and reports
// bCancel true.
void pu_subExecuteScript(Engine& engine, bool& bCancel, const QString& sScriptPath);
// Whether a script is being reviewed or run now.
bool isScriptRunning();
// Joins the two scripts into tova_script.scr and runs it.
void pu_subExecuteJoinedScript(Engine& engine, bool& bCancel, const QString& sFirst,
                               const QString& sSecond);

}  // namespace basScript
