#pragma once

// Picking objects on the canvas for SelectOnScreen: a click picks the object
// under the cursor; a rectangle dragged left to right picks what lies wholly
// inside it (window), right to left what it touches (crossing); with Shift the
// objects are removed instead. Enter or a right click ends the pick, Escape
// cancels it with nothing picked. Objects on locked layers cannot be picked
// (objects on layers that are off or frozen are not drawn, so not found).
// The canvas calls the same functions that tests call.

#include <QObject>
#include <QPoint>
#include <QPointer>
#include <QWidget>
#include <vector>

namespace host {

class CommandLine;
class DrawingCanvas;

class ObjectPicker : public QObject {
    Q_OBJECT
public:
    ObjectPicker(DrawingCanvas& canvas, CommandLine* commandLine);
    ~ObjectPicker() override;

    static QString promptText() { return QStringLiteral("オブジェクトを選択:"); }

    // The pick API, in canvas widget coordinates.
    void clickAt(QPoint pos, bool remove);
    void rectangle(QPoint from, QPoint to, bool remove);
    void finish();
    void cancel();

    bool isActive() const { return active_; }
    bool wasCancelled() const { return cancelled_; }
    // Entity indexes picked so far, in the order they were picked.
    const std::vector<int>& picked() const { return picked_; }

    // Enter and Space end the pick, Escape cancels it, when typed in window.
    void watchKeys(QWidget* window);

    // Runs a local event loop until the pick ends; the picked objects, or
    // none after a cancel.
    std::vector<int> run();

Q_SIGNALS:
    void ended();
    void changed();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void apply(const std::vector<int>& found, bool remove);
    bool pickable(int entity) const;
    void print(const QString& line) const;
    void end(bool cancelled);

    QPointer<DrawingCanvas> canvas_;
    CommandLine* cmd_;
    QPointer<QWidget> keyWindow_;
    std::vector<int> picked_;
    bool active_ = true;
    bool cancelled_ = false;
};

}  // namespace host
