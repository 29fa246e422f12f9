#pragma once

// The hand-off of the ON list to the separate layer viewer: the question,
// "WMF.csv" in the program's folder written by the CSV writer, and the viewer
// started with that file's path on its command line.

#include <QString>
#include <QStringList>
#include <functional>

#include "files/Array2D.h"

class clsCSV_Function2;

namespace platform {
class Ui;
}

namespace preview {

struct ViewerHandOff {
    QStringList onList;      // the ON list, first to last
    QString programFolder;   // where "WMF.csv" goes
    QString programsFolder;  // the system's folder of installed programs
    clsCSV_Function2* csv = nullptr;
    // Brings the CAD application's window and then the main window to the front.
    std::function<void()> toForeground;
    // Lets pending window events run.
    std::function<void()> doEvents;
    // Starts a program with its arguments, not waiting for it; false when it
    // could not be started (the error text in *why). Tests put their own here.
    std::function<bool(const QString& program, const QStringList& args, QString* why)> start;
};

// The viewer under the programs folder.
QString viewerPath(const QString& programsFolder);
// The viewer path, a space and the hand-off file, neither quoted.
QString commandLine(const QString& programsFolder, const QString& programFolder);
// The programs folder: TOVA_PROGRAMS when set, else /opt.
QString programsFolder();
// The table the writer gets: rows 1 to n, one column (index 0).
Array2D nameTable(const QStringList& names);

QString questionText();
QString listErrorText();
QString notFoundText(const QString& viewer);

// CmdTool_Confirmation_Click's work; every failure ends in a message box.
void pu_subHandOff(platform::Ui& ui, const ViewerHandOff& h);

}  // namespace preview
