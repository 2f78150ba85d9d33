// libFuzzer target: the command line of "avatello make" on arbitrary arguments, as the system's
// bytes (the input split at NUL bytes). Whatever they are, parsing them and turning them into a
// recipe must neither crash, hang nor leak, and a refused command line must say why.
#include "cli/iconrecipe.h"
#include "cli/options.h"
#include "model/defaultfont.h"
#include "quietapplication.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    makeQuietApplication(); // --font asks the font database, which needs it
    avatello::ensureDefaultFont();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QList<QByteArray> arguments =
        QByteArray(reinterpret_cast<const char*>(data), qsizetype(size)).split('\0');
    const avatello::ParsedMake parsed = avatello::parseMakeArguments(arguments);
    if (!parsed.error.isEmpty())
        return 0;
    avatello::IconRecipe recipe;
    for (const avatello::ParsedOption& option : parsed.options) {
        if (option.option->name == QByteArrayView("batch"))
            continue;
        QString error;
        if (!avatello::setRecipeOption(recipe, QString::fromLatin1(option.option->name),
                                       option.value, &error) &&
            error.isEmpty())
            std::abort();
    }
    QString error;
    if (!avatello::checkRecipe(recipe, &error) && error.isEmpty())
        std::abort();
    (void)recipe.formatWritten();
    (void)avatello::outputDescriptor(recipe.out);
    return 0;
}
