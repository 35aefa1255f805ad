#include "ExportDialog.h"

#include "AppError.h"
#include "Messages.h"

#include <QDir>
#include <QCursor>
#include <QFileInfo>
#include <QGuiApplication>
#include <QStandardPaths>

namespace {

const QString Formats = QStringLiteral("Таблица CSV|*.csv|Книга Excel|*.xlsx|Документ PDF|*.pdf");

// The wait cursor while a large journal is written.
class WaitCursor final
{
public:
    WaitCursor() { QGuiApplication::setOverrideCursor(QCursor(Qt::WaitCursor)); }
    ~WaitCursor() { QGuiApplication::restoreOverrideCursor(); }
    WaitCursor(const WaitCursor &) = delete;
    WaitCursor &operator=(const WaitCursor &) = delete;
};

} // namespace

ExportDialog::ExportDialog(QWidget *window)
    : m_window(window)
    , m_folder(QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation))
    , m_format(QStringLiteral("Книга Excel"))
{
    if (m_folder.isEmpty() || !QFileInfo(m_folder).isDir())
        m_folder = QDir::homePath();
}

void ExportDialog::run(const QString &caption, const QString &baseName,
                       const std::function<void(const QString &path)> &write)
{
    const QString path =
        Messages::chooseSaveFile(m_window, caption, Formats, QDir(m_folder).filePath(baseName), &m_format);
    if (path.isEmpty())
        return;
    try {
        WaitCursor wait;
        write(path);
        m_folder = QFileInfo(path).absolutePath();
    } catch (const AppError &error) {
        Messages::showError(m_window, error.message());
    }
}
