#pragma once

#include <QString>
#include <cstdint>
#include <vector>

// One layer as read from the drawing, fields in the order they are listed.
struct LayerState {
    QString Name;
    bool LayerOn = false;
    bool Freeze = false;
    bool Lock = false;
    std::int32_t Color = 0;
    QString Linetype;
    std::int32_t Lineweight = 0;
    QString PlotStyleName;
    bool Plottable = false;
    bool ViewportDefault = false;
};

// The snapshot, in the order of the drawing's Layers collection. Element 0
// is the collection's first layer; callers that count from 1 add one.
using LayerStateList = std::vector<LayerState>;

// The processing modes: the index of the selected OptExeMode button.
enum ExeMode : int {
    ModeDisplay = 0,
    ModeFreezeAll = 1,
    ModeLock = 2,
    ModePlot = 3,
    ModeFreezeCurrentVP = 4,
    ModeFreezeNewVP = 5,
};
