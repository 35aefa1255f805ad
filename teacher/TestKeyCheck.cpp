#include "TestKeyCheck.h"

#include "AnswerKeyFile.h"

#include <QDir>
#include <QFileInfo>
#include <QStringList>

namespace TestKeyCheck {

std::optional<QString> warning(const QString &testFileOnDisk)
{
    const QString keyPath = QFileInfo(testFileOnDisk).dir().filePath(QStringLiteral("otwet.txt"));
    const AnswerKeyFile::ReadResult key = AnswerKeyFile::read(keyPath);
    if (key.error)
        return std::nullopt;
    const std::vector<int> lines = AnswerKeyFile::linesWithoutAnswer(key.answers);
    if (lines.empty())
        return std::nullopt;

    QStringList numbers;
    for (std::size_t i = 0; i < lines.size() && i < std::size_t(ListedLines); ++i)
        numbers << QString::number(lines[i]);
    QString listed = numbers.join(QStringLiteral(", "));
    if (lines.size() > std::size_t(ListedLines))
        listed += QStringLiteral(" … (всего %1)").arg(lines.size());
    return QStringLiteral("В файле ответов %1 не задан ответ в строках: %2. Ответ — латинская буква "
                          "A, B, C, D или E; русские буквы не считаются. Тест прикреплён, но на эти "
                          "вопросы нельзя будет ответить правильно, пока ответы не исправлены.")
        .arg(QDir::toNativeSeparators(keyPath), listed);
}

} // namespace TestKeyCheck
