#include "TestPage.h"

#include <QRegularExpression>

namespace TestPage {

namespace {

const char Head[] = R"(<!DOCTYPE html>
<html lang="ru">
<head>
<meta charset="utf-8">
<meta name="generator" content="korvelta-tests">
<title>Вопрос %1</title>
<style>
body { font-family: "DejaVu Sans", Arial, sans-serif; margin: 20px 28px; color: #1b2a3a; font-size: 18px; line-height: 1.5; overflow-wrap: break-word; }
.vopros { font-weight: bold; margin-bottom: 14px; }
.otvet { margin: 6px 0 6px 12px; }
</style>
</head>
<body>
)";

QString unescape(QString text)
{
    text.replace(QLatin1String("&lt;"), QLatin1String("<"));
    text.replace(QLatin1String("&gt;"), QLatin1String(">"));
    text.replace(QLatin1String("&quot;"), QLatin1String("\""));
    text.replace(QLatin1String("&#39;"), QLatin1String("'"));
    text.replace(QLatin1String("&#x27;"), QLatin1String("'"));
    return text.replace(QLatin1String("&amp;"), QLatin1String("&"));
}

} // namespace

QByteArray write(int number, const BankQuestion &question)
{
    QString page = QString::fromUtf8(Head).arg(number);
    page += QStringLiteral("<p class=\"vopros\">%1</p>\n").arg(question.text.toHtmlEscaped());
    for (int i = 0; i < question.options.size(); ++i) {
        page += QStringLiteral("<p class=\"otvet\">%1) %2</p>\n")
                    .arg(QuestionBank::letter(i + 1))
                    .arg(question.options.at(i).toHtmlEscaped());
    }
    page += QStringLiteral("</body>\n</html>\n");
    return page.toUtf8();
}

std::optional<BankQuestion> read(const QByteArray &html)
{
    static const QRegularExpression questionParagraph(QStringLiteral(R"(<p class="vopros">([^<]*)</p>)"));
    static const QRegularExpression optionParagraph(QStringLiteral(R"(<p class="otvet">([A-Z])\) ([^<]*)</p>)"));
    const QString text = QString::fromUtf8(html);
    auto questions = questionParagraph.globalMatch(text);
    if (!questions.hasNext())
        return std::nullopt;
    BankQuestion question;
    question.text = unescape(questions.next().captured(1));
    if (questions.hasNext() || question.text.trimmed().isEmpty())
        return std::nullopt;
    for (auto options = optionParagraph.globalMatch(text); options.hasNext();) {
        const auto match = options.next();
        if (match.captured(1).at(0) != QuestionBank::letter(int(question.options.size()) + 1))
            return std::nullopt;
        question.options << unescape(match.captured(2));
    }
    if (question.options.size() < QuestionBank::MinOptions || question.options.size() > QuestionBank::MaxOptions)
        return std::nullopt;
    return question;
}

} // namespace TestPage
