#pragma once

#include <QString>

#include "acad/Acad.h"
#include "layers/LayerState.h"

// The program-wide state, created once by main and passed by reference. Every
// test builds its own.
struct Program {
    static constexpr const char* kTitle = "TovalenAutoCAD Ver2.01";

    // The attached application and its active drawing.
    acad::ApplicationPtr AcadApp;
    acad::DocumentPtr AcadDoc;
    QString DocFullName;       // full name of the drawing last read
    bool NoDocument = false;   // the last read of the active drawing failed
    qintptr AcadHwnd = 0;      // the CAD application's main window handle

    // The layer state snapshot.
    LayerStateList LayerStates;

    // Options read from the settings file.
    QString Delimiter = QStringLiteral("-");
    bool SmallViewClass = true;
    bool EscALLView = true;
    bool AutoHide = true;
    bool ChkONOFFDetail = false;

    // The settings file: absolute name and whether it may be written.
    QString IniFile = QStringLiteral("TOVA.ini");
    bool IniWritable = false;

    // Main window state.
    bool Busy = false;             // activation changes are ignored while set
    bool Snapping = false;         // the next resize is snapped when set
    int RestoreHeight = 900;       // twips, height to return to on activation
    bool FirstActivation = false;  // set once the first activation was handled
};
