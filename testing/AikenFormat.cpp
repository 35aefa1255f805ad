#include "AikenFormat.h"

#include <QRegularExpression>

namespace AikenFormat {

namespace {

class Parser
{
public:
    Parser(const QString &fileName, QuestionBank &bank)
        : m_file(fileName)
        , m_bank(bank)
    {
    }

    void line(int number, const QString &raw)
    {
        static const QRegularExpression answer(QStringLiteral(R"(^ANSWER:(.*)$)"));
        static const QRegularExpression option(QStringLiteral(R"(^([A-Z])[.)](?:\s+(.*)|\s*)$)"));
        static const QRegularExpression cyrillicOption(QStringLiteral(R"(^([А-ЯЁ])[.)]\s)"));
        const QString text = raw.trimmed();
        if (text.isEmpty())
            return;
        const auto asOption = option.match(text);
        const auto asCyrillicOption = cyrillicOption.match(text);
        if (const auto match = answer.match(text); match.hasMatch()) {
            answerLine(number, match.captured(1).trimmed());
        } else if (asOption.hasMatch() && (m_open || asOption.captured(1) == QLatin1String("A"))) {
            // Between questions only "A" starts the options; another letter there
            // begins a question such as "I. Newton …".
            optionLine(number, asOption.captured(1).at(0), asOption.captured(2).simplified());
        } else if (m_open && asCyrillicOption.hasMatch()) {
            cyrillicOptionLine(number, asCyrillicOption.captured(1),
                               text.mid(asCyrillicOption.capturedLength()).simplified());
        } else {
            textLine(number, text.simplified());
        }
    }

    void end()
    {
        // A question that began with an option has been reported already.
        if (m_open && !m_question.text.isEmpty())
            error(m_question.line, QStringLiteral("вопрос без строки ANSWER:"));
    }

private:
    void textLine(int number, const QString &text)
    {
        if (m_open && m_question.options.isEmpty()) {
            error(number, QStringLiteral("вторая строка вопроса: в формате Aiken вопрос занимает одну строку, "
                                         "за ним идут варианты «A. …» и строка ANSWER:"));
            return;
        }
        // Options already given and no ANSWER: line: the question before was never closed.
        end();
        m_question = BankQuestion{text, {}, 0, number};
        m_open = true;
        m_optionRefused = false;
    }

    // "А." typed in Russian looks like "A." but is not one; it is reported and
    // taken as the next option, so that the options after it are not reported too.
    void cyrillicOptionLine(int number, const QString &letter, const QString &text)
    {
        error(number, QStringLiteral("вариант начинается с русской буквы «%1»: буквы вариантов латинские, A–E")
                          .arg(letter));
        m_question.options << text;
    }

    void optionLine(int number, QChar letter, const QString &text)
    {
        if (!m_open) {
            // An option right after the last ANSWER: line, or at the very start.
            m_question = BankQuestion{QString(), {}, 0, number};
            m_open = true;
            m_optionRefused = false;
            error(number, QStringLiteral("пустой вопрос: перед вариантом %1 нет строки с текстом вопроса").arg(letter));
        }
        const int index = letter.unicode() - u'A' + 1;
        if (index > QuestionBank::MaxOptions) {
            error(number, QStringLiteral("вариант %1 вне A–E: в окне теста пять кнопок ответа").arg(letter));
            m_optionRefused = true;
            return;
        }
        const int expected = int(m_question.options.size()) + 1;
        if (index != expected) {
            error(number, QStringLiteral("вариант %1 не на своём месте: варианты идут по порядку, здесь ожидается %2")
                              .arg(letter)
                              .arg(QuestionBank::letter(expected)));
            m_optionRefused = true;
            return;
        }
        if (text.isEmpty())
            error(number, QStringLiteral("вариант %1 без текста").arg(letter));
        m_question.options << text;
    }

    void answerLine(int number, const QString &value)
    {
        if (!m_open) {
            error(number, QStringLiteral("строка ANSWER: без вопроса и вариантов перед ней"));
            return;
        }
        m_open = false;
        const int count = int(m_question.options.size());
        if (count < QuestionBank::MinOptions && !m_optionRefused)
            error(m_question.line, QStringLiteral("у вопроса %1 вариантов, а нужно от двух до пяти").arg(count));
        const QChar letter = value.size() == 1 ? value.at(0).toUpper() : QChar();
        if (value.isEmpty()) {
            error(number, QStringLiteral("в строке ANSWER: не указан правильный вариант"));
        } else if (letter < u'A' || letter > u'Z') {
            error(number, QStringLiteral("в строке ANSWER: должна стоять одна латинская буква варианта, "
                                         "а стоит «%1»").arg(value));
        } else if (const int index = letter.unicode() - u'A' + 1; index > count) {
            error(number, QStringLiteral("ANSWER: %1, но варианта %1 у вопроса нет").arg(letter));
        } else {
            m_question.right = index;
        }
        m_bank.questions.push_back(m_question);
    }

    void error(int number, const QString &text)
    {
        m_bank.errors.push_back({m_file, number, text});
    }

    QString m_file;
    QuestionBank &m_bank;
    BankQuestion m_question;
    bool m_open = false;
    // An option line of this question was refused, so its count of options says nothing.
    bool m_optionRefused = false;
};

} // namespace

void parse(const QStringList &lines, const QString &fileName, QuestionBank &bank)
{
    Parser parser(fileName, bank);
    for (int i = 0; i < lines.size(); ++i)
        parser.line(i + 1, lines.at(i));
    parser.end();
}

QString write(const std::vector<BankQuestion> &questions)
{
    QString out;
    for (const BankQuestion &question : questions) {
        out += question.text + QLatin1Char('\n');
        for (int i = 0; i < question.options.size(); ++i)
            out += QStringLiteral("%1. %2\n").arg(QuestionBank::letter(i + 1)).arg(question.options.at(i));
        out += QStringLiteral("ANSWER: %1\n\n").arg(QuestionBank::letter(question.right));
    }
    return out;
}

} // namespace AikenFormat
