#pragma once

#include <QMainWindow>
#include <functional>

#include "host/HostApplication.h"

class QAction;
class QTabBar;
class QTimer;

namespace host {

class CommandLine;
class CommandLineWidget;
class DrawingCanvas;

// The questions the host window asks its user; tests replace them.
struct HostDialogs {
    std::function<QString(QWidget*)> openFile;                       // empty = cancelled
    std::function<QString(QWidget*, const QString& name)> saveFile;  // empty = cancelled
    // Yes (save), No (discard) or Cancel for a drawing with unsaved changes.
    std::function<int(QWidget*, const QString& name)> askSaveChanges;
    std::function<void(QWidget*, const QString& message)> showError;
    static HostDialogs standard();
};

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

    // File menu actions; false when cancelled or failed.
    bool newDrawing();
    bool openDrawing();
    bool openDrawing(const QString& path);
    bool saveDrawing(const HostDocumentPtr& doc);
    bool saveDrawingAs(const HostDocumentPtr& doc);
    bool closeDrawing(const HostDocumentPtr& doc);
    // Edit menu: takes back or replays one step of the active drawing.
    bool undoStep();
    bool redoStep();
    QAction* undoAction() const { return undoAction_; }
    QAction* redoAction() const { return redoAction_; }

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
    QAction* undoAction_ = nullptr;
    QAction* redoAction_ = nullptr;
};

// Starts the host inside this process: an application with its window, the
// drawings named in TOVA_HOST_DRAWINGS (';'-separated) or a new drawing. The
// returned object keeps the window alive.
acad::ApplicationPtr startEmbeddedHost();

}  // namespace host
