#pragma once

#include <QString>
#include <QStringList>

// What korvelta-tests does, shared with the lesson editor's import: a question
// bank made into a test folder, a test folder checked, a test folder made back
// into a bank. Every message names its file and, where it has one, the line.
namespace TestFolderCommands {

// The exit codes of the command-line tool.
enum class Status { Done = 0, Usage = 1, CannotRead = 2, HasErrors = 3, CannotWrite = 4 };

struct Outcome
{
    Status status = Status::Done;
    // Why the command failed: all the errors, not only the first.
    QStringList errors;
    // What was left out or left behind; also when the command succeeded.
    QStringList notes;
    // The output already holds a test (or a bank) and was not to be replaced.
    bool refusedToReplace = false;
    int questionCount = 0;
};

// Writes FOLDER/1.htm … n.htm and FOLDER/otwet.txt from an Aiken or GIFT bank;
// nothing is written when the bank has an error.
Outcome importBank(const QString &bankPath, const QString &folder, bool replace);

// Done when the key and the pages agree.
Outcome checkFolder(const QString &folder);

// Writes an Aiken bank from a folder whose pages an import wrote.
Outcome exportFolder(const QString &folder, const QString &bankPath, bool replace);

} // namespace TestFolderCommands
