#include "ui/pictureboxview.h"

#include "model/picturebox.h"
#include "model/twips.h"

#include <QMimeData>
#include <QMouseEvent>
#include <QPainter>

namespace avatello {

PictureBoxView::PictureBoxView(PictureBox& box, QWidget* parent, bool framed)
    : QWidget(parent), box_(box), framed_(framed)
{
    setFocusPolicy(Qt::StrongFocus);
    setAttribute(Qt::WA_OpaquePaintEvent);
    box_.changed = [this] { update(); };
}

void PictureBoxView::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    const int inset = framed_ ? 1 : 0;
    if (framed_) {
        painter.setPen(resolveColor(vbWindowFrame));
        painter.drawRect(rect().adjusted(0, 0, -1, -1));
    }
    const QRect area = rect().adjusted(inset, inset, -inset, -inset);
    painter.fillRect(area, resolveColor(box_.BackColor()));
    const QImage& shown = box_.shownImage();
    // One image pixel per logical pixel; any scaling for the screen stays nearest-neighbour.
    painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
    painter.drawImage(QRect(area.topLeft(), shown.size()), shown);
}

int vbButton(Qt::MouseButton button)
{
    switch (button) {
    case Qt::LeftButton:
        return 1;
    case Qt::RightButton:
        return 2;
    case Qt::MiddleButton:
        return 4;
    default:
        return 0;
    }
}

int vbShift(Qt::KeyboardModifiers modifiers)
{
    return (modifiers & Qt::ShiftModifier ? 1 : 0) | (modifiers & Qt::ControlModifier ? 2 : 0) |
           (modifiers & Qt::AltModifier ? 4 : 0);
}

void PictureBoxView::mousePressEvent(QMouseEvent* event)
{
    const int inset = framed_ ? 1 : 0;
    const QPoint pixel = event->position().toPoint() - QPoint(inset, inset);
    emit mouseDown(vbButton(event->button()), vbShift(event->modifiers()),
                   float(pixel.x() * twipsPerPixel), float(pixel.y() * twipsPerPixel));
    QWidget::mousePressEvent(event);
}

void PictureBoxView::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
        emit clicked();
    QWidget::mouseReleaseEvent(event);
}

namespace {

// The one local file a drag carries, as the system's bytes (a file name need not be UTF-8, and
// the address keeps every byte percent-encoded); empty for several files, a web address, text or
// anything else. A file address that names no file here (one on another computer, one whose name
// holds a NUL byte, which the system would cut short) is taken, to be refused with its reason.
struct DroppedFile
{
    QByteArray path;
    Refusal refused = Refusal::None;
    QString address;
};
DroppedFile droppedFile(const QMimeData* data)
{
    if (!data || !data->hasUrls() || data->urls().size() != 1)
        return {};
    const QUrl url = data->urls().constFirst();
    if (!url.isLocalFile())
        return {};
    DroppedFile file{QByteArray::fromPercentEncoding(url.path(QUrl::FullyEncoded).toLatin1()),
                     Refusal::None, url.toDisplayString()};
    if (!url.host().isEmpty() && url.host().compare(u"localhost", Qt::CaseInsensitive) != 0)
        file.refused = Refusal::Remote;
    else if (file.path.contains('\0'))
        file.refused = Refusal::BadName;
    return file;
}

// A file is only ever taken as a copy: a file manager that honours a Move would delete the
// original once the canvas took it.
bool takeAsCopy(QDropEvent* event)
{
    if (droppedFile(event->mimeData()).path.isEmpty() ||
        !(event->possibleActions() & Qt::CopyAction))
        return false;
    event->setDropAction(Qt::CopyAction);
    event->accept();
    return true;
}

} // namespace

void PictureBoxView::dragEnterEvent(QDragEnterEvent* event)
{
    takeAsCopy(event);
}

void PictureBoxView::dragMoveEvent(QDragMoveEvent* event)
{
    takeAsCopy(event);
}

void PictureBoxView::dropEvent(QDropEvent* event)
{
    if (!takeAsCopy(event))
        return;
    const DroppedFile file = droppedFile(event->mimeData());
    if (file.refused == Refusal::None)
        emit fileDropped(file.path);
    else
        emit dropRefused(file.address, file.refused);
}

void PictureBoxView::mouseDoubleClickEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton)
        emit doubleClicked();
    QWidget::mouseDoubleClickEvent(event);
}

} // namespace avatello
