#pragma once

#include "support/scripteduser.h"
#include "ui/form1.h"

#include "ui/form2.h"
#include "ui/form3.h"
#include "ui/form4.h"
#include "ui/form5.h"

#include <memory>
#include <QAction>
#include <QCoreApplication>
#include <QLabel>

namespace avatello::test {

// Lets windows closed with WA_DeleteOnClose actually go, as the event loop would.
inline void processDeferredDeletes()
{
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

// A main window driven by a scripted user, as the program would create it at start.
struct Program
{
    ScriptedUser user;
    std::unique_ptr<Form1> form = std::make_unique<Form1>(user);

    Form1& operator*() { return *form; }
    Form1* operator->() { return form.get(); }
};

} // namespace avatello::test
