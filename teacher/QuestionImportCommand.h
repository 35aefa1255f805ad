#pragma once

#include <QString>

class QWidget;
class TableCursor;

// "Импорт вопросов…" of the lesson editor: a question bank chosen by the
// teacher becomes a test in a new folder inside the course folder, and its
// answer key is attached to the current lesson as "Выбрать тест" attaches one.
namespace QuestionImportCommand {

// Asks for the bank and the folder in dialogs in front of `editor`; every
// error of the bank is shown in one window and nothing is written then.
void run(QWidget *editor, const QString &appDir, TableCursor &lessons);

} // namespace QuestionImportCommand
