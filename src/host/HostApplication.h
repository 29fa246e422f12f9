#pragma once

#include <QRect>
#include <memory>
#include <vector>

#include "acad/Acad.h"
#include "host/HostDocument.h"

namespace host {

// What the application needs of its window; the host window implements it.
// Without a window the application keeps the values itself.
class HostWindowPort {
public:
    virtual ~HostWindowPort() = default;
    virtual QRect frameGeometryPx() const = 0;
    virtual void setFrameGeometryPx(const QRect& r) = 0;
    virtual int windowState() const = 0;
    virtual void setWindowState(int state) = 0;
    virtual bool isVisible() const = 0;
    virtual void setVisible(bool visible) = 0;
    virtual void refresh() = 0;  // title, tabs and canvas follow the documents
};

// The drawing host as the automation model's Application: the open drawings,
// the active one, the window's geometry and whether it is idle.
class HostApplication : public acad::Application,
                        public std::enable_shared_from_this<HostApplication> {
public:
    static constexpr const char* kProductName = "Tovalen Drawing Host";

    HostApplication();

    // acad::Application
    QString Caption() const override;
    void SetWindowState(int state) override;
    int WindowState() const override;
    void SetWidth(int pixels) override;
    int Width() const override;
    void SetHeight(int pixels) override;
    int Height() const override;
    void SetWindowTop(int pixels) override;
    int WindowTop() const override;
    void SetWindowLeft(int pixels) override;
    int WindowLeft() const override;
    void SetVisible(bool visible) override;
    bool Visible() const override;
    acad::DocumentPtr ActiveDocument() override;
    void Update() override;
    std::shared_ptr<acad::AcadState> GetAcadState() override;

    // Host side.
    HostDocumentPtr open(const QString& path);
    // Opens the drawing at path with the contents of recoveryPath: the
    // drawing keeps its own name and is marked modified, so saving writes
    // the recovered contents to path.
    HostDocumentPtr openRecovered(const QString& path, const QString& recoveryPath);
    // The open drawing held in the file at path, or null.
    HostDocumentPtr findOpen(const QString& path) const;
    HostDocumentPtr newDrawing();
    void close(const HostDocumentPtr& doc);
    const std::vector<HostDocumentPtr>& documents() const { return docs_; }
    HostDocumentPtr activeDocument() const { return active_; }
    void setActiveDocument(const HostDocumentPtr& doc);
    void setBusy(bool busy) { busy_ = busy; }
    bool isBusy() const { return busy_; }
    void setWindow(HostWindowPort* window);
    HostWindowPort* window() const { return window_; }
    int updateCount() const { return updates_; }

private:
    void refresh();
    QRect geometry() const;
    void setGeometry(const QRect& r);

    std::vector<HostDocumentPtr> docs_;
    HostDocumentPtr active_;
    HostWindowPort* window_ = nullptr;
    QRect geometry_{0, 0, 1024, 768};
    int windowState_ = acad::acNorm;
    bool visible_ = false;
    bool busy_ = false;
    int updates_ = 0;
    int untitled_ = 0;
};

using HostApplicationPtr = std::shared_ptr<HostApplication>;

}  // namespace host
