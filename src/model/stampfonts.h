#pragma once

#include <QFont>
#include <QList>
#include <QPointF>
#include <QString>
#include <QStringList>
#include <QStringView>

class QPainter;
class QPaintDevice;

namespace avatello {

// Which font draws each user-perceived character (grapheme) of a stamped text. The chosen face
// draws the text as the user picked it; an emoji is drawn by the colour emoji font in its own
// colours, one picture per emoji; Han characters, kana and hangul the face lacks take the forms of
// a language (the same character is written differently in Chinese, Japanese and Korean).
// Everything is decided here, from the text and a language tag, so the windows and the command
// line draw the same pixels.

// The colour emoji font of Debian's fonts-noto-color-emoji.
inline constexpr char colourEmojiFamily[] = "Noto Color Emoji";

// The language whose forms Han characters take when none is given: Japanese, the forms Debian's
// Noto CJK fonts draw when nothing asks for others.
inline constexpr char defaultTextLanguage[] = "ja";

// An emoji: a character shown as a picture by default, a flag (a pair of regional indicators), a
// character with a skin tone, a zero-width-joiner sequence of emoji, or any character asking for
// emoji presentation (U+FE0F). One asking for text presentation (U+FE0E) is not.
bool isEmojiCharacter(QStringView grapheme);
// A character of the scripts whose forms depend on the language: Han, kana, bopomofo, hangul and
// the punctuation written with them.
bool isCjkCharacter(QStringView grapheme);

// The family whose forms a language (a BCP 47 tag: zh-Hans, zh-Hant, zh-HK, ja, ko, ...) writes
// Han characters in; any other language, or an empty or unknown tag, gets those of the default.
QString cjkFamily(const QString& language);
// Whether a tag names a language (rather than nothing Qt knows).
bool isKnownLanguage(const QString& language);

// One run of consecutive graphemes drawn by the same font: an emoji by the colour emoji font
// (where it has it), Han characters, kana and hangul by the family of the language (where the face
// lacks them), everything else by the face and Qt's fallback fonts.
struct StampRun
{
    enum class Font { Face, Emoji, Cjk };
    qsizetype start;
    qsizetype length;
    Font font;
};
QList<StampRun> stampRuns(const QString& text, const QFont& face);

// Draws one line of text with the left end of its baseline at `baseline`, the face drawing what
// it can and the runs above choosing their own fonts. A text of the face alone is drawn exactly
// as a plain line of that face.
void drawStampLine(QPainter& painter, QPaintDevice* device, const QFont& face,
                   const QPointF& baseline, const QString& text, const QString& language);

// The characters of a text that no installed font draws (each drawn as an empty box), in order,
// each once, as code points: "U+E000", "U+1F3F4 U+E0067".
QStringList charactersWithoutGlyph(const QFont& face, const QString& text, const QString& language);

} // namespace avatello
