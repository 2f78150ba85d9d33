#include "ui/form3.h"

#include "model/helptopics.h"
#include "ui/desktop/keepontop.h"
#include "ui/desktop/windowplacement.h"
#include "ui/uifont.h"

#include <QListWidget>
#include <QPlainTextEdit>
#include <QScrollBar>

namespace avatello {

Form3::Form3(QWidget& owner) : QWidget(nullptr, fixedWindowFlags), owner_(owner)
{
    setUpSecondaryWindow(this, QStringLiteral("Form3"), tr("Avatello Help"), 5295, 2055);
    setFont(uiFont(QStringLiteral("Tahoma"), 8.25));

    List1 = new QListWidget(this);
    List1->setObjectName(QStringLiteral("List1"));
    List1->setAccessibleName(tr("Topics"));
    List1->setSelectionMode(QAbstractItemView::SingleSelection);
    List1->setSortingEnabled(false);
    List1->addItems(helpTopicNames());
    // Setting "no current item" outright stops the list from making its first row current when
    // it takes the focus, so the first Down arrow selects the first topic.
    List1->setCurrentIndex(QModelIndex());
    placeTwips(List1, 120, 120, 855, 1230);

    Text1 = new QPlainTextEdit(this);
    Text1->setObjectName(QStringLiteral("Text1"));
    Text1->setAccessibleName(tr("Help text"));
    Text1->setReadOnly(true);
    Text1->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    Text1->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    Text1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    Text1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    placeTwips(Text1, 1200, 120, 3975, 1815);
    showText(helpStartText());

    setTabOrder(List1, Text1);
    List1->setFocus();
    connect(List1, &QListWidget::currentRowChanged, this, &Form3::List1_Click);

    centreWhenFirstShown(this);
    Form_Load();
}

void Form3::Form_Load()
{
    setWindowIcon(owner_.windowIcon());
    KeepOnTop(this);
}

void Form3::List1_Click()
{
    const QListWidgetItem* item = List1->currentItem();
    if (!item)
        return;
    if (const std::optional<QString> text = topicText(item->text()))
        showText(*text);
}

void Form3::showText(const QString& text)
{
    // Each CR LF is one line break in the text area.
    QString shown = text;
    shown.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    Text1->setPlainText(shown);
    Text1->moveCursor(QTextCursor::Start);
    Text1->verticalScrollBar()->setValue(0);
}

} // namespace avatello
