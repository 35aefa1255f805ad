#include "TestFolderCommands.h"

#include "AppError.h"
#include "QuestionBank.h"
#include "TestFolder.h"

#include <QFileInfo>
#include <QSaveFile>

namespace TestFolderCommands {

namespace {

QStringList lines(const std::vector<FileRemark> &remarks)
{
    QStringList out;
    for (const FileRemark &remark : remarks)
        out << remark.toString();
    return out;
}

Outcome failed(Status status, const QStringList &errors, const QStringList &notes = {})
{
    Outcome outcome;
    outcome.status = status;
    outcome.errors = errors;
    outcome.notes = notes;
    return outcome;
}

} // namespace

Outcome importBank(const QString &bankPath, const QString &folder, bool replace)
{
    QuestionBank bank;
    try {
        bank = QuestionBank::read(bankPath);
    } catch (const AppError &error) {
        return failed(Status::CannotRead, {error.message()});
    }
    const QStringList notes = lines(bank.notes);
    if (!bank.errors.empty())
        return failed(Status::HasErrors, lines(bank.errors), notes);
    if (!replace && QFileInfo(folder).isDir() && TestFolder::holdsTest(folder)) {
        Outcome outcome = failed(Status::CannotWrite,
                                 {QStringLiteral("%1: в папке уже есть тест (файл ответов или страницы вопросов)")
                                      .arg(folder)},
                                 notes);
        outcome.refusedToReplace = true;
        return outcome;
    }
    Outcome outcome;
    outcome.notes = notes;
    try {
        outcome.notes << TestFolder::write(folder, bank.questions, replace);
    } catch (const AppError &error) {
        return failed(Status::CannotWrite, {error.message()}, notes);
    }
    outcome.questionCount = int(bank.questions.size());
    return outcome;
}

Outcome checkFolder(const QString &folder)
{
    std::vector<FileRemark> problems;
    try {
        problems = TestFolder::check(folder);
    } catch (const AppError &error) {
        return failed(Status::CannotRead, {error.message()});
    }
    return problems.empty() ? Outcome() : failed(Status::HasErrors, lines(problems));
}

Outcome exportFolder(const QString &folder, const QString &bankPath, bool replace)
{
    TestFolder::Reading reading;
    try {
        reading = TestFolder::read(folder);
    } catch (const AppError &error) {
        return failed(Status::CannotRead, {error.message()});
    }
    if (!reading.errors.empty())
        return failed(Status::HasErrors, lines(reading.errors));

    // A question whose text reads as an option or an ANSWER: line would come back
    // as another question; such a bank is not written.
    QStringList errors;
    for (const BankQuestion &question : reading.questions) {
        const QuestionBank back =
            QuestionBank::parse(QuestionBank::toAiken({question}), QuestionBank::Format::Aiken, bankPath);
        if (!back.errors.empty() || back.questions.size() != 1 || !(back.questions.front() == question)) {
            errors << QStringLiteral("%1/%2.htm: вопрос не записывается в формате Aiken без искажений: "
                                     "его текст читается как вариант или строка ANSWER:")
                          .arg(folder)
                          .arg(question.line);
        }
    }
    if (!errors.isEmpty())
        return failed(Status::HasErrors, errors);

    if (!replace && QFileInfo::exists(bankPath)) {
        Outcome outcome = failed(Status::CannotWrite, {QStringLiteral("%1: файл уже есть").arg(bankPath)});
        outcome.refusedToReplace = true;
        return outcome;
    }
    QSaveFile file(bankPath);
    const QByteArray bytes = QuestionBank::toAiken(reading.questions).toUtf8();
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit())
        return failed(Status::CannotWrite, {QStringLiteral("%1: файл не записан: %2").arg(bankPath, file.errorString())});
    Outcome outcome;
    outcome.questionCount = int(reading.questions.size());
    return outcome;
}

} // namespace TestFolderCommands
