#include "cli/options.h"

#include <array>

namespace avatello {

namespace {

constexpr std::array options{
    MakeOption{"color", '\0', "COLOR", "start from a plain field of COLOR (New > Choose Color)"},
    MakeOption{"aim-color", '\0', nullptr, "start from the AIM Back Color (New > AIM Back Color)"},
    MakeOption{"template", '\0', "N",
               "start from template N, 1 to 12, as the gallery numbers them"},
    MakeOption{"picture", '\0', "FILE",
               "start from a BMP, GIF or JPEG picture, as Load reads it (\"-\": standard input)"},
    MakeOption{"back-color", '\0', "COLOR", "the colour behind the picture (Edit > Back Color)"},
    MakeOption{"text", '\0', "TEXT",
               "the text to stamp (Edit > Add Text): one line of at most 100 characters, "
               "counted as the eye counts them (an emoji or a letter with its accents is one)"},
    MakeOption{"font", '\0', "FACE", "its font face, any that Change Font lists (default Tahoma)"},
    MakeOption{"size", '\0', "POINTS", "its size in points, 6 to 16 (default 8)"},
    MakeOption{"text-color", '\0', "COLOR", "its colour (default black)"},
    MakeOption{"lang", '\0', "TAG",
               "the text's language, whose forms Han characters take: zh-Hans, zh-Hant, zh-HK, "
               "ja, ko or any other BCP 47 tag (default ja)"},
    MakeOption{"at", '\0', "X,Y", "where it goes: a press on pixel X,Y of the 48 x 48 icon"},
    MakeOption{"center", '\0', nullptr,
               "the text's drawn pixels centred on the icon (for initials)"},
    MakeOption{"format", '\0', "bmp|png",
               "bmp is exactly the file Save writes, png the same pixels; without it, an OUT "
               "ending in .png is a PNG and any other a BMP"},
    MakeOption{"scale", '\0', "N",
               "each pixel of the icon as an N x N block, N from 1 to 8 (96, 144, ... 384 "
               "pixels), pixel-sharp; 1, the default, is the 48 x 48 icon Save writes"},
    MakeOption{"out", 'o', "OUT",
               "the file to write (\"-\" or /dev/stdout: standard output; /dev/fd/N: that open "
               "descriptor); an existing regular file is replaced only by a complete icon, "
               "anything else is refused"},
    MakeOption{"batch", '\0', "TABLE",
               "one icon per row of a tab-separated table (\"-\": standard input); see below",
               false},
};

} // namespace

std::span<const MakeOption> makeOptions()
{
    return options;
}

const MakeOption* findMakeOption(QByteArrayView name)
{
    for (const MakeOption& option : options)
        if (name == option.name)
            return &option;
    return nullptr;
}

ParsedMake parseMakeArguments(const QList<QByteArray>& arguments)
{
    ParsedMake parsed;
    const auto fail = [&parsed](const QString& error) {
        parsed.error = error;
        return parsed;
    };
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        const QByteArray& argument = arguments[i];
        if (argument == "--help" || argument == "-h") {
            parsed.help = true;
            continue;
        }
        if (argument == "--") // nothing may follow: make takes no file names but its options'
            return i + 1 < arguments.size()
                       ? fail(QStringLiteral("unexpected '%1'")
                                  .arg(QString::fromLocal8Bit(arguments[i + 1])))
                       : parsed;
        const MakeOption* option = nullptr;
        std::optional<QByteArray> attached; // --name=value, -oVALUE
        if (argument.startsWith("--")) {
            const qsizetype equals = argument.indexOf('=');
            option = findMakeOption(argument.mid(2, equals < 0 ? -1 : equals - 2));
            if (equals >= 0)
                attached = argument.mid(equals + 1);
        } else if (argument.size() >= 2 && argument[0] == '-') {
            for (const MakeOption& candidate : options)
                if (candidate.shortName == argument[1])
                    option = &candidate;
            if (argument.size() > 2)
                attached = argument.mid(2);
        }
        const QString shown = QString::fromLocal8Bit(argument);
        if (!option)
            return fail(argument.startsWith('-') ? QStringLiteral("unknown option '%1'").arg(shown)
                                                 : QStringLiteral("unexpected '%1'").arg(shown));
        if (!option->valueName) {
            if (attached)
                return fail(QStringLiteral("--%1 takes no value").arg(QLatin1String(option->name)));
            parsed.options.append({option, QByteArray()});
            continue;
        }
        if (!attached) {
            if (++i == arguments.size())
                return fail(QStringLiteral("%1 needs a value").arg(shown));
            attached = arguments[i];
        }
        parsed.options.append({option, *attached});
    }
    return parsed;
}

QString wrapHelp(const QString& text, qsizetype indent, qsizetype column)
{
    constexpr qsizetype width = 79;
    QString wrapped;
    for (const QString& word : text.split(u' ', Qt::SkipEmptyParts)) {
        if (column > indent && column + 1 + word.size() > width) {
            wrapped += u'\n' + QString(indent, u' ');
            column = indent;
        } else if (column > indent) {
            wrapped += u' ';
            ++column;
        }
        wrapped += word;
        column += word.size();
    }
    return wrapped;
}

QString makeOptionsHelp()
{
    constexpr qsizetype indent = 23; // where every description starts
    QString help;
    for (const MakeOption& option : options) {
        QString left = option.shortName ? QStringLiteral("-%1, --%2")
                                              .arg(QLatin1Char(option.shortName))
                                              .arg(QLatin1String(option.name))
                                        : QStringLiteral("--%1").arg(QLatin1String(option.name));
        if (option.valueName)
            left += u' ' + QLatin1String(option.valueName);
        QString line = QStringLiteral("  ") + left;
        if (line.size() + 1 > indent)
            line += u'\n' + QString(indent, u' ');
        else
            line = line.leftJustified(indent);
        help += line + wrapHelp(QString::fromUtf8(option.help), indent, indent) + u'\n';
    }
    return help;
}

} // namespace avatello
