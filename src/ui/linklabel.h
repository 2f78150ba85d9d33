#pragma once

#include <QLabel>

namespace avatello {

// A label that reports a left click, for the web link at the foot of the main window.
class LinkLabel : public QLabel
{
    Q_OBJECT

public:
    using QLabel::QLabel;

signals:
    void clicked();

protected:
    void mouseReleaseEvent(QMouseEvent* event) override;
};

} // namespace avatello
