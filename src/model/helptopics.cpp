#include "model/helptopics.h"

namespace avatello {

namespace {

// The Edit topic is the longest: twelve lines, each ended by CR LF. Three of them keep the blank
// before their break, and the Text Color and Back Color entries break mid-sentence.
const QString editText = QStringLiteral(
    "Add Text   - Adds text to your icon. Undo this action by clicking Undo.\r\n"
    "---------------\r\n"
    "Move Text - Moves the most recently added text so it will fit your icon.\r\n"
    "---------------\r\n"
    "Change Font - Change Font Face and Size, default face is Tahoma, default size is 8. If you "
    "want to change the defaults do it before you add your text.\r\n"
    "---------------\r\n"
    "Text Color - Choose your color before you add text, otherwise your text will be the "
    "default \r\n"
    "color (black).\r\n"
    "---------------\r\n"
    "Back Color - Change the background color of your icon. If you want to change the back "
    "color \r\n"
    "change it before you add any text. Choose AIM Back Color for the default AIM Color. It "
    "will \r\n"
    "look transparent except for the image/text.\r\n");

} // namespace

QStringList helpTopicNames()
{
    return {QStringLiteral("Load"),   QStringLiteral("Save"), QStringLiteral("New"),
            QStringLiteral("Update"), QStringLiteral("Edit"), QStringLiteral("Other")};
}

QString helpStartText()
{
    return QStringLiteral("Avatello Help\r\n<-- Choose Topic\r\n");
}

std::optional<QString> topicText(const QString& topic)
{
    if (topic == QLatin1String("Load"))
        return QStringLiteral(
            "Load a 50x50 buddy icon from the supported file formats (jpg, gif, bmp).");
    if (topic == QLatin1String("Save"))
        return QStringLiteral(
            "The icon on the right is the finished product. Save your icon to a folder of your "
            "choice, choose between the supported file formats or All Files. You must click "
            "Update before saving.");
    if (topic == QLatin1String("New"))
        return QStringLiteral(
            "Create a new blank icon from a color of your choice, it will erase the existing "
            "icon. Choose AIM Back Color for an icon that looks transparent when a user views it "
            "on AIM. Template has pre-made icons for you to add your text, double click the "
            "desired icon to load it.");
    if (topic == QLatin1String("Update"))
        return QStringLiteral(
            "This will update the icon on the right, you must click this before saving.");
    if (topic == QLatin1String("Edit"))
        return editText;
    if (topic == QLatin1String("Other"))
        return QStringLiteral("Option to minimize the program, view about and help.");
    return std::nullopt;
}

} // namespace avatello
