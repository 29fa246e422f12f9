#pragma once

// The layer-control procedures that need no window: the snapshot read, the
// mode table with its captions, and the writers that put one mode's
// property back into the drawing.

#include <QString>
#include <QStringList>

#include "acad/Acad.h"
#include "layers/LayerState.h"

namespace platform {
class Ui;
}
namespace basScript {
struct Engine;
}

namespace basLC {

// The snapshot field that decides the list side in a mode; false in mode 4,
// whose state is not a layer property.
bool pu_fun_bModeField(const LayerState& state, int mode);
// "ONﾘｽﾄ：表示 [" + count + "個]" and its siblings for each mode.
QString onCaption(int mode, int count);
QString offCaption(int mode, int count);

// The Layers count of the document; 0 with the common error message on failure.
long pu_fun_lnAcad_Layers_Count(platform::Ui& ui, const acad::DocumentPtr& doc);

// Reads every layer in collection order, each field in a fixed order. A
// failure shows the common error message and stops: earlier records keep
// what was read, later ones stay empty.
LayerStateList pu_subAcadGetLayersState(platform::Ui& ui, const acad::DocumentPtr& doc);

// The writers of the processing modes. Each traps its own errors: a failure
// ends it with the common error message and without regeneration.
void pu_subUpdateDWG_ON_OFF(platform::Ui& ui, const acad::DocumentPtr& doc, const QStringList& on,
                            const QStringList& off);
void pu_subUpdateDWG_Freeze(platform::Ui& ui, const acad::DocumentPtr& doc, const QStringList& on,
                            const QStringList& off);
void pu_subUpdateDWG_Lock(platform::Ui& ui, const acad::DocumentPtr& doc, const QStringList& on,
                          const QStringList& off);
void pu_subUpdateDWG_Plot(platform::Ui& ui, const acad::DocumentPtr& doc, const QStringList& on,
                          const QStringList& off);
void pu_subUpdateDWG_NewFreeze(platform::Ui& ui, const acad::DocumentPtr& doc,
                               const QStringList& on, const QStringList& off);
// Freezes the ON names and thaws the OFF names in the current viewport
// through a generated script; returns false when nothing ran (a warning was
// shown, the review was cancelled, or an error occurred).
bool pu_subUpdateDWG_NowFreeze(basScript::Engine& engine, const acad::DocumentPtr& doc,
                               const QStringList& on, const QStringList& off);
// Calls the writer of the mode.
void updateDrawing(basScript::Engine& engine, const acad::DocumentPtr& doc, int mode,
                   const QStringList& on, const QStringList& off);

// The steps the writers share, without error traps of their own (callers
// trap them under their own names).
// Sets or clears the mode's property (display, lock, plot, new-viewport
// freeze) for each name in turn.
void pr_subWriteModeProperty(const acad::DocumentPtr& doc, int mode, const QStringList& names,
                             bool value);
// Freezes each name, except the active layer, which gets a message with the
// icon instead.
void pr_subFreezeNames(platform::Ui& ui, const acad::DocumentPtr& doc, const QStringList& names,
                       int icon);
// Thaws each frozen name, except a frozen active layer, which gets a warning.
void pr_subThawNames(platform::Ui& ui, const acad::DocumentPtr& doc, const QStringList& names);
// True when the model space of a floating viewport is active; otherwise
// shows the matching warning and returns false.
bool pr_fun_bViewportReady(platform::Ui& ui, const acad::DocumentPtr& doc);
// Generates tova_script_vpfreeze.scr / tova_script_vpnotfreeze.scr from the
// templates for the names and returns the path.
QString pr_fun_sMakeViewportScript(const basScript::Engine& engine, bool freeze,
                                   const QStringList& names);

// The warnings of the current-viewport writer.
QString modelTabWarning();
QString paperSpaceWarning();

}  // namespace basLC
