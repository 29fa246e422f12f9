#include "preview/frmLayerView.h"

#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QFrame>
#include <QLabel>
#include <QProgressBar>
#include <QTimer>
#include <algorithm>

#include "platform/Procedure.h"
#include "platform/Twips.h"
#include "platform/Windows.h"
#include "preview/LayerImageExport.h"
#include "preview/PictureBox.h"
#include "preview/basDWF.h"

namespace {

const QString kProcedure = QStringLiteral("pu_subUpdate");

}  // namespace

frmLayerView::frmLayerView(platform::Ui& ui, LayerViewContext context, QWidget* parent)
    : QWidget(parent, Qt::Window), ui_(ui), context_(std::move(context)) {
    setObjectName(QStringLiteral("frmLayerView"));
    setAttribute(Qt::WA_DeleteOnClose);
    CboLayer = new QComboBox(this);
    CboLayer->setObjectName(QStringLiteral("CboLayer"));
    CboLayer->setMaxVisibleItems(20);
    FraLayer = new QFrame(this);
    FraLayer->setObjectName(QStringLiteral("FraLayer"));
    FraLayer->setFrameShape(QFrame::NoFrame);
    ImgLayer = new PictureBox(FraLayer);
    ImgLayer->setObjectName(QStringLiteral("ImgLayer"));
    LblProgress = new QLabel(FraLayer);
    LblProgress->setObjectName(QStringLiteral("LblProgress"));
    LblProgress->setAlignment(Qt::AlignCenter);
    LblProgress->setWordWrap(true);
    PrgExport = new QProgressBar(FraLayer);
    PrgExport->setObjectName(QStringLiteral("PrgExport"));
    LblProgress->hide();
    PrgExport->hide();
    connect(CboLayer, &QComboBox::currentIndexChanged, this, [this] { CboLayer_Click(); });
    resize(platform::twipsToPixelsX(kFrameWidthTwips + 30),
           platform::twipsToPixelsY(kFrameHeightTwips + kComboTwips));
}

QString frmLayerView::unsavedMessage(const QString& name) {
    return QStringLiteral("『 ") + name + QStringLiteral(" 』は保存されていません。\r\n") +
           QStringLiteral("保存してから実行してください。");
}

void frmLayerView::Form_Load() {
    if (loaded_)
        return;
    loaded_ = true;
    // First shown beside the main window, inside the work area; the
    // position is the outer frame's, kept until the window manager framed it.
    if (QWidget* owner = parentWidget()) {
        const QRect main = owner->frameGeometry();
        QPoint at(main.right() + 8, main.top());
        const QRect area = platform::workArea();
        if (!area.isEmpty()) {
            const QSize frame = frameGeometry().size();
            at.setX(std::clamp(at.x(), area.left(),
                               std::max(area.left(), area.right() - frame.width())));
            at.setY(std::clamp(at.y(), area.top(),
                               std::max(area.top(), area.bottom() - frame.height())));
        }
        placement_.place(at);
    }
    platform::setTopmost(this, true);
    Form_Resize();
}

void frmLayerView::pu_subShow() {
    Form_Load();
    show();
    raise();
    activateWindow();
    // Platforms that do not report the activation (offscreen, a bare X
    // server) still get the first update.
    QTimer::singleShot(0, this, [self = QPointer<frmLayerView>(this)] {
        if (self && self->updates_ == 0 && !self->updating_)
            self->pu_subUpdate();
    });
}

bool frmLayerView::event(QEvent* e) {
    if (e->type() == QEvent::WindowDeactivate) {
        backFromModal_ = QApplication::activeModalWidget() != nullptr;
    } else if (e->type() == QEvent::WindowActivate) {
        const bool skip = backFromModal_ || updating_;
        backFromModal_ = false;
        // Queued, so the activation finishes first; skipped when an update
        // ran meanwhile (the first showing's own).
        if (!skip)
            QTimer::singleShot(0, this, [self = QPointer<frmLayerView>(this), at = updates_] {
                if (self && self->updates_ == at && !self->updating_ && self->isVisible())
                    self->pu_subUpdate();
            });
    }
    if (e->type() == QEvent::DeferredDelete)
        return QWidget::event(e);
    const bool handled = QWidget::event(e);
    placement_.afterEvent(*e);
    return handled;
}

void frmLayerView::closeEvent(QCloseEvent* e) {
    // The layers are put back before the window may go.
    if (updating_) {
        closeRequested_ = true;
        e->ignore();
        return;
    }
    QWidget::closeEvent(e);
}

void frmLayerView::showProgress(long index, long count, const QString& name) {
    CboLayer->addItem(name);
    static thread_local QElapsedTimer clock;
    if (index == 0)
        clock.start();
    else if (clock.elapsed() < 50 && index + 1 < count)
        return;
    clock.restart();
    PrgExport->setRange(0, static_cast<int>(count));
    PrgExport->setValue(static_cast<int>(index));
    LblProgress->setText(
        QStringLiteral("画層イメージ作成中（%1/%2）．．．").arg(index + 1).arg(count));
    ui_.doEvents();
}

void frmLayerView::pu_subUpdate() {
    if (updating_)
        return;
    updating_ = true;
    ready_ = false;
    ++updates_;
    bool unload = false;
    acad::DocumentPtr doc;
    const bool opened = platform::trap(ui_, kProcedure, [&] {
        doc = context_.document ? context_.document() : nullptr;
        if (!doc)
            acad::raise(acad::ErrorNumber::NoActiveDocument,
                        QStringLiteral("図面が開かれていません。"));
        const QString fullName = doc->FullName();
        if (fullName.isEmpty() || !QFileInfo(fullName).isFile()) {
            ui_.messageBox(unsavedMessage(doc->Name()), platform::Buttons::OK,
                           platform::Icon::Warning, platform::appTitle());
            unload = true;
            return;
        }
        setWindowTitle(doc->Name());
    });
    if (unload || !opened) {
        updating_ = false;
        Q_EMIT updated();
        if (unload)
            close();
        return;
    }
    const LayerStateList snapshot =
        context_.readLayerStates ? context_.readLayerStates() : LayerStateList{};
    // A snapshot that could not be read (its reader showed why) cannot put
    // the layers back: nothing is changed then.
    long count = -1;
    platform::skipOnFailure([&] { count = doc->Layers()->Count(); });
    const bool complete = count == static_cast<long>(snapshot.size()) &&
                          std::none_of(snapshot.begin(), snapshot.end(),
                                       [](const LayerState& s) { return s.Name.isEmpty(); });
    if (!complete) {
        updating_ = false;
        Q_EMIT updated();
        return;
    }

    const bool otherWasEnabled = context_.otherWindow && context_.otherWindow->isEnabled();
    if (context_.otherWindow)
        context_.otherWindow->setEnabled(false);
    CboLayer->clear();
    ImgLayer->hide();
    PrgExport->setRange(0, std::max(1L, count));
    PrgExport->setValue(0);
    LblProgress->setText(QStringLiteral("画層イメージ作成中．．．"));
    LblProgress->show();
    PrgExport->show();
    Form_Resize();
    const preview::ExportOutcome outcome = preview::exportLayerImages(
        doc, snapshot, context_.imageFolder,
        [this](long i, long n, const QString& name) { showProgress(i, n, name); });
    LblProgress->hide();
    PrgExport->hide();
    if (context_.otherWindow && otherWasEnabled)
        context_.otherWindow->setEnabled(true);
    CboLayer->setCurrentIndex(CboLayer->count() > 0 ? 0 : -1);
    if (outcome.error)
        platform::showProcedureError(ui_, kProcedure, outcome.error->number(),
                                     outcome.error->description());
    updating_ = false;
    ready_ = true;
    if (closeRequested_) {
        closeRequested_ = false;
        Q_EMIT updated();
        close();
        return;
    }
    CboLayer_Click();
    Q_EMIT updated();
}

void frmLayerView::CboLayer_Click() {
    if (!ready_)
        return;
    const QString file = preview::imageFile(context_.imageFolder, CboLayer->currentIndex());
    const WmfPicture picture = CboLayer->currentIndex() >= 0 && QFileInfo(file).isFile()
                                   ? WmfPicture::load(file)
                                   : WmfPicture();
    if (picture.isNull())
        ImgLayer->clearPicture();
    else
        ImgLayer->setPicture(picture);
    fitPicture(0, 0);
}

void frmLayerView::fitPicture(int margin, int offset) {
    ImgLayer->hide();
    ImgLayer->setStretch(false);
    const basDWF::Fit fit =
        basDWF::pu_fun_Fit(ImgLayer->hasPicture() ? ImgLayer->naturalSize() : QSize(0, 0),
                           FraLayer->size(), margin, offset);
    if (fit.stretched)
        ImgLayer->setStretch(true);
    ImgLayer->setGeometry(fit.rect);
    ImgLayer->show();
}

void frmLayerView::resizeEvent(QResizeEvent* e) {
    QWidget::resizeEvent(e);
    if (!isMinimized())
        Form_Resize();
}

void frmLayerView::Form_Resize() {
    const int outerW = platform::pixelsToTwipsX(width()) + kBorderTwips;
    const int outerH = platform::pixelsToTwipsY(height()) + kCaptionTwips;
    CboLayer->setGeometry(0, 0, platform::twipsToPixelsX(outerW - 90),
                          platform::twipsToPixelsY(kComboTwips));
    if (outerW - 120 >= 0 && outerH - 705 >= 0) {
        const QSize size(platform::twipsToPixelsX(outerW - 120),
                         platform::twipsToPixelsY(outerH - 705));
        ImgLayer->resize(size);
        FraLayer->setGeometry(platform::twipsToPixelsX(15), platform::twipsToPixelsY(kComboTwips),
                              size.width(), size.height());
    }
    const int w = FraLayer->width();
    LblProgress->setGeometry(4, FraLayer->height() / 2 - 40, std::max(0, w - 8), 36);
    PrgExport->setGeometry(8, FraLayer->height() / 2, std::max(0, w - 16), 20);
    CboLayer_Click();
}
