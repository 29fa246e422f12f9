#pragma once

#include <QMainWindow>
#include <QStringList>
#include <functional>
#include <memory>
#include <vector>

#include "host/HostApplication.h"

class QAction;
class QTabBar;
class QTimer;

namespace host {

class CommandLine;
class CommandLineWidget;
class DrawingCanvas;
class ObjectPicker;

// The questions the host window asks its user; tests replace them.
struct HostDialogs {
    std::function<QString(QWidget*)> openFile;                       // empty = cancelled
    std::function<QString(QWidget*, const QString& name)> saveFile;  // empty = cancelled
    // Yes (save), No (discard) or Cancel for a drawing with unsaved changes.
    std::function<int(QWidget*, const QString& name)> askSaveChanges;
    std::function<void(QWidget*, const QString& message)> showError;
    // Yes (open the recovery file) or No, before opening a drawing that has
    // one; the text is recoveryQuestion's.
    std::function<int(QWidget*, const QString& text)> askOpenRecovery;
    // The drawing's file was changed by another program since it was opened:
    // Yes (overwrite it), No (save under another name) or Cancel.
    std::function<int(QWidget*, const QString& name)> askChangedOnDisk;
    static HostDialogs standard();
};

// The question asked before overwriting a drawing another program changed.
QString changedOnDiskQuestion(const QString& name);
// The question before a modified drawing is closed.
QString saveChangesQuestion(const QString& name);

// The drawing host's top-level window: tabs of open drawings, Model and
// layout tabs, the canvas and the command line. Its title is always the
// application's Caption, so the tool finds it by title.
class HostWindow : public QMainWindow, public HostWindowPort {
    Q_OBJECT
public:
    HostWindow(HostApplicationPtr app, HostDialogs dialogs = HostDialogs::standard(),
               QWidget* parent = nullptr);
    ~HostWindow() override;

    // HostWindowPort
    QRect frameGeometryPx() const override;
    void setFrameGeometryPx(const QRect& r) override;
    int windowState() const override;
    void setWindowState(int state) override;
    bool isVisible() const override;
    void setVisible(bool visible) override;
    void refresh() override;

    CommandLine& commandLine() { return *cmd_; }
    CommandLineWidget& commandLineWidget() { return *cmdWidget_; }
    DrawingCanvas& canvas() { return *canvas_; }
    QTabBar& documentTabs() { return *docTabs_; }
    QTabBar& layoutTabs() { return *layoutTabs_; }
    const HostApplicationPtr& application() const { return app_; }
    // The pick that SelectOnScreen runs, while it runs; null otherwise.
    ObjectPicker* activePicker() const { return picker_; }
    // Brings the window to the front and lets the user pick objects on the
    // canvas; returns their entity indexes (none when cancelled).
    std::vector<int> pickObjects();

    // File menu actions; false when cancelled or failed.
    bool newDrawing();
    bool openDrawing();
    bool openDrawing(const QString& path);
    // Opens the drawing (or shows the tab that holds it), first offering its
    // recovery file when there is one. Throws acad::Error when it fails.
    HostDocumentPtr openWithRecoveryOffer(const QString& path);
    bool saveDrawing(const HostDocumentPtr& doc);
    bool saveDrawingAs(const HostDocumentPtr& doc);
    bool closeDrawing(const HostDocumentPtr& doc);
    // Edit menu: takes back or replays one step of the active drawing.
    bool undoStep();
    bool redoStep();
    QAction* undoAction() const { return undoAction_; }
    QAction* redoAction() const { return redoAction_; }

Q_SIGNALS:
    // The user closed the window and every drawing was saved or let go.
    void closed();

protected:
    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void buildMenu();
    // Names the next undo and redo steps in the Edit menu.
    void updateEditMenu();
    // Runs a File menu action; an automation error is shown to the user.
    bool attempt(const std::function<void()>& action);
    void hookDocument(const HostDocumentPtr& doc);
    void rebuildTabs();
    void onDocumentTab(int index);
    void onLayoutTab(int index);
    void forgetRecovery(const HostDocumentPtr& doc);

    HostApplicationPtr app_;
    HostDialogs dialogs_;
    CommandLine* cmd_ = nullptr;
    CommandLineWidget* cmdWidget_ = nullptr;
    DrawingCanvas* canvas_ = nullptr;
    QTabBar* docTabs_ = nullptr;
    QTabBar* layoutTabs_ = nullptr;
    QTimer* canvasRefresh_ = nullptr;
    bool rebuilding_ = false;
    HostDocumentPtr shownDoc_;
    // Drawings opened from their recovery file; saving one removes that file.
    std::vector<std::weak_ptr<HostDocument>> recovered_;
    ObjectPicker* picker_ = nullptr;
    QAction* undoAction_ = nullptr;
    QAction* redoAction_ = nullptr;
};

// The drawings TOVA_HOST_DRAWINGS names (';'-separated).
QStringList drawingsFromEnvironment();

// Starts the host inside this process: an application with its window, the
// drawings given (each offered its recovery file; a failure is reported on
// the command line) or a new drawing, shown. The returned object keeps the
// window alive; window (when given) receives it.
acad::ApplicationPtr startHost(const QStringList& paths, HostDialogs dialogs,
                               HostWindow** window = nullptr);
// startHost with the drawings of TOVA_HOST_DRAWINGS and the standard dialogs.
acad::ApplicationPtr startEmbeddedHost();

}  // namespace host
