#pragma once

#include "imageio/decodelimits.h"
#include "model/colour.h"

#include <optional>
#include <QPoint>
#include <QString>

namespace avatello {

// One icon as the command line describes it: the steps a user would take in the windows, from
// where to start to the file written.
struct IconRecipe
{
    enum class Start { Program, Color, AimColor, Template, Picture };
    enum class Format { Bmp, Png };

    Start start = Start::Program; // without a start option, the canvas as the program starts
    OleColor color = vbWhite;     // with Start::Color
    int templateNumber = 0;       // with Start::Template
    QByteArray picture;           // with Start::Picture: a file name, or "-" for standard input
    int startOptions = 0;         // how many start options were given; more than one is an error
    std::optional<OleColor> backColor;
    std::optional<QString> text;
    QString font; // empty: the program's default
    QString size; // empty: the program's default
    std::optional<OleColor> textColor;
    QString lang;             // empty: the default language of the text's Han forms
    std::optional<QPoint> at; // a pixel of the 48 x 48 drawing area
    bool center = false;
    std::optional<Format> format; // without it, the name's extension chooses
    int scale = 1;                // each pixel as a scale x scale block
    QByteArray out;               // a file name, or "-" for standard output

    // The format written: --format, or a name ending in .png is a PNG, any other a BMP.
    Format formatWritten() const;
};

// The longest text a recipe takes: the icon is 48 pixels wide, and even the smallest size draws
// far fewer characters than this on it.
// Characters are counted as the eye counts them (grapheme clusters: an emoji with its skin tone,
// a flag, a letter with its accents is one); a second bound on the UTF-16 code units keeps a
// character made of thousands of marks from costing what a page of text would.
inline constexpr int maxTextLength = 100;
inline constexpr int maxTextUnits = 1000;

// Sets one option, by its name without dashes, on a recipe; a flag takes "" (or yes/no in a
// table). Values are the system's bytes: file names are kept as they are, anything else must be
// UTF-8 text. False, with a reason, for an unknown option or a value it does not take.
bool setRecipeOption(IconRecipe& recipe, const QString& name, const QByteArray& value,
                     QString* error);
inline bool setRecipeOption(IconRecipe& recipe, const QString& name, const QString& value,
                            QString* error)
{
    return setRecipeOption(recipe, name, value.toUtf8(), error);
}

// The open descriptor an output name stands for: "-" and /dev/stdout for standard output,
// /dev/stderr, /dev/fd/N and /proc/self/fd/N. Written through as they are, as a shell's
// redirection would; nothing for a file name.
std::optional<int> outputDescriptor(const QByteArray& out);

// A file name as messages show it.
QString shownName(const QByteArray& path);
// Why a picture file was not loaded, for the command line's messages.
QString refusalText(const QByteArray& path, Refusal why);

// Checks that the options go together; false with a reason if not.
bool checkRecipe(const IconRecipe& recipe, QString* error);

class BatchWriter;

// Makes the icon the way the windows would (start, back colour, font, text colour, a press,
// Add Text, Finished) and writes it, as Save does or through a batch's writer; an existing file
// is replaced only by a complete one. Returns an empty string, or why the icon was not made;
// `notes`, if given, receives what the user should know about an icon that was written (a
// character no installed font draws).
QString makeIcon(const IconRecipe& recipe, BatchWriter* batch = nullptr,
                 QStringList* notes = nullptr);

} // namespace avatello
