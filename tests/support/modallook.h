#pragma once

// A look at the real modal dialog a call opens, for the tests of Qt's own dialogs.
#include <QApplication>
#include <QTimer>

#include <functional>

namespace avatello::test {

// Once the dialog's own event loop runs, calls `look` with the application's modal dialog (of
// type Dialog), once; `look` reads what it needs and closes the dialog. Make it before the call
// that opens the dialog.
template <typename Dialog = QWidget> class ModalLook
{
public:
    explicit ModalLook(std::function<void(Dialog*)> look) : look_(std::move(look))
    {
        QObject::connect(&timer_, &QTimer::timeout, &timer_, [this] {
            if (auto* dialog = qobject_cast<Dialog*>(QApplication::activeModalWidget())) {
                timer_.stop();
                look_(dialog);
            }
        });
        timer_.start(0);
    }

private:
    std::function<void(Dialog*)> look_;
    QTimer timer_;
};

} // namespace avatello::test
