#include "host/window/HostWindow.h"
#include "host/window/ObjectPicker.h"

#include <QCloseEvent>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QMenuBar>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QTabBar>
#include <QTimer>
#include <QVBoxLayout>
#include <algorithm>

#include "host/Recovery.h"
#include "host/Viewports.h"
#include "host/command/CommandLine.h"
#include "host/window/CommandLineWidget.h"
#include "host/window/DrawingCanvas.h"

namespace host {

QString changedOnDiskQuestion(const QString& name) {
    return QStringLiteral(
               "\"%1\" は開いた後でほかのプログラムによって変更されています。\n"
               "上書きすると、その変更は失われます。上書き保存しますか？")
        .arg(name);
}

QString saveChangesQuestion(const QString& name) {
    return QStringLiteral("「%1」への変更を保存しますか？").arg(name);
}

HostDialogs HostDialogs::standard() {
    HostDialogs d;
    const QString filter = QStringLiteral("DXF 図面 (*.dxf *.DXF)");
    d.openFile = [filter](QWidget* parent) {
        return QFileDialog::getOpenFileName(parent, QStringLiteral("開く"), QString(), filter);
    };
    d.saveFile = [filter](QWidget* parent, const QString& name) {
        QString path =
            QFileDialog::getSaveFileName(parent, QStringLiteral("名前を付けて保存"), name, filter);
        if (!path.isEmpty() && QFileInfo(path).suffix().isEmpty())
            path += QStringLiteral(".dxf");
        return path;
    };
    d.askSaveChanges = [](QWidget* parent, const QString& name) {
        const auto b = QMessageBox::question(
            parent, QString::fromLatin1(HostApplication::kProductName), saveChangesQuestion(name),
            QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel, QMessageBox::Yes);
        return static_cast<int>(b);
    };
    d.askChangedOnDisk = [](QWidget* parent, const QString& name) {
        QMessageBox box(QMessageBox::Warning, QString::fromLatin1(HostApplication::kProductName),
                        changedOnDiskQuestion(name),
                        QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel, parent);
        box.button(QMessageBox::Yes)->setText(QStringLiteral("上書き保存"));
        box.button(QMessageBox::No)->setText(QStringLiteral("名前を付けて保存"));
        box.button(QMessageBox::Cancel)->setText(QStringLiteral("キャンセル"));
        box.setDefaultButton(QMessageBox::Cancel);
        return box.exec();
    };
    d.showError = [](QWidget* parent, const QString& message) {
        QMessageBox::critical(parent, QString::fromLatin1(HostApplication::kProductName), message);
    };
    d.askOpenRecovery = [](QWidget* parent, const QString& text) {
        return static_cast<int>(
            QMessageBox::question(parent, QString::fromLatin1(HostApplication::kProductName), text,
                                  QMessageBox::Yes | QMessageBox::No, QMessageBox::Yes));
    };
    return d;
}

HostWindow::HostWindow(HostApplicationPtr app, HostDialogs dialogs, QWidget* parent)
    : QMainWindow(parent), app_(std::move(app)), dialogs_(std::move(dialogs)) {
    setObjectName(QStringLiteral("HostWindow"));
    cmd_ = new CommandLine(*app_, this);
    auto* central = new QWidget(this);
    auto* layout = new QVBoxLayout(central);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    docTabs_ = new QTabBar(central);
    docTabs_->setObjectName(QStringLiteral("DocumentTabs"));
    docTabs_->setFocusPolicy(Qt::NoFocus);
    docTabs_->setExpanding(false);
    canvas_ = new DrawingCanvas(central);
    canvas_->setFocusPolicy(Qt::NoFocus);
    layoutTabs_ = new QTabBar(central);
    layoutTabs_->setObjectName(QStringLiteral("LayoutTabs"));
    layoutTabs_->setFocusPolicy(Qt::NoFocus);
    layoutTabs_->setShape(QTabBar::RoundedSouth);
    layoutTabs_->setExpanding(false);
    cmdWidget_ = new CommandLineWidget(*cmd_, central);
    layout->addWidget(docTabs_);
    layout->addWidget(canvas_, 1);
    layout->addWidget(layoutTabs_);
    layout->addWidget(cmdWidget_);
    setCentralWidget(central);
    setFocusProxy(cmdWidget_);
    cmdWidget_->setFocus();
    buildMenu();
    canvasRefresh_ = new QTimer(this);
    canvasRefresh_->setSingleShot(true);
    canvasRefresh_->setInterval(50);
    connect(canvasRefresh_, &QTimer::timeout, canvas_, &DrawingCanvas::refresh);
    connect(docTabs_, &QTabBar::currentChanged, this, &HostWindow::onDocumentTab);
    connect(layoutTabs_, &QTabBar::currentChanged, this, &HostWindow::onLayoutTab);
    connect(cmd_, &CommandLine::fileDialogRequested, this, [this](const QString&) {
        const QString path = dialogs_.openFile ? dialogs_.openFile(this) : QString();
        if (!path.isEmpty())
            cmd_->runScriptFile(path);
    });
    resize(1024, 700);
    app_->setWindow(this);
}

HostWindow::~HostWindow() {
    if (app_ && app_->window() == this)
        app_->setWindow(nullptr);
    // The drawings may outlive the window (the automation side holds them);
    // their callbacks into it go with it.
    if (app_) {
        for (const auto& doc : app_->documents()) {
            doc->onChanged = nullptr;
            doc->pickOnScreen = nullptr;
            doc->onRegen = nullptr;
        }
    }
}

void HostWindow::buildMenu() {
    QMenu* file = menuBar()->addMenu(QStringLiteral("ファイル(&F)"));
    file->addAction(QStringLiteral("新規作成(&N)"), QKeySequence::New, this,
                    [this] { newDrawing(); });
    file->addAction(QStringLiteral("開く(&O)..."), QKeySequence::Open, this,
                    [this] { openDrawing(); });
    file->addAction(QStringLiteral("上書き保存(&S)"), QKeySequence::Save, this,
                    [this] { saveDrawing(app_->activeDocument()); });
    file->addAction(QStringLiteral("名前を付けて保存(&A)..."), QKeySequence::SaveAs, this,
                    [this] { saveDrawingAs(app_->activeDocument()); });
    file->addAction(QStringLiteral("閉じる(&C)"), QKeySequence::Close, this,
                    [this] { closeDrawing(app_->activeDocument()); });
    QMenu* edit = menuBar()->addMenu(QStringLiteral("編集(&E)"));
    edit->setObjectName(QStringLiteral("EditMenu"));
    undoAction_ = edit->addAction(QStringLiteral("元に戻す"), QKeySequence(Qt::CTRL | Qt::Key_Z),
                                  this, [this] { undoStep(); });
    undoAction_->setObjectName(QStringLiteral("EditUndo"));
    redoAction_ = edit->addAction(QStringLiteral("やり直し"), QKeySequence(Qt::CTRL | Qt::Key_Y),
                                  this, [this] { redoStep(); });
    redoAction_->setObjectName(QStringLiteral("EditRedo"));
    connect(edit, &QMenu::aboutToShow, this, &HostWindow::updateEditMenu);
    updateEditMenu();
}

void HostWindow::updateEditMenu() {
    if (!undoAction_)
        return;
    auto doc = app_->activeDocument();
    const bool open = doc && !doc->isClosed();
    const bool idle = !cmd_->isBusy();
    const bool canUndo = open && idle && doc->history().canUndo();
    const bool canRedo = open && idle && doc->history().canRedo();
    undoAction_->setEnabled(canUndo);
    redoAction_->setEnabled(canRedo);
    undoAction_->setText(canUndo ? QStringLiteral("元に戻す: ") + doc->history().undoName()
                                 : QStringLiteral("元に戻す"));
    redoAction_->setText(canRedo ? QStringLiteral("やり直し: ") + doc->history().redoName()
                                 : QStringLiteral("やり直し"));
}

bool HostWindow::undoStep() {
    auto doc = app_->activeDocument();
    bool done = false;
    // The command line's own steps are whole commands: not while one runs.
    if (doc && !doc->isClosed() && !cmd_->isBusy())
        done = attempt([&] { done = doc->undo(1) == 1; }) && done;
    if (done)
        canvas_->refresh();
    updateEditMenu();
    return done;
}

bool HostWindow::redoStep() {
    auto doc = app_->activeDocument();
    bool done = false;
    if (doc && !doc->isClosed() && !cmd_->isBusy())
        done = attempt([&] { done = doc->redo(1) == 1; }) && done;
    if (done)
        canvas_->refresh();
    updateEditMenu();
    return done;
}

// ---- HostWindowPort -------------------------------------------------------

QRect HostWindow::frameGeometryPx() const {
    return frameGeometry();
}

void HostWindow::setFrameGeometryPx(const QRect& r) {
    // The frame around the client area is the window manager's; keep it.
    const QSize extra = frameGeometry().size() - size();
    if (QMainWindow::windowState() & (Qt::WindowMaximized | Qt::WindowMinimized))
        QMainWindow::setWindowState(Qt::WindowNoState);
    move(r.topLeft());
    resize((r.size() - extra).expandedTo(QSize(100, 100)));
}

int HostWindow::windowState() const {
    const auto s = QMainWindow::windowState();
    if (s & Qt::WindowMinimized)
        return acad::acMin;
    if (s & Qt::WindowMaximized)
        return acad::acMax;
    return acad::acNorm;
}

void HostWindow::setWindowState(int state) {
    switch (state) {
        case acad::acMax:
            showMaximized();
            break;
        case acad::acMin:
            showMinimized();
            break;
        default:
            if (QMainWindow::isVisible())
                showNormal();
            else
                QMainWindow::setWindowState(Qt::WindowNoState);
            break;
    }
}

bool HostWindow::isVisible() const {
    return QMainWindow::isVisible();
}

void HostWindow::setVisible(bool visible) {
    QMainWindow::setVisible(visible);
}

void HostWindow::refresh() {
    setWindowTitle(app_->Caption());
    rebuildTabs();
    updateEditMenu();
    auto doc = app_->activeDocument();
    if (doc != shownDoc_) {
        shownDoc_ = doc;
        if (doc)
            hookDocument(doc);
        canvas_->setDocument(doc);
        canvas_->zoomExtents();
    } else {
        canvas_->refresh();
    }
}

// ---- tabs -----------------------------------------------------------------

void HostWindow::hookDocument(const HostDocumentPtr& doc) {
    std::weak_ptr<HostDocument> weak = doc;
    doc->pickOnScreen = [this] { return pickObjects(); };
    doc->onChanged = [this, weak] {
        auto d = weak.lock();
        setWindowTitle(app_->Caption());
        if (!d)
            return;
        // Any open drawing can change through the automation model, not
        // only the active one: mark the drawing's own tab.
        const auto& docs = app_->documents();
        const auto it = std::find(docs.begin(), docs.end(), d);
        const int i = static_cast<int>(it - docs.begin());
        // Every layer a command writes reports a change: only a new text
        // touches the tab.
        const QString text = d->Name() + (d->isModified() ? "*" : "");
        if (it != docs.end() && i < docTabs_->count() && docTabs_->tabText(i) != text)
            docTabs_->setTabText(i, text);
        // The active drawing is drawn again once a burst of changes (a
        // script changes many layers) has settled.
        if (d == app_->activeDocument()) {
            canvasRefresh_->start();
            updateEditMenu();
        }
    };
    doc->onRegen = [this, weak] {
        if (weak.lock() == app_->activeDocument())
            canvas_->refresh();
    };
}

void HostWindow::rebuildTabs() {
    rebuilding_ = true;
    const auto& docs = app_->documents();
    while (docTabs_->count() > static_cast<int>(docs.size()))
        docTabs_->removeTab(docTabs_->count() - 1);
    for (size_t i = 0; i < docs.size(); ++i) {
        const QString text = docs[i]->Name() + (docs[i]->isModified() ? "*" : "");
        if (static_cast<int>(i) < docTabs_->count())
            docTabs_->setTabText(static_cast<int>(i), text);
        else
            docTabs_->addTab(text);
        if (docs[i] == app_->activeDocument())
            docTabs_->setCurrentIndex(static_cast<int>(i));
    }
    while (layoutTabs_->count() > 0)
        layoutTabs_->removeTab(0);
    if (auto doc = app_->activeDocument()) {
        layoutTabs_->addTab(QStringLiteral("Model"));
        const auto names = layoutNames(doc->drawing());
        for (const QString& n : names)
            layoutTabs_->addTab(n);
        int current = 0;
        if (doc->ActiveSpace() == acad::acPaperSpace) {
            current = 1;
            for (size_t i = 0; i < names.size(); ++i)
                if (names[i].compare(doc->currentLayout(), Qt::CaseInsensitive) == 0)
                    current = static_cast<int>(i) + 1;
            if (current >= layoutTabs_->count())
                current = 0;
        }
        layoutTabs_->setCurrentIndex(current);
    }
    rebuilding_ = false;
}

void HostWindow::onDocumentTab(int index) {
    if (rebuilding_)
        return;
    const auto& docs = app_->documents();
    if (index >= 0 && index < static_cast<int>(docs.size()) &&
        docs[static_cast<size_t>(index)] != app_->activeDocument())
        app_->setActiveDocument(docs[static_cast<size_t>(index)]);
}

void HostWindow::onLayoutTab(int index) {
    if (rebuilding_)
        return;
    auto doc = app_->activeDocument();
    if (!doc || index < 0)
        return;
    if (index == 0) {
        if (doc->ActiveSpace() != acad::acModelSpace)
            doc->setActiveSpace(acad::acModelSpace);
    } else {
        doc->setCurrentLayout(layoutTabs_->tabText(index));
        doc->setMSpace(false);
        doc->setCurrentViewport(-1);
        if (doc->ActiveSpace() != acad::acPaperSpace)
            doc->setActiveSpace(acad::acPaperSpace);
    }
    canvas_->refresh();
    canvas_->zoomExtents();
}

// ---- File menu ------------------------------------------------------------

bool HostWindow::attempt(const std::function<void()>& action) {
    try {
        action();
        return true;
    } catch (const acad::Error& e) {
        if (dialogs_.showError)
            dialogs_.showError(this, e.description());
        return false;
    }
}

bool HostWindow::newDrawing() {
    return attempt([this] { app_->newDrawing(); });
}

bool HostWindow::openDrawing() {
    const QString path = dialogs_.openFile ? dialogs_.openFile(this) : QString();
    return !path.isEmpty() && openDrawing(path);
}

bool HostWindow::openDrawing(const QString& path) {
    return attempt([&] { openWithRecoveryOffer(path); });
}

HostDocumentPtr HostWindow::openWithRecoveryOffer(const QString& path) {
    if (auto open = app_->findOpen(path)) {
        app_->setActiveDocument(open);
        return open;
    }
    const QString recovery = pendingRecoveryFor(path);
    if (!recovery.isEmpty() && dialogs_.askOpenRecovery &&
        dialogs_.askOpenRecovery(this, recoveryQuestion(QFileInfo(path).fileName(), recovery)) ==
            QMessageBox::Yes) {
        auto doc = app_->openRecovered(path, recovery);
        recovered_.push_back(doc);
        return doc;
    }
    return app_->open(path);
}

bool HostWindow::saveDrawing(const HostDocumentPtr& doc) {
    if (!doc)
        return false;
    if (doc->FullName().isEmpty())
        return saveDrawingAs(doc);
    // A file another program changed is overwritten only when the user says
    // so; without a question to ask, the save refuses.
    bool overwrite = false;
    if (doc->changedOnDisk() && dialogs_.askChangedOnDisk) {
        const int answer = dialogs_.askChangedOnDisk(this, doc->Name());
        if (answer == QMessageBox::No)
            return saveDrawingAs(doc);
        if (answer != QMessageBox::Yes)
            return false;
        overwrite = true;
    }
    return attempt([&] {
        doc->save(QString(), overwrite);
        forgetRecovery(doc);
        refresh();
    });
}

void HostWindow::forgetRecovery(const HostDocumentPtr& doc) {
    // Once a recovered drawing is saved under its name, its recovery file
    // holds nothing the drawing does not.
    for (auto it = recovered_.begin(); it != recovered_.end();) {
        const auto d = it->lock();
        if (!d || d == doc) {
            if (d)
                QFile::remove(recoveryPathFor(d->FullName()));
            it = recovered_.erase(it);
        } else {
            ++it;
        }
    }
}

bool HostWindow::saveDrawingAs(const HostDocumentPtr& doc) {
    if (!doc)
        return false;
    const QString path = dialogs_.saveFile ? dialogs_.saveFile(this, doc->Name()) : QString();
    if (path.isEmpty())
        return false;
    // The chooser has asked about replacing an existing file.
    return attempt([&] {
        doc->save(path, true);
        refresh();
    });
}

bool HostWindow::closeDrawing(const HostDocumentPtr& doc) {
    if (!doc)
        return false;
    if (doc->isModified() && dialogs_.askSaveChanges) {
        const int answer = dialogs_.askSaveChanges(this, doc->Name());
        if (answer == QMessageBox::Cancel)
            return false;
        if (answer == QMessageBox::Yes && !saveDrawing(doc))
            return false;
    }
    if (shownDoc_ == doc) {
        shownDoc_.reset();
        canvas_->setDocument(nullptr);
    }
    app_->close(doc);
    return true;
}

void HostWindow::closeEvent(QCloseEvent* event) {
    // Every drawing with unsaved changes is asked about; Cancel keeps the window.
    const auto docs = app_->documents();
    for (const auto& doc : docs)
        if (doc->isModified() && !closeDrawing(doc)) {
            event->ignore();
            return;
        }
    event->accept();
    Q_EMIT closed();
}

std::vector<int> HostWindow::pickObjects() {
    if (picker_)
        acad::raise(acad::ErrorNumber::NotAllowed, QStringLiteral("オブジェクトの選択中です。"));
    show();
    raise();
    activateWindow();
    ObjectPicker picker(*canvas_, cmd_);
    picker.watchKeys(this);
    picker_ = &picker;
    QPointer<HostWindow> self(this);
    const std::vector<int> picked = picker.run();
    if (self)
        picker_ = nullptr;
    return picked;
}

void HostWindow::keyPressEvent(QKeyEvent* event) {
    if (!cmdWidget_->handleKey(event))
        QMainWindow::keyPressEvent(event);
}

// ---- embedded start -------------------------------------------------------

namespace {

struct EmbeddedHost {
    HostApplicationPtr app;
    std::unique_ptr<HostWindow> window;
    ~EmbeddedHost() {
        window.reset();  // detaches from the application first
    }
};

}  // namespace

QStringList drawingsFromEnvironment() {
    QStringList paths;
    for (const QString& p :
         qEnvironmentVariable("TOVA_HOST_DRAWINGS").split(QLatin1Char(';'), Qt::SkipEmptyParts))
        if (!p.trimmed().isEmpty())
            paths << p.trimmed();
    return paths;
}

acad::ApplicationPtr startEmbeddedHost() {
    return startHost(drawingsFromEnvironment(), HostDialogs::standard());
}

acad::ApplicationPtr startHost(const QStringList& paths, HostDialogs dialogs, HostWindow** window) {
    auto holder = std::make_shared<EmbeddedHost>();
    holder->app = std::make_shared<HostApplication>();
    holder->window = std::make_unique<HostWindow>(holder->app, std::move(dialogs));
    if (window)
        *window = holder->window.get();
    for (const QString& p : paths) {
        try {
            holder->window->openWithRecoveryOffer(p);
        } catch (const acad::Error& e) {
            holder->window->commandLine().print(e.description());
        }
    }
    if (holder->app->documents().empty())
        holder->app->newDrawing();
    holder->window->show();
    holder->window->canvas().zoomExtents();
    return acad::ApplicationPtr(holder, holder->app.get());
}

}  // namespace host
