#include "ui/desktop/filetypelist.h"

#include <memory>
#include <QComboBox>
#include <QFileDialog>
#include <QFileSystemModel>
#include <QLineEdit>
#include <QRegularExpression>

namespace avatello {

QStringList listedPatterns(const QString& nameFilter)
{
    static const QRegularExpression bracketed(QStringLiteral("\\(([^()]*)\\)\\s*$"));
    const QRegularExpressionMatch match = bracketed.match(nameFilter);
    const QString patterns = match.hasMatch() ? match.captured(1) : nameFilter;
    QStringList listed;
    for (const QString& pattern :
         patterns.split(QRegularExpression(QStringLiteral("[\\s;]+")), Qt::SkipEmptyParts))
        listed << (pattern == QLatin1String("*.*") ? QStringLiteral("*") : pattern);
    return listed;
}

void followFileTypeList(QFileDialog& dialog)
{
    // The parts of Qt's dialog that take part: its type list, its name box and its file model.
    auto* types = dialog.findChild<QComboBox*>(QStringLiteral("fileTypeCombo"));
    auto* name = dialog.findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
    auto* files = dialog.findChild<QFileSystemModel*>(QStringLiteral("qt_filesystem_model"));
    if (!types || !name || !files)
        return;

    files->setNameFilters(listedPatterns(dialog.selectedNameFilter()));
    // A pick in the list changes its current entry first, then Qt renames the typed file and
    // filters the model, then the dialog announces the filter; the name is put back and the
    // model filtered again at that last step.
    auto typed = std::make_shared<QString>();
    QObject::connect(types, &QComboBox::currentIndexChanged, name,
                     [name, typed] { *typed = name->text(); });
    QObject::connect(&dialog, &QFileDialog::filterSelected, files,
                     [name, files, typed](const QString& filter) {
                         if (name->text() != *typed)
                             name->setText(*typed);
                         files->setNameFilters(listedPatterns(filter));
                     });
}

} // namespace avatello
