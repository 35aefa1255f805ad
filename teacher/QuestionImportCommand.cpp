#include "QuestionImportCommand.h"

#include "CourseFileReference.h"
#include "Messages.h"
#include "TableCursor.h"
#include "TestFolder.h"
#include "TestFolderCommands.h"

#include <QDir>

namespace QuestionImportCommand {

namespace {

const QString BankFilter = QStringLiteral("Вопросы Aiken и GIFT|*.txt;*.gift|Все файлы|*.*");
const QString TestColumn = QStringLiteral("test");

QString failureMessage(const TestFolderCommands::Outcome &outcome, const QString &bank, const QString &folder)
{
    using TestFolderCommands::Status;
    switch (outcome.status) {
    case Status::HasErrors:
        return QStringLiteral("Вопросы не импортированы: в файле %1 ошибок: %2. Ничего не записано; исправьте "
                              "файл и повторите импорт.")
            .arg(QDir::toNativeSeparators(bank))
            .arg(outcome.errors.size());
    case Status::CannotRead:
        return QStringLiteral("Файл вопросов не прочитан.");
    default:
        return QStringLiteral("Тест не записан; папка %1 осталась как была.").arg(QDir::toNativeSeparators(folder));
    }
}

} // namespace

void run(QWidget *editor, const QString &appDir, TableCursor &lessons)
{
    const QString bank =
        Messages::chooseFile(editor, QStringLiteral("Файл вопросов (Aiken или GIFT)"), BankFilter, appDir);
    if (bank.isEmpty())
        return;
    const QString folder =
        Messages::chooseFolder(editor, QStringLiteral("Новая папка теста в папке курса"), appDir);
    if (folder.isEmpty())
        return;
    // The lesson row stores the key relative to the course folder, so the test must lie inside it.
    const auto reference = CourseFileReference::inside(appDir, folder);
    if (!reference) {
        Messages::showInfo(editor, QStringLiteral("Тест записывается в отдельную папку внутри папки курса %1, а "
                                                  "папка %2 не такая. Выберите или создайте новую папку в папке курса.")
                                       .arg(QDir::toNativeSeparators(appDir), QDir::toNativeSeparators(folder)));
        return;
    }
    // A new folder only: the test must not mix with files already there, nor replace a test.
    if (!QDir(folder).isEmpty(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot)) {
        Messages::showInfo(editor, QStringLiteral("Папка %1 не пуста. Для теста нужна новая папка: создайте её "
                                                  "в окне выбора папки кнопкой «Создать папку».")
                                       .arg(QDir::toNativeSeparators(folder)));
        return;
    }

    const TestFolderCommands::Outcome outcome = TestFolderCommands::importBank(bank, folder, false);
    if (outcome.status != TestFolderCommands::Status::Done) {
        Messages::showReport(editor, true, failureMessage(outcome, bank, folder), outcome.errors + outcome.notes);
        return;
    }
    lessons.edit();
    lessons.setValue(TestColumn, *reference + QLatin1Char('\\') + TestFolder::KeyFileName);
    lessons.post();
    Messages::showReport(editor, false,
                         QStringLiteral("Импортировано вопросов: %1. Тест в папке %2 присоединён к уроку «%3».")
                             .arg(outcome.questionCount)
                             .arg(*reference, lessons.value(QStringLiteral("urok")).toString()),
                         outcome.notes);
}

} // namespace QuestionImportCommand
