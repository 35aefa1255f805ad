#include "TestFolder.h"

#include "AnswerKeyFile.h"
#include "AppError.h"
#include "TestPage.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <map>
#include <stdio.h>
#include <unistd.h>

const QString TestFolder::KeyFileName = QStringLiteral("otwet.txt");

namespace {

// The test window opens "N.htm" with N in decimal; folders made on Windows may spell it in capitals.
std::optional<int> pageNumber(const QString &name)
{
    static const QRegularExpression page(QStringLiteral(R"(^([1-9][0-9]{0,8})\.htm$)"),
                                         QRegularExpression::CaseInsensitiveOption);
    const auto match = page.match(name);
    if (!match.hasMatch())
        return std::nullopt;
    return match.captured(1).toInt();
}

bool isTestEntry(const QString &name)
{
    return name.compare(TestFolder::KeyFileName, Qt::CaseInsensitive) == 0 || pageNumber(name).has_value();
}

QStringList entries(const QString &folder)
{
    return QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                                  QDir::Name);
}

QString systemError()
{
    return QString::fromLocal8Bit(std::strerror(errno));
}

bool renamePath(const QString &from, const QString &to)
{
    return ::rename(QFile::encodeName(from).constData(), QFile::encodeName(to).constData()) == 0;
}

QString pagePath(const QString &folder, int number)
{
    return folder + QLatin1Char('/') + QString::number(number) + QStringLiteral(".htm");
}

void writeFile(const QString &path, const QByteArray &bytes)
{
    const auto fail = [&path](const QString &reason) {
        return AppError(QStringLiteral("%1: файл не записан: %2").arg(path, reason));
    };
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::NewOnly) || file.write(bytes) != bytes.size() || !file.flush())
        throw fail(file.errorString());
    // On disk before the folder is renamed into place.
    if (::fsync(file.handle()) != 0)
        throw fail(systemError());
    file.close();
    if (file.error() != QFileDevice::NoError)
        throw fail(file.errorString());
}

// A name beside `target` that no file has, for a folder of this run.
QString siblingName(const QFileInfo &target, const QString &tag)
{
    for (int attempt = 0;; ++attempt) {
        const QString name = QStringLiteral("%1/.%2.%3-%4-%5")
                                 .arg(target.absolutePath(), target.fileName(), tag)
                                 .arg(QCoreApplication::applicationPid())
                                 .arg(attempt);
        if (!QFileInfo::exists(name))
            return name;
    }
}

// Removes a folder of this run when the write does not get as far as renaming it.
class TemporaryFolder final
{
public:
    explicit TemporaryFolder(const QString &path)
        : m_path(path)
    {
    }
    ~TemporaryFolder()
    {
        if (!m_path.isEmpty())
            QDir(m_path).removeRecursively();
    }
    TemporaryFolder(const TemporaryFolder &) = delete;
    TemporaryFolder &operator=(const TemporaryFolder &) = delete;

    const QString &path() const { return m_path; }
    void keep() { m_path.clear(); }

private:
    QString m_path;
};

// What check() and read() look at: the key as the test window reads it and the pages by number.
struct Contents
{
    QString folder;
    QString keyPath;
    AnswerKeyFile::ReadResult key;
    std::map<int, QString> pages;

    explicit Contents(const QString &path)
        : folder(path)
    {
        if (!QFileInfo(folder).isDir())
            throw AppError(QStringLiteral("%1: папки нет").arg(folder));
        QString keyName;
        for (const QString &name : entries(folder)) {
            if (name.compare(TestFolder::KeyFileName, Qt::CaseInsensitive) == 0 && keyName != TestFolder::KeyFileName)
                keyName = name;
            else if (const auto number = pageNumber(name);
                     number && (!pages.count(*number) || name == QStringLiteral("%1.htm").arg(*number)))
                pages[*number] = folder + QLatin1Char('/') + name;
        }
        if (keyName.isEmpty())
            throw AppError(QStringLiteral("%1: в папке нет файла ответов %2").arg(folder, TestFolder::KeyFileName));
        keyPath = folder + QLatin1Char('/') + keyName;
        key = AnswerKeyFile::read(keyPath);
        if (key.error)
            throw AppError(QStringLiteral("%1: %2").arg(keyPath, *key.error));
    }

    quint8 answer(int line) const
    {
        return line <= int(key.answers.size()) ? key.answers.at(std::size_t(line - 1)) : 0;
    }

    std::optional<BankQuestion> page(int number) const
    {
        QFile file(pages.at(number));
        if (!file.open(QIODevice::ReadOnly))
            return std::nullopt;
        return TestPage::read(file.readAll());
    }

    std::vector<FileRemark> problems() const
    {
        std::vector<FileRemark> found;
        const int n = key.lineCount;
        if (n == 0)
            found.push_back({keyPath, 0, QStringLiteral("в файле ответов нет ни одной строки")});
        if (n > QuestionBank::MaxQuestions) {
            found.push_back({keyPath, QuestionBank::MaxQuestions + 1,
                             QStringLiteral("в файле ответов %1 строк: в тесте может быть не больше %2 вопросов")
                                 .arg(n)
                                 .arg(QuestionBank::MaxQuestions)});
        }
        for (const int line : AnswerKeyFile::linesWithoutAnswer(key.answers))
            found.push_back({keyPath, line, QStringLiteral("строка без ответа: в ней нет ни одной из латинских букв A–E")});
        for (int number = 1; number <= n; ++number) {
            if (!pages.count(number)) {
                found.push_back({keyPath, number, QStringLiteral("нет страницы вопроса %1.htm").arg(number)});
                continue;
            }
            const auto question = answer(number) != 0 ? page(number) : std::nullopt;
            if (question && answer(number) > question->options.size()) {
                found.push_back({keyPath, number,
                                 QStringLiteral("ответ %1, а на странице %2.htm варианты только A–%3")
                                     .arg(QuestionBank::letter(answer(number)))
                                     .arg(number)
                                     .arg(QuestionBank::letter(int(question->options.size())))});
            }
        }
        std::stable_sort(found.begin(), found.end(),
                         [](const FileRemark &a, const FileRemark &b) { return a.line < b.line; });
        for (const auto &[number, path] : pages) {
            if (number > n)
                found.push_back({path, 0, QStringLiteral("лишняя страница: в файле ответов %1 строк").arg(n)});
        }
        return found;
    }
};

} // namespace

bool TestFolder::holdsTest(const QString &folder)
{
    const QStringList names = entries(folder);
    return std::any_of(names.cbegin(), names.cend(), isTestEntry);
}

QStringList TestFolder::write(const QString &folder, const std::vector<BankQuestion> &questions, bool replace)
{
    const QFileInfo target(QDir::cleanPath(QDir(folder).absolutePath()));
    const QString targetPath = target.absoluteFilePath();
    const bool exists = target.exists();
    if (exists && !target.isDir())
        throw AppError(QStringLiteral("%1: это файл, а не папка").arg(targetPath));
    if (exists && holdsTest(targetPath)) {
        if (!replace)
            throw AppError(QStringLiteral("%1: в папке уже есть тест").arg(targetPath));
    } else if (exists && !entries(targetPath).isEmpty()) {
        // Not a test folder (the course folder, a folder of lessons): its files are not ours to move.
        throw AppError(QStringLiteral("%1: папка не пуста, а теста в ней нет; выберите новую папку").arg(targetPath));
    }
    if (!QDir().mkpath(target.absolutePath()))
        throw AppError(QStringLiteral("%1: папка не создаётся").arg(target.absolutePath()));

    TemporaryFolder fresh(siblingName(target, QStringLiteral("new")));
    if (!QDir().mkdir(fresh.path()))
        throw AppError(QStringLiteral("%1: папка не создаётся: %2").arg(fresh.path(), systemError()));
    QByteArray key;
    for (std::size_t i = 0; i < questions.size(); ++i) {
        const int number = int(i) + 1;
        writeFile(pagePath(fresh.path(), number), TestPage::write(number, questions[i]));
        key += QuestionBank::letter(questions[i].right).toLatin1();
        key += "\r\n";
    }
    writeFile(fresh.path() + QLatin1Char('/') + KeyFileName, key);

    if (!exists) {
        if (!renamePath(fresh.path(), targetPath))
            throw AppError(QStringLiteral("%1: папка не записана: %2").arg(targetPath, systemError()));
        fresh.keep();
        return {};
    }

    // The old test's other files (pictures of its pages, notes) move into the new
    // folder, so the one rename below puts the whole folder in place; its pages and key do not.
    std::vector<QString> carried;
    const auto putBack = [&] {
        for (const QString &name : carried)
            renamePath(fresh.path() + QLatin1Char('/') + name, targetPath + QLatin1Char('/') + name);
    };
    for (const QString &name : entries(targetPath)) {
        if (isTestEntry(name))
            continue;
        if (!renamePath(targetPath + QLatin1Char('/') + name, fresh.path() + QLatin1Char('/') + name)) {
            const QString reason = systemError();
            putBack();
            throw AppError(QStringLiteral("%1/%2: файл не переносится в новую папку: %3").arg(targetPath, name, reason));
        }
        carried.push_back(name);
    }
    const QString old = siblingName(target, QStringLiteral("old"));
    if (!renamePath(targetPath, old)) {
        const QString reason = systemError();
        putBack();
        throw AppError(QStringLiteral("%1: папка не заменяется: %2").arg(targetPath, reason));
    }
    if (!renamePath(fresh.path(), targetPath)) {
        const QString reason = systemError();
        renamePath(old, targetPath);
        putBack();
        throw AppError(QStringLiteral("%1: папка не заменяется: %2").arg(targetPath, reason));
    }
    fresh.keep();
    if (!QDir(old).removeRecursively())
        return {QStringLiteral("%1: прежний тест не удалён, удалите папку вручную").arg(old)};
    return {};
}

std::vector<FileRemark> TestFolder::check(const QString &folder)
{
    return Contents(folder).problems();
}

TestFolder::Reading TestFolder::read(const QString &folder)
{
    const Contents contents(folder);
    Reading reading;
    reading.errors = contents.problems();
    for (const auto &[number, path] : contents.pages) {
        if (number > contents.key.lineCount)
            break;
        auto question = contents.page(number);
        if (!question) {
            reading.errors.push_back({path, 0, QStringLiteral("страница другого вида: выгружаются только страницы, "
                                                              "записанные при импорте вопросов")});
            continue;
        }
        question->right = contents.answer(number);
        question->line = number;
        reading.questions.push_back(*question);
    }
    return reading;
}
