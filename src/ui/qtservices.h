#pragma once

#include "ui/platformservices.h"

#include <QStringList>

namespace avatello {

// The real dialogs and launcher, built from Qt's own.
class QtServices final : public PlatformServices
{
public:
    std::optional<QString> openFileName(QWidget* parent, const FileDialogRequest& request,
                                        int* chosenFilter) override;
    std::optional<QString> saveFileName(QWidget* parent, const FileDialogRequest& request,
                                        int* chosenFilter) override;
    std::optional<QColor> color(QWidget* parent, const ColorDialogRequest& request) override;
    std::optional<QString> text(QWidget* parent, const QString& title,
                                const QString& prompt) override;
    void message(QWidget* parent, const QString& title, const QString& text,
                 MessageIcon icon) override;
    bool openUrl(const QUrl& url) override;
};

// "Description|pattern|..." as Qt's file dialogs list filters ("Description;;...").
QStringList qtNameFilters(const QString& filter);

} // namespace avatello
