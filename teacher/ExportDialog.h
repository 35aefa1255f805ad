#pragma once

#include <QString>
#include <QtGlobal>

#include <functional>

class QWidget;

// The "Экспорт…" command of the editor's journal and summaries tabs: asks
// where to write and in which format, writes, and says why when it cannot.
// Its dialogs belong to the window it serves, so they stay in front of it.
// Remembers the format chosen last and the folder of the last file written.
class ExportDialog final
{
    Q_DISABLE_COPY_MOVE(ExportDialog)

public:
    explicit ExportDialog(QWidget *window);

    // `write` writes the chosen file in the format of its extension, throwing
    // AppError when it cannot; `baseName` is the name suggested, without an
    // extension.
    void run(const QString &caption, const QString &baseName, const std::function<void(const QString &path)> &write);

private:
    QWidget *m_window;
    QString m_folder;
    QString m_format;
};
