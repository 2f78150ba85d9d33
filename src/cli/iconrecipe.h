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
    QString picture;              // with Start::Picture
    int startOptions = 0;         // how many start options were given; more than one is an error
    std::optional<OleColor> backColor;
    std::optional<QString> text;
    QString font; // empty: the program's default
    QString size; // empty: the program's default
    std::optional<OleColor> textColor;
    std::optional<QPoint> at; // a pixel of the 48 x 48 drawing area
    bool center = false;
    Format format = Format::Bmp;
    QString out;
};

// Whether an option (its name without dashes) takes no value.
bool isFlagOption(const QString& name);
// Whether a name is an option of make that a recipe holds.
bool isRecipeOption(const QString& name);

// Sets one option, by its name without dashes, on a recipe; a flag takes "" (or yes/no in a
// table). False, with a reason, for an unknown option or a value it does not take.
bool setRecipeOption(IconRecipe& recipe, const QString& name, const QString& value, QString* error);

// Why a picture file was not loaded, for the command line's messages.
QString refusalText(const QString& path, Refusal why);

// Checks that the options go together; false with a reason if not.
bool checkRecipe(const IconRecipe& recipe, QString* error);

class BatchWriter;

// Makes the icon the way the windows would (start, back colour, font, text colour, a press,
// Add Text, Finished) and writes it, as Save does or through a batch's writer; an existing file
// is replaced only by a complete one. Returns an empty string, or why the icon was not made.
QString makeIcon(const IconRecipe& recipe, BatchWriter* batch = nullptr);

} // namespace avatello
