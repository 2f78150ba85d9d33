#pragma once

#include <optional>
#include <QString>
#include <QStringList>

namespace avatello {

// The help window's topics, in the order its list shows them. Each text here is in the language
// the program speaks: English as written, or its translation once one is installed.
QStringList helpTopicNames();

// What the help window shows before a topic is chosen.
QString helpStartText();

// The text of one topic exactly as written, lines ended by CR LF; nothing for an unknown name.
// Names are compared exactly, case included, with the names helpTopicNames() gives.
std::optional<QString> topicText(const QString& topic);

} // namespace avatello
