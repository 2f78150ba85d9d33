// Text as people write it: emoji in colour, one picture each; Han characters in the forms of a
// language; a plain text drawn exactly as before; characters no font has named.
#include "model/picturebox.h"
#include "model/stampfonts.h"
#include "support/fonts.h"
#include "support/pixels.h"
#include "support/testregistry.h"

#include <QPainter>
#include <QSet>
#include <QtTest>

using namespace avatello;
using namespace avatello::test;

namespace {

// A colour no emoji picture uses, so that a pixel of it is the text colour and nothing else.
constexpr QRgb textColour = 0xFF00FF00;

// A white canvas of room enough, with one text stamped at its top-left corner.
QImage stamped(const QString& text, const QString& language = QString(), float points = 16,
               const QString& face = QStringLiteral("Tahoma"))
{
    PictureBox box(1500, 750, PictureBox::Frame::None);
    box.setBackColor(vbWhite);
    box.FontName = face;
    box.FontSize = points;
    box.ForeColor = toOleColor(textColour);
    box.TextLanguage = language;
    box.CurrentX = 30;
    box.CurrentY = 30;
    box.Print(text);
    return box.Image();
}

QSet<QRgb> coloursIn(const QImage& image)
{
    QSet<QRgb> colours;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            colours.insert(rgbAt(image, x, y));
    return colours;
}

using Runs = QList<QPair<QString, StampRun::Font>>;

Runs runsOf(const QString& text)
{
    Runs runs;
    for (const StampRun& run : stampRuns(text, PictureBox().textFont()))
        runs.append({text.mid(run.start, run.length), run.font});
    return runs;
}

} // namespace

Q_DECLARE_METATYPE(StampRun::Font)

class TestStampFonts : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        AVATELLO_REQUIRE_FAMILY(QString::fromLatin1(colourEmojiFamily));
        AVATELLO_REQUIRE_FAMILY(QStringLiteral("Noto Sans CJK JP"));
        AVATELLO_REQUIRE_FAMILY(QStringLiteral("Noto Sans CJK SC"));
    }

    // Each user-perceived character goes to one font, whole.
    void charactersGoToTheirFont_data()
    {
        using F = StampRun::Font;
        QTest::addColumn<QString>("text");
        QTest::addColumn<StampRun::Font>("font");
        QTest::newRow("flag") << QStringLiteral(u"🇩🇪") << F::Emoji;
        QTest::newRow("thumb with a skin tone") << QStringLiteral(u"👍🏽") << F::Emoji;
        QTest::newRow("smiley") << QStringLiteral(u"😀") << F::Emoji;
        QTest::newRow("heart asking for emoji") << QStringLiteral(u"❤️") << F::Emoji;
        QTest::newRow("family, joined") << QStringLiteral(u"👨‍👩‍👧") << F::Emoji;
        QTest::newRow("keycap") << QStringLiteral(u"#️⃣") << F::Emoji;
        QTest::newRow("heart as text") << QStringLiteral(u"❤") << F::Face;
        QTest::newRow("smiley asking for text") << QStringLiteral(u"☺︎") << F::Face;
        QTest::newRow("letters") << QStringLiteral("Ag") << F::Face;
        QTest::newRow("stacked accents") << QStringLiteral(u"e\u0301\u0302") << F::Face;
        QTest::newRow("Arabic") << QStringLiteral(u"مرحبا") << F::Face;
        QTest::newRow("Han") << QStringLiteral(u"直骨") << F::Cjk;
        QTest::newRow("kana") << QStringLiteral(u"かな") << F::Cjk;
        QTest::newRow("hangul") << QStringLiteral(u"한글") << F::Cjk;
        QTest::newRow("ideographic full stop") << QStringLiteral(u"。") << F::Cjk;
    }
    void charactersGoToTheirFont()
    {
        QFETCH(QString, text);
        QFETCH(StampRun::Font, font);
        QCOMPARE(runsOf(text), (Runs{{text, font}}));
    }

    void aMixedTextIsCutBetweenCharacters()
    {
        using F = StampRun::Font;
        QCOMPARE(runsOf(QStringLiteral(u"Hi 👍🏽🇩🇪直x")),
                 (Runs{{QStringLiteral("Hi "), F::Face},
                       {QStringLiteral(u"👍🏽🇩🇪"), F::Emoji},
                       {QStringLiteral(u"直"), F::Cjk},
                       {QStringLiteral("x"), F::Face}}));
    }

    // One picture in its own colours: nothing in the text colour (an empty box or an outline
    // would be), many colours, and no wider than one emoji (two boxes would be).
    void emojiAreOnePictureInColour_data()
    {
        QTest::addColumn<QString>("text");
        QTest::newRow("flag") << QStringLiteral(u"🇩🇪");
        QTest::newRow("thumb with a skin tone") << QStringLiteral(u"👍🏽");
        QTest::newRow("smiley") << QStringLiteral(u"😀");
        QTest::newRow("heart asking for emoji") << QStringLiteral(u"❤️");
        QTest::newRow("keycap") << QStringLiteral(u"1️⃣");
        QTest::newRow("rainbow flag") << QStringLiteral(u"🏳️‍🌈");
        QTest::newRow("family") << QStringLiteral(u"👨‍👩‍👧");
    }
    void emojiAreOnePictureInColour()
    {
        QFETCH(QString, text);
        const QImage image = stamped(text);
        const QSet<QRgb> colours = coloursIn(image);
        QVERIFY(!colours.contains(textColour));
        QVERIFY2(colours.size() >= 8, qPrintable(QString::number(colours.size())));
        const QRect ink = boundsUnlike(image, Qt::white);
        const int pixelSize = 21; // 16 points
        QVERIFY2(ink.width() > pixelSize / 2 && ink.width() <= pixelSize * 3 / 2,
                 qPrintable(QString::number(ink.width())));
    }

    void aHeartWithoutTheSelectorStaysText()
    {
        const QSet<QRgb> colours = coloursIn(stamped(QStringLiteral(u"❤")));
        QCOMPARE(colours, (QSet<QRgb>{textColour, 0xFFFFFFFF}));
    }

    // A text of the face alone is drawn as a plain line always was, and an emoji beside it does
    // not move its letters.
    void plainTextIsDrawnAsBefore_data()
    {
        QTest::addColumn<QString>("face");
        QTest::newRow("Tahoma") << QStringLiteral("Tahoma");
        QTest::newRow("DejaVu Sans") << QStringLiteral("DejaVu Sans");
        QTest::newRow("Liberation Serif") << QStringLiteral("Liberation Serif");
    }
    void plainTextIsDrawnAsBefore()
    {
        QFETCH(QString, face);
        AVATELLO_REQUIRE_FAMILY(face);
        const QString text = QStringLiteral("Wg Ay");
        PictureBox box(1500, 750, PictureBox::Frame::None);
        box.FontName = face;
        box.FontSize = 16;
        QImage expected = stamped(QString(), QString(), 16, face);
        {
            QPainter painter(&expected);
            painter.setFont(box.textFont());
            painter.setPen(QColor::fromRgb(textColour));
            painter.drawText(QPoint(2, 2 + QFontMetrics(box.textFont(), &expected).ascent()), text);
        }
        QVERIFY(samePixels(stamped(text, QString(), 16, face), expected));

        const QImage withEmoji = stamped(text + QStringLiteral(u"😀"), QString(), 16, face);
        const QRect letters = boundsUnlike(expected, Qt::white);
        QVERIFY(samePixels(withEmoji.copy(letters), expected.copy(letters)));
    }

    void hanTakesTheFormsOfTheLanguage_data()
    {
        QTest::addColumn<QString>("text");
        QTest::newRow("straight") << QStringLiteral(u"直");
        QTest::newRow("bone") << QStringLiteral(u"骨");
    }
    void hanTakesTheFormsOfTheLanguage()
    {
        QFETCH(QString, text);
        const QImage simplified = stamped(text, QStringLiteral("zh-Hans"));
        const QImage japanese = stamped(text, QStringLiteral("ja"));
        QVERIFY(!samePixels(simplified, japanese));
        QVERIFY(samePixels(stamped(text, QStringLiteral("zh-CN")), simplified));
        QVERIFY(samePixels(stamped(text), japanese));
        QVERIFY(samePixels(stamped(text, QStringLiteral("de")), japanese));
        QVERIFY(samePixels(stamped(text, QStringLiteral("no such tag")), japanese));
    }

    void languagesChooseTheirFamily_data()
    {
        QTest::addColumn<QString>("language");
        QTest::addColumn<QString>("family");
        QTest::newRow("simplified") << "zh-Hans"
                                    << "Noto Sans CJK SC";
        QTest::newRow("Chinese") << "zh"
                                 << "Noto Sans CJK SC";
        QTest::newRow("Singapore") << "zh_SG"
                                   << "Noto Sans CJK SC";
        QTest::newRow("traditional") << "zh-Hant"
                                     << "Noto Sans CJK TC";
        QTest::newRow("Taiwan") << "zh_TW"
                                << "Noto Sans CJK TC";
        QTest::newRow("Hong Kong") << "zh-HK"
                                   << "Noto Sans CJK HK";
        QTest::newRow("Japanese") << "ja"
                                  << "Noto Sans CJK JP";
        QTest::newRow("Korean") << "ko-KR"
                                << "Noto Sans CJK KR";
        QTest::newRow("none") << ""
                              << "Noto Sans CJK JP";
        QTest::newRow("English") << "en"
                                 << "Noto Sans CJK JP";
    }
    void languagesChooseTheirFamily()
    {
        QFETCH(QString, language);
        QFETCH(QString, family);
        QCOMPARE(cjkFamily(language), family);
    }

    // A face the user chose that has Han characters itself draws them.
    void aChosenHanFaceIsKept()
    {
        const QString face = QStringLiteral("Noto Sans CJK KR");
        AVATELLO_REQUIRE_FAMILY(face);
        const QString text = QStringLiteral(u"直骨");
        QVERIFY(samePixels(stamped(text, QStringLiteral("zh-Hans"), 16, face),
                           stamped(text, QStringLiteral("ja"), 16, face)));
    }

    void charactersNoFontDrawsAreNamed_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QStringList>("missing");
        QTest::newRow("letters") << QStringLiteral("Hi there") << QStringList();
        QTest::newRow("emoji, Han, accents, Arabic")
            << QStringLiteral(u"👍🏽🇩🇪❤️直骨e\u0301مرحبا") << QStringList();
        QTest::newRow("private use, twice")
            << QStringLiteral(u"a\uE000b\uE000") << QStringList{QStringLiteral("U+E000")};
        // the last code point of the newest emoji block: assigned in no Unicode version the fonts
        // of Debian 12 or 13 know (U+1FAE9, new in Unicode 16, is in Debian 13's emoji font)
        QTest::newRow("an emoji code point no font has yet")
            << QStringLiteral(u"x\U0001FAFF") << QStringList{QStringLiteral("U+1FAFF")};
    }
    void charactersNoFontDrawsAreNamed()
    {
        QFETCH(QString, text);
        QFETCH(QStringList, missing);
        PictureBox box;
        box.FontSize = 12;
        QCOMPARE(box.charactersWithoutGlyph(text), missing);
    }
};

AVATELLO_REGISTER_TEST(TestStampFonts);

#include "tst_stampfonts.moc"
