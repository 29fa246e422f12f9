#pragma once

#include <QRect>
#include <QString>
#include <functional>
#include <memory>

#include "acad/Acad.h"
#include "app/basAPIini.h"
#include "app/basDefault.h"
#include "layers/LayerState.h"

namespace platform {
class HostRegistry;
class SingleInstance;
}  // namespace platform

// The program-wide state, created once by main and passed by reference. Every
// test builds its own.
struct Program {
    Program();
    ~Program();

    // The attached application and its active drawing.
    acad::ApplicationPtr AcadApp;
    acad::DocumentPtr AcadDoc;
    QString DocFullName;      // full name of the drawing last read
    bool NoDocument = false;  // the last read of the active drawing failed
    // Set while the active drawing is read: the read shows boxes and a
    // progress window that let events run, and an activation meanwhile must
    // not start a second read (nor tell the user a second time).
    bool ReadingDocument = false;
    qint64 AcadHwnd = 0;  // the CAD application's main window handle

    // The layer state snapshot.
    LayerStateList LayerStates;

    // Options read from the settings file, and the file itself: its absolute
    // name and whether it may be written.
    basDefault::Options Options;
    QString IniFile = QStringLiteral("TOVA.ini");
    basAPIini::IniState Ini;

    // Main window state.
    bool Busy = false;             // activation changes are ignored while set
    bool Snapping = false;         // the next resize is snapped when set
    int RestoreHeight = 900;       // twips, height to return to on activation
    bool FirstActivation = false;  // set once the first activation was handled

    // Where the program finds the CAD application and keeps one instance per
    // user; tests put their own here before the main window loads.
    platform::HostRegistry* Hosts = nullptr;  // null: the process-wide registry
    std::unique_ptr<platform::SingleInstance> Instance;
    // The desktop work area in pixels and the vertical twips per pixel.
    std::function<QRect()> WorkArea;
    std::function<double()> TwipsPerPixelY;
    // Set when start-up decided the program ends (another instance runs, the
    // attach failed or was declined, or an error occurred).
    bool Ending = false;
};
