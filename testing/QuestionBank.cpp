#include "QuestionBank.h"

#include "AikenFormat.h"
#include "AppError.h"
#include "GiftFormat.h"

#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QStringDecoder>

#include <algorithm>

namespace {

const QByteArray Utf8Bom("\xEF\xBB\xBF", 3);

// A control character (NUL, ^A …) is no part of a text a teacher types: the file
// is damaged or not text at all, and the test window could not show it.
void refuseControlCharacters(const QStringList &lines, const QString &fileName, std::vector<FileRemark> &errors)
{
    for (int i = 0; i < lines.size(); ++i) {
        const QString &line = lines.at(i);
        const auto control = std::find_if(line.cbegin(), line.cend(), [](QChar c) {
            return c.category() == QChar::Other_Control && !c.isSpace();
        });
        if (control != line.cend()) {
            errors.push_back({fileName, i + 1,
                              QStringLiteral("управляющий символ U+%1 в строке: файл повреждён или это не текст")
                                  .arg(QString::number(control->unicode(), 16).toUpper().rightJustified(4, u'0'))});
        }
    }
}

} // namespace

QString QuestionBank::decode(QByteArrayView bytes)
{
    if (bytes.startsWith(QByteArrayView(Utf8Bom)))
        return QString::fromUtf8(bytes.sliced(Utf8Bom.size()));
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString text = utf8.decode(bytes);
    if (!utf8.hasError())
        return text;
    QStringDecoder cp1251("windows-1251");
    return cp1251.decode(bytes);
}

QuestionBank::Format QuestionBank::detectFormat(const QString &fileName, const QString &text)
{
    if (QFileInfo(fileName).suffix().compare(QLatin1String("gift"), Qt::CaseInsensitive) == 0)
        return Format::Gift;
    static const QRegularExpression answerLine(QStringLiteral(R"(^\s*ANSWER:)"),
                                               QRegularExpression::MultilineOption);
    if (answerLine.match(text).hasMatch())
        return Format::Aiken;
    return text.contains(u'{') ? Format::Gift : Format::Aiken;
}

QuestionBank QuestionBank::parse(const QString &text, Format format, const QString &fileName)
{
    static const QRegularExpression lineBreak(QStringLiteral("\r\n|\r|\n"));
    const QStringList lines = text.split(lineBreak);
    QuestionBank bank;
    if (format == Format::Aiken)
        AikenFormat::parse(lines, fileName, bank);
    else
        GiftFormat::parse(lines, fileName, bank);
    refuseControlCharacters(lines, fileName, bank.errors);

    if (bank.questions.size() > std::size_t(MaxQuestions)) {
        bank.errors.push_back({fileName, bank.questions.at(MaxQuestions).line,
                               QStringLiteral("вопрос %1 из %2: в тесте может быть не больше %3 вопросов")
                                   .arg(MaxQuestions + 1)
                                   .arg(bank.questions.size())
                                   .arg(MaxQuestions)});
    }
    if (bank.questions.empty() && bank.errors.empty())
        bank.errors.push_back({fileName, 0, QStringLiteral("в файле нет ни одного вопроса с выбором ответа")});
    std::stable_sort(bank.errors.begin(), bank.errors.end(),
                     [](const FileRemark &a, const FileRemark &b) { return a.line < b.line; });
    return bank;
}

QuestionBank QuestionBank::read(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw AppError(QStringLiteral("%1: файл не читается: %2").arg(path, file.errorString()));
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        throw AppError(QStringLiteral("%1: файл не читается: %2").arg(path, file.errorString()));
    const QString text = decode(bytes);
    return parse(text, detectFormat(path, text), path);
}

QString QuestionBank::toAiken(const std::vector<BankQuestion> &questions)
{
    return AikenFormat::write(questions);
}
