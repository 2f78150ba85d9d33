// The windows speak the user's language: the program's own texts from its translations, Qt's
// dialogs from Qt's. English and the C locale keep every text as written.
#include "model/helptopics.h"
#include "support/fixture.h"
#include "support/modallook.h"
#include "support/speaking.h"
#include "support/testregistry.h"
#include "ui/desktop/translations.h"
#include "ui/qtservices.h"

#include <QDialogButtonBox>
#include <QFileDialog>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStyleOptionButton>
#include <QTimer>
#include <QTranslator>
#include <QtTest>

using namespace avatello;
using namespace avatello::test;

namespace {

// Longer words in windows of fixed size: each button's caption and each help topic fits.
void checkCaptionsFit(Program& program)
{
    for (QWidget* window : QList<QWidget*>{program.form.get(), program->form2, program->form4})
        for (QPushButton* button : window->findChildren<QPushButton*>()) {
            QStyleOptionButton option;
            option.initFrom(button);
            const QRect room =
                button->style()->subElementRect(QStyle::SE_PushButtonContents, &option, button);
            QVERIFY2(button->fontMetrics().horizontalAdvance(shown(button->text())) <= room.width(),
                     qPrintable(button->text()));
        }
    QListWidget* topics = program->form3->List1;
    const int margins = 2 * (topics->style()->pixelMetric(QStyle::PM_FocusFrameHMargin) + 1);
    for (int row = 0; row < topics->count(); ++row)
        QVERIFY2(topics->fontMetrics().horizontalAdvance(topics->item(row)->text()) + margins <=
                     topics->viewport()->width(),
                 qPrintable(topics->item(row)->text()));
}

} // namespace

class TestTranslations : public QObject
{
    Q_OBJECT

private slots:
    void theWindowsSpeakTheLanguage_data()
    {
        QTest::addColumn<QString>("languages");
        QTest::addColumn<QStringList>("texts"); // Load, Finished, Move Up, help title, 4th topic
        const QStringList english{"Load", "Finished", "Move Up", "Avatello Help", "Update"};
        const QStringList german{"Laden", "Fertig", "Nach oben", "Avatello-Hilfe", "Fertig"};
        QTest::newRow("C") << "C" << english;
        QTest::newRow("English") << "en-US" << english;
        QTest::newRow("English before German") << "en-GB:de-DE" << english;
        QTest::newRow("German") << "de-DE" << german;
        QTest::newRow("German after Portuguese") << "pt-BR:de-DE" << german;
        QTest::newRow("French") << "fr-FR"
                                << QStringList{"Charger", "Terminé", "En haut", "Aide d’Avatello",
                                               "Terminé"};
        QTest::newRow("Spanish") << "es-ES"
                                 << QStringList{"Cargar", "Listo", "Arriba", "Ayuda de Avatello",
                                                "Listo"};
    }
    void theWindowsSpeakTheLanguage()
    {
        QFETCH(QString, languages);
        QFETCH(QStringList, texts);
        Speaking speaking(languages);
        QCOMPARE(speaking.installed.isEmpty(), texts.constFirst() == u"Load");
        Program program;
        program->hhhhhhhhhhhhhhh22_Click();
        program->changefont_Click();
        program->vbhelp_Click();
        const QStringList seen{shown(program->Command1->text()), shown(program->Command3->text()),
                               shown(program->form2->Command3->text()),
                               program->form3->windowTitle(),
                               program->form3->List1->item(3)->text()};
        QCOMPARE(seen, texts);
        // A topic chosen under its translated name shows its text.
        const std::optional<QString> text = topicText(seen.last());
        QVERIFY(text);
        program->form3->List1->setCurrentRow(3);
        QCOMPARE(program->form3->Text1->toPlainText(),
                 QString(*text).replace(QLatin1String("\r\n"), QLatin1String("\n")));
        checkCaptionsFit(program);
    }

    // Under a C locale a LANGUAGE list is ignored, as gettext ignores it; otherwise it counts.
    void theCLocaleIgnoresLanguage()
    {
        qputenv("LANGUAGE", "de");
        const QStringList underC = userLanguages(); // the tests run under LC_ALL=C.UTF-8
        qputenv("LC_ALL", "de_AT.UTF-8");
        const QStringList underGerman = userLanguages();
        qputenv("LC_ALL", "C.UTF-8");
        qunsetenv("LANGUAGE");
        QCOMPARE(underC, QStringList{"C"});
        QVERIFY(underGerman.constFirst().startsWith(u"de"));
    }

    // The Load dialog is Qt's, with the program's title and filter and Qt's own words.
    void theLoadDialogSpeaksTheLanguage_data()
    {
        QTest::addColumn<QString>("languages");
        QTest::addColumn<QStringList>("texts"); // title, accept, cancel, name label, first filter
        QTest::newRow("C") << "C"
                           << QStringList{"Load Icon", "Open", "Cancel",
                                          "File name:", "All Files (*.*)"};
        QTest::newRow("German") << "de-DE"
                                << QStringList{"Icon laden", "Öffnen", "Abbrechen",
                                               "Dateiname:", "Alle Dateien (*.*)"};
        QTest::newRow("Spanish") << "es-ES"
                                 << QStringList{"Cargar icono", "Abrir", "Cancelar",
                                                "Nombre de fichero:", "Todos los archivos (*.*)"};
    }
    void theLoadDialogSpeaksTheLanguage()
    {
        QFETCH(QString, languages);
        QFETCH(QStringList, texts);
        Speaking speaking(languages);
        QtServices services;
        Form1 form(services);
        QStringList seen;
        ModalLook<QFileDialog> look([&](QFileDialog* dialog) {
            auto* buttons = dialog->findChild<QDialogButtonBox*>();
            seen << dialog->windowTitle() << shown(buttons->button(QDialogButtonBox::Open)->text())
                 << shown(buttons->button(QDialogButtonBox::Cancel)->text())
                 << shown(dialog->findChild<QLabel*>("fileNameLabel")->text())
                 << dialog->nameFilters().constFirst();
            dialog->reject();
        });
        form.Command1_Click();
        QCOMPARE(seen, texts);
    }

    // One language at a time: the about box, Change Font's Cancel and the line said when a file
    // given to open cannot be, all in the language of the rest of the windows.
    void oneLanguageAtATime_data()
    {
        QTest::addColumn<QString>("languages");
        QTest::addColumn<QString>("madeBy"); // the about box's second line
        QTest::newRow("C") << "C"
                           << "Made By the Avatello developers";
        QTest::newRow("German") << "de-DE"
                                << "Gemacht von den Avatello-Entwicklern";
        QTest::newRow("French") << "fr-FR"
                                << "Créé par les développeurs d’Avatello";
        QTest::newRow("Spanish") << "es-ES"
                                 << "Hecho por los desarrolladores de Avatello";
    }
    void oneLanguageAtATime()
    {
        QFETCH(QString, languages);
        QFETCH(QString, madeBy);
        Speaking speaking(languages);
        Program program;
        program->ggaga_Click();
        QCOMPARE(program.user.messages.size(), 1);
        QCOMPARE(program.user.messages.constFirst().text.split(QStringLiteral("\r\n")).value(1),
                 madeBy);
        // Cancel is the word Qt's own dialogs use in that language.
        program->changefont_Click();
        QDialogButtonBox qtButtons(QDialogButtonBox::Cancel);
        QCOMPARE(shown(program->form4->Command2->text()),
                 shown(qtButtons.button(QDialogButtonBox::Cancel)->text()));
        const QString refused =
            QCoreApplication::translate("avatello::Program", "%1; starting without it")
                .arg(QStringLiteral("REASON"));
        QVERIFY(refused.startsWith(u"REASON"));
        QCOMPARE(refused == u"REASON; starting without it", speaking.installed.isEmpty());
    }
};

AVATELLO_REGISTER_TEST(TestTranslations);

#include "tst_translations.moc"
