#pragma once

#include <optional>
#include <QString>
#include <QStringList>

namespace avatello {

// The help window's topics, in the order its list shows them.
QStringList helpTopicNames();

// What the help window shows before a topic is chosen.
QString helpStartText();

// The text of one topic exactly as written, lines ended by CR LF; nothing for an unknown name.
// Names are compared exactly, case included.
std::optional<QString> topicText(const QString& topic);

} // namespace avatello
