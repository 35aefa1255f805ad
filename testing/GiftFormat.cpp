#include "GiftFormat.h"

#include <QRegularExpression>

#include <optional>

namespace GiftFormat {

namespace {

// Escaped special characters stand in as private-use characters while the
// question is taken apart, so that "\{" never opens an answer block.
const QString Escapable = QStringLiteral("~=#{}:\\");
constexpr char16_t EscapeBase = 0xE000;

QString hideEscapes(const QString &line)
{
    QString out;
    out.reserve(line.size());
    for (qsizetype i = 0; i < line.size(); ++i) {
        const qsizetype special = i + 1 < line.size() ? Escapable.indexOf(line.at(i + 1)) : -1;
        if (line.at(i) == u'\\' && special >= 0) {
            out += QChar(char16_t(EscapeBase + special));
            ++i;
        } else {
            out += line.at(i);
        }
    }
    return out;
}

QString restoreEscapes(QString text)
{
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t c = text.at(i).unicode();
        if (c >= EscapeBase && c < EscapeBase + Escapable.size())
            text[i] = Escapable.at(c - EscapeBase);
    }
    return text;
}

// Text marked [html], as other systems export their questions, shown as the plain text it displays.
QString htmlToPlain(QString text)
{
    static const QRegularExpression breaks(QStringLiteral("<(br|/p|/div|/li)\\b[^>]*>"),
                                           QRegularExpression::CaseInsensitiveOption);
    static const QRegularExpression tags(QStringLiteral("<[^>]*>"));
    static const QRegularExpression numeric(QStringLiteral("&#(x[0-9a-fA-F]+|[0-9]+);"));
    text.replace(breaks, QStringLiteral(" "));
    text.remove(tags);
    QString out;
    qsizetype from = 0;
    for (auto it = numeric.globalMatch(text); it.hasNext();) {
        const auto match = it.next();
        const QString code = match.captured(1);
        bool ok = false;
        const uint value = code.startsWith(u'x') ? code.mid(1).toUInt(&ok, 16) : code.toUInt(&ok, 10);
        out += text.mid(from, match.capturedStart() - from);
        out += ok && value > 0 && value <= 0x10FFFF ? QString::fromUcs4(reinterpret_cast<const char32_t *>(&value), 1)
                                                    : match.captured();
        from = match.capturedEnd();
    }
    out += text.mid(from);
    out.replace(QLatin1String("&nbsp;"), QLatin1String(" "));
    out.replace(QLatin1String("&lt;"), QLatin1String("<"));
    out.replace(QLatin1String("&gt;"), QLatin1String(">"));
    out.replace(QLatin1String("&quot;"), QLatin1String("\""));
    out.replace(QLatin1String("&amp;"), QLatin1String("&"));
    return out;
}

// One question: its lines joined by "\n", with the file's line number of each.
class Item
{
public:
    void add(int number, const QString &line)
    {
        if (!m_text.isEmpty())
            m_text += QLatin1Char('\n');
        m_starts.push_back({m_text.size(), number});
        m_text += line;
    }
    bool isEmpty() const { return m_starts.empty(); }
    const QString &text() const { return m_text; }
    int lineAt(qsizetype offset) const
    {
        int line = m_starts.front().second;
        for (const auto &[start, number] : m_starts) {
            if (start > offset)
                break;
            line = number;
        }
        return line;
    }
    int firstLine() const { return m_starts.front().second; }

private:
    QString m_text;
    std::vector<std::pair<qsizetype, int>> m_starts;
};

struct Answer
{
    bool right = false;
    std::optional<double> weight;
    QString text;
    qsizetype offset = 0;
};

class Parser
{
public:
    Parser(const QString &fileName, QuestionBank &bank)
        : m_file(fileName)
        , m_bank(bank)
    {
    }

    void question(const Item &item)
    {
        m_item = &item;
        QString text = item.text();
        qsizetype at = 0;
        if (text.trimmed().startsWith(QLatin1String("::"))) {
            const qsizetype open = text.indexOf(QLatin1String("::"));
            const qsizetype close = text.indexOf(QLatin1String("::"), open + 2);
            if (close < 0) {
                error(open, QStringLiteral("название вопроса «::…::» не закрыто"));
                return;
            }
            at = close + 2;
        }
        const qsizetype blockOpen = text.indexOf(u'{', at);
        if (blockOpen < 0) {
            note(at, QStringLiteral("текст без блока ответов { } (описание) пропущен"));
            return;
        }
        const qsizetype blockClose = text.indexOf(u'}', blockOpen);
        if (blockClose < 0) {
            error(blockOpen, QStringLiteral("блок ответов не закрыт: нет «}»"));
            return;
        }
        QString before = text.mid(at, blockOpen - at).trimmed();
        const QString after = text.mid(blockClose + 1);
        if (const qsizetype second = text.indexOf(u'{', blockClose); second >= 0) {
            error(second, QStringLiteral("второй блок ответов { } в одном вопросе"));
            return;
        }
        static const QRegularExpression format(QStringLiteral(R"(^\[(html|moodle|plain|markdown)\])"),
                                               QRegularExpression::CaseInsensitiveOption);
        bool html = false;
        if (const auto match = format.match(before); match.hasMatch()) {
            html = match.captured(1).compare(QLatin1String("html"), Qt::CaseInsensitive) == 0;
            before = before.mid(match.capturedLength()).trimmed();
        }
        const auto plain = [html](const QString &part) {
            const QString restored = restoreEscapes(part);
            return (html ? htmlToPlain(restored) : restored).simplified();
        };
        // Text after the block makes a "missing word" question: the block stands for the gap.
        QString questionText = plain(before);
        if (const QString rest = plain(after); !rest.isEmpty()) {
            const bool punctuation = rest.at(0).isPunct() && rest.at(0) != u'(' && rest.at(0) != u'«';
            questionText = (questionText + QStringLiteral(" _____") + (punctuation ? QString() : QStringLiteral(" "))
                            + rest).trimmed();
        }

        const qsizetype contentStart = blockOpen + 1;
        const QString content = text.mid(contentStart, blockClose - contentStart);
        const auto kind = skippedKind(content);
        if (kind) {
            note(at, QStringLiteral("%1 пропущен: в тест входят только вопросы с одним правильным ответом из двух–пяти")
                         .arg(*kind));
            return;
        }
        std::vector<Answer> answers;
        if (!splitAnswers(content, contentStart, answers))
            return;
        if (const auto several = severalRightKind(answers)) {
            note(at, *several);
            return;
        }

        BankQuestion question{questionText, {}, 0, item.lineAt(at)};
        if (questionText.isEmpty())
            error(at, QStringLiteral("пустой вопрос: перед блоком ответов нет текста"));
        for (const Answer &answer : answers) {
            const QString answerText = plain(answer.text);
            if (answerText.isEmpty())
                error(answer.offset, QStringLiteral("пустой вариант ответа"));
            question.options << answerText;
            if (!answer.right)
                continue;
            if (question.right != 0)
                error(answer.offset, QStringLiteral("второй правильный ответ «=»: в вопросе с выбором ответа он один"));
            else
                question.right = int(question.options.size());
        }
        if (question.right == 0)
            error(blockOpen, QStringLiteral("нет правильного ответа: отметьте его знаком «=»"));
        const auto count = question.options.size();
        if (count > QuestionBank::MaxOptions)
            error(blockOpen, QStringLiteral("%1 вариантов ответа: в окне теста пять кнопок ответа, A–E").arg(count));
        else if (count < QuestionBank::MinOptions)
            error(blockOpen, QStringLiteral("один вариант ответа: нужно от двух до пяти"));
        m_bank.questions.push_back(question);
    }

private:
    // The kinds of GIFT question that the test window cannot ask, told apart by their answer block.
    std::optional<QString> skippedKind(const QString &content) const
    {
        static const QRegularExpression trueFalse(QStringLiteral(R"(^\s*(T|F|TRUE|FALSE)\s*(#.*)?$)"),
                                                  QRegularExpression::CaseInsensitiveOption
                                                      | QRegularExpression::DotMatchesEverythingOption);
        const QString trimmed = content.trimmed();
        if (trimmed.isEmpty())
            return QStringLiteral("вопрос-эссе");
        if (trueFalse.match(trimmed).hasMatch())
            return QStringLiteral("вопрос «верно/неверно»");
        if (trimmed.startsWith(u'#'))
            return QStringLiteral("числовой вопрос");
        if (!content.contains(u'~') && content.contains(u'=')) {
            return content.contains(QLatin1String("->")) ? QStringLiteral("вопрос на соответствие")
                                                        : QStringLiteral("вопрос с кратким ответом");
        }
        return std::nullopt;
    }

    // Weights between 0 and 100 share the credit among several right answers.
    static std::optional<QString> severalRightKind(const std::vector<Answer> &answers)
    {
        for (const Answer &answer : answers) {
            if (answer.weight && *answer.weight > 0 && *answer.weight < 100)
                return QStringLiteral("вопрос с несколькими правильными ответами (веса %…%) пропущен: "
                                      "в тест входят только вопросы с одним правильным ответом из двух–пяти");
        }
        return std::nullopt;
    }

    bool splitAnswers(const QString &content, qsizetype contentStart, std::vector<Answer> &answers)
    {
        static const QRegularExpression weight(QStringLiteral(R"(^%(-?[0-9]+(?:[.,][0-9]+)?)%)"));
        qsizetype i = 0;
        while (i < content.size() && content.at(i) != u'=' && content.at(i) != u'~') {
            if (!content.at(i).isSpace()) {
                error(contentStart + i, QStringLiteral("текст перед первым ответом: ответы в блоке начинаются "
                                                       "с «=» (правильный) или «~» (неправильный)"));
                return false;
            }
            ++i;
        }
        while (i < content.size()) {
            Answer answer;
            answer.right = content.at(i) == u'=';
            answer.offset = contentStart + i;
            qsizetype end = i + 1;
            while (end < content.size() && content.at(end) != u'=' && content.at(end) != u'~')
                ++end;
            QString body = content.mid(i + 1, end - i - 1);
            // Feedback after '#' is not shown by the test window.
            if (const qsizetype hash = body.indexOf(u'#'); hash >= 0)
                body.truncate(hash);
            if (const auto match = weight.match(body); match.hasMatch()) {
                answer.weight = match.captured(1).replace(u',', u'.').toDouble();
                body = body.mid(match.capturedLength());
                if (*answer.weight >= 100)
                    answer.right = true;
                else if (*answer.weight <= 0)
                    answer.right = false;
            }
            answer.text = body;
            answers.push_back(answer);
            i = end;
        }
        return true;
    }

    void error(qsizetype offset, const QString &text)
    {
        m_bank.errors.push_back({m_file, m_item->lineAt(offset), text});
    }

    void note(qsizetype offset, const QString &text)
    {
        m_bank.notes.push_back({m_file, m_item->lineAt(offset), text});
    }

    QString m_file;
    QuestionBank &m_bank;
    const Item *m_item = nullptr;
};

} // namespace

void parse(const QStringList &lines, const QString &fileName, QuestionBank &bank)
{
    Parser parser(fileName, bank);
    Item item;
    const auto flush = [&] {
        if (!item.isEmpty())
            parser.question(item);
        item = Item();
    };
    for (int i = 0; i < lines.size(); ++i) {
        const QString trimmed = lines.at(i).trimmed();
        if (trimmed.isEmpty()) {
            flush();
            continue;
        }
        if (trimmed.startsWith(QLatin1String("//")) || trimmed.startsWith(QLatin1String("$CATEGORY:")))
            continue;
        item.add(i + 1, hideEscapes(lines.at(i)));
    }
    flush();
}

} // namespace GiftFormat
