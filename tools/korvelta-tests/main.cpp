// korvelta-tests import BANK FOLDER [--force]: a test folder from an Aiken or GIFT bank.
// korvelta-tests check FOLDER: the answer key and the question pages checked against each other.
// korvelta-tests export FOLDER BANK [--force]: an Aiken bank from a folder that an import wrote.
// Exit codes: 0 done, 1 usage, 2 the input cannot be read, 3 the input has errors
// (nothing written), 4 the output cannot be written.
#include "TestFolderCommands.h"

#include <QCoreApplication>
#include <QStringList>

#include <algorithm>
#include <cstdio>

namespace {

using TestFolderCommands::Outcome;
using TestFolderCommands::Status;

const char Usage[] =
    "usage: korvelta-tests import BANK FOLDER [--force]\n"
    "       korvelta-tests check FOLDER\n"
    "       korvelta-tests export FOLDER BANK [--force]\n"
    "\n"
    "import  writes FOLDER/1.htm ... n.htm and FOLDER/otwet.txt from a question bank in\n"
    "        Aiken or GIFT (UTF-8 or windows-1251); with any error in the bank nothing is\n"
    "        written. FOLDER is new or empty; one that already holds a test is replaced\n"
    "        only with --force.\n"
    "check   checks the answer key of FOLDER against its question pages.\n"
    "export  writes an Aiken bank from a folder whose pages an import wrote; an existing\n"
    "        BANK is replaced only with --force.\n"
    "Exit codes: 0 done, 1 usage, 2 the input cannot be read, 3 the input has errors\n"
    "(nothing written), 4 the output cannot be written.\n";

void print(FILE *stream, const QString &text)
{
    std::fputs(qPrintable(text + QLatin1Char('\n')), stream);
}

int finish(const Outcome &outcome, const QString &done, const QString &forceHint)
{
    for (const QString &line : outcome.errors)
        print(stderr, line);
    for (const QString &line : outcome.notes)
        print(stderr, line);
    switch (outcome.status) {
    case Status::Done:
        if (!done.isEmpty())
            print(stdout, done);
        break;
    case Status::HasErrors:
        print(stderr, QStringLiteral("korvelta-tests: ошибок: %1; ничего не записано.").arg(outcome.errors.size()));
        break;
    case Status::CannotWrite:
        if (outcome.refusedToReplace)
            print(stderr, forceHint);
        break;
    case Status::Usage:
    case Status::CannotRead:
        break;
    }
    return int(outcome.status);
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QStringList args = QCoreApplication::arguments().mid(1);
    if (args == QStringList{QStringLiteral("--help")} || args == QStringList{QStringLiteral("-h")}) {
        std::fputs(Usage, stdout);
        return int(Status::Done);
    }
    const bool force = args.removeAll(QStringLiteral("--force")) > 0;
    const QString command = args.value(0);
    const bool usable = std::none_of(args.cbegin(), args.cend(),
                                     [](const QString &arg) { return arg.startsWith(QLatin1Char('-')); });
    if (usable && command == QLatin1String("import") && args.size() == 3) {
        const Outcome outcome = TestFolderCommands::importBank(args.at(1), args.at(2), force);
        return finish(outcome,
                      QStringLiteral("%1: записано вопросов: %2 (страницы 1.htm … %2.htm и otwet.txt).")
                          .arg(args.at(2))
                          .arg(outcome.questionCount),
                      QStringLiteral("korvelta-tests: ничего не записано. Чтобы заменить тест, запустите "
                                     "\"korvelta-tests import %1 %2 --force\".")
                          .arg(args.at(1), args.at(2)));
    }
    if (usable && command == QLatin1String("check") && args.size() == 2 && !force) {
        return finish(TestFolderCommands::checkFolder(args.at(1)),
                      QStringLiteral("%1: файл ответов и страницы вопросов согласованы.").arg(args.at(1)), QString());
    }
    if (usable && command == QLatin1String("export") && args.size() == 3) {
        const Outcome outcome = TestFolderCommands::exportFolder(args.at(1), args.at(2), force);
        return finish(outcome,
                      QStringLiteral("%1: записано вопросов: %2.").arg(args.at(2)).arg(outcome.questionCount),
                      QStringLiteral("korvelta-tests: ничего не записано. Чтобы заменить файл, запустите "
                                     "\"korvelta-tests export %1 %2 --force\".")
                          .arg(args.at(1), args.at(2)));
    }
    std::fputs(Usage, stderr);
    return int(Status::Usage);
}
