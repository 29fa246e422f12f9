#include "host/HostApplication.h"

#include <QFileInfo>
#include <algorithm>

namespace host {

namespace {

class State : public acad::AcadState {
public:
    explicit State(const HostApplication* app) : app_(app) {}
    bool IsQuiescent() const override { return !app_->isBusy(); }

private:
    const HostApplication* app_;
};

}  // namespace

HostApplication::HostApplication() = default;

QString HostApplication::Caption() const {
    QString caption = QString::fromLatin1(kProductName);
    if (active_) {
        const QString full = active_->FullName();
        caption += QStringLiteral(" - [") + (full.isEmpty() ? active_->Name() : full) +
                   QStringLiteral("]");
    }
    return caption;
}

QRect HostApplication::geometry() const {
    return window_ ? window_->frameGeometryPx() : geometry_;
}

void HostApplication::setGeometry(const QRect& r) {
    geometry_ = r;
    if (window_)
        window_->setFrameGeometryPx(r);
}

void HostApplication::SetWindowState(int state) {
    if (state != acad::acNorm && state != acad::acMin && state != acad::acMax)
        acad::raise(acad::ErrorNumber::InvalidInput,
                    QStringLiteral("引数が無効です: ウィンドウの状態 %1").arg(state));
    windowState_ = state;
    if (window_)
        window_->setWindowState(state);
}

int HostApplication::WindowState() const {
    return window_ ? window_->windowState() : windowState_;
}

void HostApplication::SetWidth(int pixels) {
    QRect r = geometry();
    r.setWidth(pixels);
    setGeometry(r);
}

int HostApplication::Width() const {
    return geometry().width();
}

void HostApplication::SetHeight(int pixels) {
    QRect r = geometry();
    r.setHeight(pixels);
    setGeometry(r);
}

int HostApplication::Height() const {
    return geometry().height();
}

void HostApplication::SetWindowTop(int pixels) {
    QRect r = geometry();
    r.moveTop(pixels);
    setGeometry(r);
}

int HostApplication::WindowTop() const {
    return geometry().top();
}

void HostApplication::SetWindowLeft(int pixels) {
    QRect r = geometry();
    r.moveLeft(pixels);
    setGeometry(r);
}

int HostApplication::WindowLeft() const {
    return geometry().left();
}

void HostApplication::SetVisible(bool visible) {
    visible_ = visible;
    if (window_)
        window_->setVisible(visible);
}

bool HostApplication::Visible() const {
    return window_ ? window_->isVisible() : visible_;
}

acad::DocumentPtr HostApplication::ActiveDocument() {
    if (!active_)
        acad::raise(acad::ErrorNumber::NoActiveDocument,
                    QStringLiteral("開いている図面がありません。"));
    return active_;
}

void HostApplication::Update() {
    ++updates_;
    refresh();
}

std::shared_ptr<acad::AcadState> HostApplication::GetAcadState() {
    return std::make_shared<State>(this);
}

HostDocumentPtr HostApplication::findOpen(const QString& path) const {
    const QFileInfo info(path);
    for (const auto& d : docs_)
        if (!d->FullName().isEmpty() && QFileInfo(d->FullName()) == info)
            return d;
    return nullptr;
}

HostDocumentPtr HostApplication::openRecovered(const QString& path, const QString& recoveryPath) {
    if (auto d = findOpen(path)) {
        setActiveDocument(d);
        return d;
    }
    const QFileInfo info(path);
    // The recovered drawing replaces the file as it is on disk now.
    const FileStamp stamp = FileStamp::of(path);
    auto doc = std::make_shared<HostDocument>(Drawing::load(recoveryPath), info.absoluteFilePath(),
                                              info.fileName());
    doc->setDiskStamp(stamp);
    doc->markDifferentFromDisk();
    docs_.push_back(doc);
    setActiveDocument(doc);
    return doc;
}

HostDocumentPtr HostApplication::open(const QString& path) {
    const QFileInfo info(path);
    if (auto d = findOpen(path)) {
        setActiveDocument(d);
        return d;
    }
    // The file's state is taken before it is read, so a change made while
    // it is read is noticed at the next save too.
    const FileStamp stamp = FileStamp::of(path);
    auto drawing = Drawing::load(path);
    auto doc = std::make_shared<HostDocument>(std::move(drawing), info.absoluteFilePath(),
                                              info.fileName());
    doc->setDiskStamp(stamp);
    docs_.push_back(doc);
    setActiveDocument(doc);
    return doc;
}

HostDocumentPtr HostApplication::newDrawing() {
    auto doc = std::make_shared<HostDocument>(Drawing::createNew(), QString(),
                                              QStringLiteral("Drawing%1.dxf").arg(++untitled_));
    docs_.push_back(doc);
    setActiveDocument(doc);
    return doc;
}

void HostApplication::close(const HostDocumentPtr& doc) {
    auto it = std::find(docs_.begin(), docs_.end(), doc);
    if (it == docs_.end())
        return;
    const auto pos = it - docs_.begin();
    docs_.erase(it);
    doc->close();
    if (active_ == doc)
        active_ = docs_.empty() ? nullptr
                                : docs_[static_cast<size_t>(std::min<long>(pos, docs_.size() - 1))];
    refresh();
}

void HostApplication::setActiveDocument(const HostDocumentPtr& doc) {
    active_ = doc;
    refresh();
}

void HostApplication::setWindow(HostWindowPort* window) {
    window_ = window;
    if (window_) {
        window_->setFrameGeometryPx(geometry_);
        refresh();
    }
}

void HostApplication::refresh() {
    if (window_)
        window_->refresh();
}

}  // namespace host
