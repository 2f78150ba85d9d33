#include "model/helptopics.h"

#include <QCoreApplication>

namespace avatello {

namespace {

// The texts are marked here and translated when they are asked for, so that the help window
// shows them in the language the program speaks.
constexpr char context[] = "avatello::HelpTopics";

struct Topic
{
    const char* name;
    const char* text;
};

// The Edit topic is the longest: twelve lines, each ended by CR LF. Three of them keep the blank
// before their break, and the Text Color and Back Color entries break mid-sentence.
constexpr Topic topics[] = {
    {QT_TRANSLATE_NOOP("avatello::HelpTopics", "Load"),
     QT_TRANSLATE_NOOP("avatello::HelpTopics",
                       "Load a 50x50 buddy icon from the supported file formats (jpg, gif, bmp).")},
    {QT_TRANSLATE_NOOP("avatello::HelpTopics", "Save"),
     QT_TRANSLATE_NOOP("avatello::HelpTopics",
                       "The icon on the right is the finished product. Save your icon to a folder "
                       "of your choice, choose between the supported file formats or All Files. "
                       "You must click Update before saving.")},
    {QT_TRANSLATE_NOOP("avatello::HelpTopics", "New"),
     QT_TRANSLATE_NOOP("avatello::HelpTopics",
                       "Create a new blank icon from a color of your choice, it will erase the "
                       "existing icon. Choose AIM Back Color for an icon that looks transparent "
                       "when a user views it on AIM. Template has pre-made icons for you to add "
                       "your text, double click the desired icon to load it.")},
    {QT_TRANSLATE_NOOP("avatello::HelpTopics", "Update"),
     QT_TRANSLATE_NOOP("avatello::HelpTopics",
                       "This will update the icon on the right, you must click this before "
                       "saving.")},
    {QT_TRANSLATE_NOOP("avatello::HelpTopics", "Edit"),
     QT_TRANSLATE_NOOP("avatello::HelpTopics",
                       "Add Text   - Adds text to your icon. Undo this action by clicking Undo.\r\n"
                       "---------------\r\n"
                       "Move Text - Moves the most recently added text so it will fit your "
                       "icon.\r\n"
                       "---------------\r\n"
                       "Change Font - Change Font Face and Size, default face is Tahoma, default "
                       "size is 8. If you want to change the defaults do it before you add your "
                       "text.\r\n"
                       "---------------\r\n"
                       "Text Color - Choose your color before you add text, otherwise your text "
                       "will be the default \r\n"
                       "color (black).\r\n"
                       "---------------\r\n"
                       "Back Color - Change the background color of your icon. If you want to "
                       "change the back color \r\n"
                       "change it before you add any text. Choose AIM Back Color for the default "
                       "AIM Color. It will \r\n"
                       "look transparent except for the image/text.\r\n")},
    {QT_TRANSLATE_NOOP("avatello::HelpTopics", "Other"),
     QT_TRANSLATE_NOOP("avatello::HelpTopics",
                       "Option to minimize the program, view about and help.")},
};

const char* const startText =
    QT_TRANSLATE_NOOP("avatello::HelpTopics", "Avatello Help\r\n<-- Choose Topic\r\n");

QString translated(const char* source)
{
    return QCoreApplication::translate(context, source);
}

} // namespace

QStringList helpTopicNames()
{
    QStringList names;
    for (const Topic& topic : topics)
        names << translated(topic.name);
    return names;
}

QString helpStartText()
{
    return translated(startText);
}

std::optional<QString> topicText(const QString& topic)
{
    for (const Topic& each : topics)
        if (topic == translated(each.name))
            return translated(each.text);
    return std::nullopt;
}

} // namespace avatello
