#include "ui/form1.h"

#include "ui/form3.h"
#include "ui/maker.h"
#include "ui/platformservices.h"

#include <QCoreApplication>
#include <QStringList>
#include <QUrl>

namespace avatello {

namespace {

// Hands a web address to the browser without waiting; says so when it cannot be started.
void openWebPage(Form1& form, const QString& address)
{
    if (form.services().openUrl(QUrl(address)))
        return;
    form.services().message(&form, QStringLiteral("Avatello"),
                            Form1::tr("The web page %1 could not be opened.").arg(address),
                            MessageIcon::Warning);
}

} // namespace

// Minimize: the main window has no minimize box, so this is the program's own way to it.
void Form1::shhhhh_Click()
{
    setWindowState(windowState() | Qt::WindowMinimized);
}

// About: who made the program and where to find it.
void Form1::ggaga_Click()
{
    const QStringList lines{tr("Avatello/Maker"),
                            tr("Made By ") +
                                QCoreApplication::translate("avatello::maker", maker::authorName),
                            tr("Contact: ") + maker::authorEmail, tr("Visit: ") + maker::siteName};
    services().message(this, tr("About Avatello"), lines.join(QLatin1String("\r\n")),
                       MessageIcon::Information);
}

// Other > Help (hidden item).
void Form1::vbhelp_Click()
{
    showSecondary(form3, [this] { return new Form3(*this); });
}

// The hidden "The Best Page In The Universe" item.
void Form1::theveryvest_Click()
{
    openWebPage(*this, maker::bestPageAddress);
}

// The link at the foot of the window: the maker's web page.
void Form1::Label1_Click()
{
    openWebPage(*this, maker::webAddress);
}

} // namespace avatello
