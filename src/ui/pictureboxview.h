#pragma once

#include "imageio/decodelimits.h"

#include <QWidget>

namespace avatello {

class PictureBox;

// Shows a picture box on a window: its one-pixel flat frame and its drawing area. On a high-DPI
// screen the drawing area is enlarged pixel for pixel, never smoothed.
class PictureBoxView : public QWidget
{
    Q_OBJECT

public:
    PictureBoxView(PictureBox& box, QWidget* parent, bool framed = true);

    PictureBox& box() { return box_; }

signals:
    // A press of any mouse button; x and y in twips from the drawing area's top-left corner.
    void mouseDown(int button, int shift, float x, float y);
    void clicked();
    void doubleClicked();
    // One local file dropped on the box (only where drops are accepted, see setAcceptDrops).
    void fileDropped(const QByteArray& path); // the system's bytes of its name
    // A file address dropped that names no file here: on another computer, or with a NUL byte.
    void dropRefused(const QString& address, avatello::Refusal why);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    PictureBox& box_;
    bool framed_;
};

// The mouse button and modifier state as 16-bit values (left 1, right 2, middle 4; shift 1,
// control 2, alt 4).
int vbButton(Qt::MouseButton button);
int vbShift(Qt::KeyboardModifiers modifiers);

} // namespace avatello
