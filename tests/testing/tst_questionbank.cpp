#include "QuestionBank.h"

#include <QStringEncoder>
#include <QtTest>

namespace {

const QString Bank = QStringLiteral("bank.txt");

// A question as "text|option;option|right letter", so a row reads like the bank.
QStringList brief(const std::vector<BankQuestion> &questions)
{
    QStringList out;
    for (const BankQuestion &question : questions) {
        out << QStringLiteral("%1|%2|%3")
                   .arg(question.text, question.options.join(u';'),
                        question.right ? QString(QuestionBank::letter(question.right)) : QStringLiteral("-"));
    }
    return out;
}

// Each expected remark is "LINE: fragment": the message must name the bank and
// that line (none for 0) and contain the fragment; one expected remark for each message given.
void compareRemarks(const std::vector<FileRemark> &actual, const QStringList &expected)
{
    QStringList shown;
    for (const FileRemark &remark : actual)
        shown << remark.toString();
    QVERIFY2(int(actual.size()) == expected.size(), qPrintable(shown.join(u'\n')));
    for (int i = 0; i < expected.size(); ++i) {
        const qsizetype colon = expected.at(i).indexOf(QLatin1String(": "));
        const QString line = expected.at(i).left(colon);
        const QString prefix = Bank + (line == QLatin1String("0") ? QString() : QLatin1Char(':') + line) + QStringLiteral(": ");
        QVERIFY2(shown.at(i).startsWith(prefix) && shown.at(i).contains(expected.at(i).mid(colon + 2)),
                 qPrintable(QStringLiteral("expected %1, got %2").arg(expected.at(i), shown.at(i))));
    }
}

QString numbered(int count)
{
    QString text;
    for (int i = 1; i <= count; ++i)
        text += QStringLiteral("Вопрос %1\nA. да\nB. нет\nANSWER: B\n\n").arg(i);
    return text;
}

} // namespace

// Question banks as teachers write them, in Aiken and in GIFT.
class TestQuestionBank : public QObject
{
    Q_OBJECT

private slots:
    void aiken_data();
    void aiken();
    void gift_data();
    void gift();
    void decode_data();
    void decode();
    void detectFormat_data();
    void detectFormat();
    void controlCharacters_data();
    void controlCharacters();
    void aikenTextReadsBack();
    void moreQuestionsThanATestHolds();
};

void TestQuestionBank::aiken_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QStringList>("questions");
    QTest::addColumn<QStringList>("errors");

    QTest::newRow("options with . or ), blank lines between questions")
        << "Какая формула выражает закон Ома?\nA. I = U / R\nB) I = U * R\nC. U = I / R\nANSWER: A\n\n\n"
           "Сколько ом в 2,2 кОм?\nA) 220 Ом\nB) 2200 Ом\nC) 22 Ом\nD) 0,22 Ом\nE) 22 000 Ом\nANSWER: B\n"
        << QStringList{"Какая формула выражает закон Ома?|I = U / R;I = U * R;U = I / R|A",
                       "Сколько ом в 2,2 кОм?|220 Ом;2200 Ом;22 Ом;0,22 Ом;22 000 Ом|B"}
        << QStringList();
    QTest::newRow("no blank line: ANSWER: ends a question; CR LF; spaces tidied")
        << "  Первый   вопрос \r\nA.  да\r\nB.\tнет\r\nANSWER:B\r\nВторой\r\nA. x\r\nB. y\r\nANSWER: a\r\n"
        << QStringList{"Первый вопрос|да;нет|B", "Второй|x;y|A"} << QStringList();
    QTest::newRow("a question may begin like an option with another letter")
        << "I. Ньютон открыл закон?\nA. тяготения\nB. Ома\nANSWER: A\n"
        << QStringList{"I. Ньютон открыл закон?|тяготения;Ома|A"} << QStringList();

    QTest::newRow("option outside A to E")
        << "Вопрос\nA. 1\nB. 2\nC. 3\nD. 4\nE. 5\nF. 6\nANSWER: A\n" << QStringList{"Вопрос|1;2;3;4;5|A"}
        << QStringList{"7: вариант F вне A–E"};
    QTest::newRow("question without ANSWER: at the end of the file")
        << "Первый\nA. 1\nB. 2\nANSWER: A\n\nВторой\nA. 1\nB. 2\n" << QStringList{"Первый|1;2|A"}
        << QStringList{"6: вопрос без строки ANSWER:"};
    QTest::newRow("question without ANSWER: before the next question")
        << "Первый\nA. 1\nB. 2\n\nВторой\nA. 1\nB. 2\nANSWER: B\n" << QStringList{"Второй|1;2|B"}
        << QStringList{"1: вопрос без строки ANSWER:"};
    QTest::newRow("ANSWER: names a letter that has no option")
        << "Вопрос\nA. 1\nB. 2\nC. 3\nANSWER: D\n" << QStringList{"Вопрос|1;2;3|-"}
        << QStringList{"5: ANSWER: D, но варианта D у вопроса нет"};
    QTest::newRow("ANSWER: names two letters")
        << "Вопрос\nA. 1\nB. 2\nANSWER: A, B\n" << QStringList{"Вопрос|1;2|-"}
        << QStringList{"4: должна стоять одна латинская буква варианта, а стоит «A, B»"};
    QTest::newRow("ANSWER: names no letter")
        << "Вопрос\nA. 1\nB. 2\nANSWER:\n" << QStringList{"Вопрос|1;2|-"}
        << QStringList{"4: не указан правильный вариант"};
    QTest::newRow("ANSWER: with a Russian letter")
        << "Вопрос\nA. 1\nB. 2\nANSWER: В\n" << QStringList{"Вопрос|1;2|-"}
        << QStringList{"4: одна латинская буква варианта, а стоит «В»"};
    QTest::newRow("empty question: options right after the last ANSWER:")
        << "Вопрос\nA. 1\nB. 2\nANSWER: A\nA. 3\nB. 4\nANSWER: B\n" << QStringList{"Вопрос|1;2|A", "|3;4|B"}
        << QStringList{"5: пустой вопрос"};
    QTest::newRow("ANSWER: without a question")
        << "ANSWER: A\n" << QStringList() << QStringList{"1: строка ANSWER: без вопроса"};
    QTest::newRow("options out of order")
        << "Вопрос\nA. 1\nC. 2\nANSWER: A\n" << QStringList{"Вопрос|1|A"}
        << QStringList{"3: вариант C не на своём месте"};
    QTest::newRow("option typed with a Russian letter")
        << "Вопрос\nA. 1\nВ. 2\nC. 3\nANSWER: C\n" << QStringList{"Вопрос|1;2;3|C"}
        << QStringList{"3: русской буквы «В»"};
    QTest::newRow("question on two lines")
        << "Вопрос\nпродолжение\nA. 1\nB. 2\nANSWER: A\n" << QStringList{"Вопрос|1;2|A"}
        << QStringList{"2: вторая строка вопроса"};
    QTest::newRow("one option only") << "Вопрос\nA. 1\nANSWER: A\n" << QStringList{"Вопрос|1|A"}
                                     << QStringList{"1: у вопроса 1 вариантов"};
    QTest::newRow("option without text") << "Вопрос\nA. 1\nB.\nANSWER: A\n" << QStringList{"Вопрос|1;|A"}
                                         << QStringList{"3: вариант B без текста"};
    QTest::newRow("every error is listed, in line order")
        << "Один\nA. 1\nB. 2\nANSWER: Z\n\nДва\nA. 1\nF. 2\nB. 3\nANSWER: B\n\nТри\nA. 1\nB. 2\n"
        << QStringList{"Один|1;2|-", "Два|1;3|B"}
        << QStringList{"4: варианта Z у вопроса нет", "8: вариант F вне A–E", "12: вопрос без строки ANSWER:"};
    QTest::newRow("empty file") << "\n\n" << QStringList() << QStringList{"0: нет ни одного вопроса"};
}

void TestQuestionBank::aiken()
{
    QFETCH(QString, text);
    QFETCH(QStringList, questions);
    QFETCH(QStringList, errors);

    const QuestionBank bank = QuestionBank::parse(text, QuestionBank::Format::Aiken, Bank);
    QCOMPARE(brief(bank.questions), questions);
    compareRemarks(bank.errors, errors);
    QVERIFY(bank.notes.empty());
}

void TestQuestionBank::gift_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QStringList>("questions");
    QTest::addColumn<QStringList>("errors");
    QTest::addColumn<QStringList>("notes");

    QTest::newRow("comments, category, title, answers on one line, feedback ignored")
        << "// Закон Ома\n$CATEGORY: $course$/Электричество\n\n"
           "::Ом::Единица сопротивления? { ~вольт#нет =ом#верно ~ампер }\n\n"
           "Единица тока?{=ампер ~вольт}\n"
        << QStringList{"Единица сопротивления?|вольт;ом;ампер|B", "Единица тока?|ампер;вольт|A"} << QStringList()
        << QStringList();
    QTest::newRow("question and answers over several lines")
        << "::Q1:: Что одинаково при\nпоследовательном соединении?\n{\n~напряжение\n=сила тока\n~мощность\n}\n"
        << QStringList{"Что одинаково при последовательном соединении?|напряжение;сила тока;мощность|B"}
        << QStringList() << QStringList();
    QTest::newRow("escapes")
        << "Что значат \\{ \\} \\~ \\= \\# \\: и \\\\? {=знаки\\~ GIFT ~ничего \\= пусто}\n"
        << QStringList{"Что значат { } ~ = # : и \\?|знаки~ GIFT;ничего = пусто|A"} << QStringList() << QStringList();
    QTest::newRow("a title with escaped colons; a comment inside a question")
        << "::Время 12\\:30:: Который час?\n// подсказка\n{=полдень ~полночь}\n"
        << QStringList{"Который час?|полдень;полночь|A"} << QStringList() << QStringList();
    QTest::newRow("weights of 100 and 0 percent") << "Вопрос {~%0%нет ~%100%да ~%-50%никак}\n"
                                                  << QStringList{"Вопрос|нет;да;никак|B"} << QStringList()
                                                  << QStringList();
    QTest::newRow("text after the answers: the block is a gap")
        << "Ток в металлах создают {~протоны =электроны} частицы.\n\nЗакон Ома: I = U {=/ ~*} R.\n"
        << QStringList{"Ток в металлах создают _____ частицы.|протоны;электроны|B", "Закон Ома: I = U _____ R.|/;*|A"}
        << QStringList() << QStringList();
    QTest::newRow("[html] text as the plain text it shows; other markers dropped")
        << "::Q::[html]<p>Что <b>больше</b>: 1&nbsp;&amp; 2&#33;</p>{=<i>два</i> ~один}\n\n[markdown]Вопрос{=да ~нет}\n"
        << QStringList{"Что больше: 1 & 2!|два;один|A", "Вопрос|да;нет|A"} << QStringList() << QStringList();
    QTest::newRow("other kinds of question are skipped with a note")
        << "Земля круглая {T}\n\nВода мокрая {FALSE#Нет}\n\nПары {=a -> 1 =b -> 2}\n\nПи {#3.14:0.01}\n\n"
           "Два плюс два {=четыре =4}\n\nЭссе {}\n\nВыберите два {~%50%a ~%50%b ~%-100%c}\n\nПросто текст\n\n"
           "Нужный {=да ~нет}\n"
        << QStringList{"Нужный|да;нет|A"} << QStringList()
        << QStringList{"1: вопрос «верно/неверно» пропущен", "3: вопрос «верно/неверно» пропущен",
                       "5: вопрос на соответствие пропущен", "7: числовой вопрос пропущен",
                       "9: вопрос с кратким ответом пропущен", "11: вопрос-эссе пропущен",
                       "13: несколькими правильными ответами", "15: описание) пропущен"};

    QTest::newRow("no right answer") << "Вопрос {~a ~b}\n" << QStringList{"Вопрос|a;b|-"}
                                     << QStringList{"1: нет правильного ответа"} << QStringList();
    QTest::newRow("two right answers: the line of the second")
        << "Вопрос {\n=a\n~b\n=c\n}\n" << QStringList{"Вопрос|a;b;c|A"}
        << QStringList{"4: второй правильный ответ"} << QStringList();
    QTest::newRow("six answers") << "Вопрос {=1 ~2 ~3 ~4 ~5 ~6}\n" << QStringList{"Вопрос|1;2;3;4;5;6|A"}
                                 << QStringList{"1: 6 вариантов ответа"} << QStringList();
    QTest::newRow("one answer") << "Вопрос {~%100%1}\n" << QStringList{"Вопрос|1|A"}
                                << QStringList{"1: один вариант ответа"} << QStringList();
    QTest::newRow("empty answer") << "Вопрос {\n=a\n~\n}\n" << QStringList{"Вопрос|a;|A"}
                                  << QStringList{"3: пустой вариант ответа"} << QStringList();
    QTest::newRow("empty question") << "\n\n::Заголовок:: {=a ~b}\n" << QStringList{"|a;b|A"}
                                    << QStringList{"3: пустой вопрос"} << QStringList();
    QTest::newRow("block not closed") << "Вопрос\n{=a ~b\n" << QStringList() << QStringList{"2: не закрыт"}
                                      << QStringList();
    QTest::newRow("title not closed") << "::Заголовок Вопрос {=a ~b}\n" << QStringList()
                                      << QStringList{"1: название вопроса «::…::» не закрыто"} << QStringList();
    QTest::newRow("text before the first answer") << "Вопрос {ответ =a ~b}\n" << QStringList()
                                                  << QStringList{"1: текст перед первым ответом"} << QStringList();
    QTest::newRow("two answer blocks") << "Вопрос {=a ~b} и ещё {=c ~d}\n" << QStringList()
                                       << QStringList{"1: второй блок ответов"} << QStringList();
    QTest::newRow("every error listed, notes kept")
        << "Один {~a ~b}\n\nДва {T}\n\nТри {=a =b ~c}\n" << QStringList{"Один|a;b|-", "Три|a;b;c|A"}
        << QStringList{"1: нет правильного ответа", "5: второй правильный ответ"}
        << QStringList{"3: вопрос «верно/неверно» пропущен"};
    QTest::newRow("nothing but skipped questions")
        << "Земля круглая {T}\n" << QStringList() << QStringList{"0: нет ни одного вопроса"}
        << QStringList{"1: вопрос «верно/неверно» пропущен"};
}

void TestQuestionBank::gift()
{
    QFETCH(QString, text);
    QFETCH(QStringList, questions);
    QFETCH(QStringList, errors);
    QFETCH(QStringList, notes);

    const QuestionBank bank = QuestionBank::parse(text, QuestionBank::Format::Gift, Bank);
    QCOMPARE(brief(bank.questions), questions);
    compareRemarks(bank.errors, errors);
    compareRemarks(bank.notes, notes);
}

void TestQuestionBank::decode_data()
{
    QTest::addColumn<QByteArray>("bytes");

    const QString text = QStringLiteral("Единица тока?\nA. ампер\nB. вольт\nANSWER: A\n");
    QTest::newRow("UTF-8") << text.toUtf8();
    QTest::newRow("UTF-8 with a byte-order mark") << QByteArray("\xEF\xBB\xBF") + text.toUtf8();
    QStringEncoder cp1251("windows-1251");
    QTest::newRow("windows-1251") << QByteArray(cp1251.encode(text));
}

void TestQuestionBank::decode()
{
    QFETCH(QByteArray, bytes);
    const QString text = QuestionBank::decode(bytes);
    const QuestionBank bank = QuestionBank::parse(text, QuestionBank::detectFormat(Bank, text), Bank);
    QCOMPARE(brief(bank.questions), QStringList{"Единица тока?|ампер;вольт|A"});
    QVERIFY(bank.errors.empty());
}

void TestQuestionBank::detectFormat_data()
{
    QTest::addColumn<QString>("fileName");
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("gift");

    QTest::newRow("an ANSWER: line is Aiken, even with braces in it")
        << "bank.txt" << "Что такое {x}?\nA. да\nB. нет\nANSWER: A\n" << false;
    QTest::newRow("an answer block is GIFT") << "bank.txt" << "Вопрос {=a ~b}\n" << true;
    QTest::newRow(".gift is GIFT whatever it holds") << "bank.GIFT" << "Вопрос\nANSWER: A\n" << true;
    QTest::newRow("neither: Aiken, whose errors then explain the format") << "bank.txt" << "Вопрос\nA. a\n" << false;
}

void TestQuestionBank::detectFormat()
{
    QFETCH(QString, fileName);
    QFETCH(QString, text);
    QFETCH(bool, gift);
    QCOMPARE(QuestionBank::detectFormat(fileName, text) == QuestionBank::Format::Gift, gift);
}

void TestQuestionBank::controlCharacters_data()
{
    QTest::addColumn<bool>("gift");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QStringList>("errors");

    const auto with = [](const char *before, char16_t control, const char *after) {
        return QString::fromUtf8(before) + QChar(control) + QString::fromUtf8(after);
    };
    QTest::newRow("NUL in an Aiken option") << false << with("Вопрос\nA. 1", 0, "\nB. 2\nANSWER: A\n")
                                            << QStringList{"2: управляющий символ U+0000"};
    QTest::newRow("GIFT: the line of the character, not of the question")
        << true << with("Вопрос {\n=a\n~b", 0x1B, "\n}\n") << QStringList{"3: управляющий символ U+001B"};
    QTest::newRow("GIFT: also in a comment") << true << with("// тема", 0x7F, "\nВопрос {=a ~b}\n")
                                             << QStringList{"1: управляющий символ U+007F"};
    QTest::newRow("tab and form feed are spaces")
        << false << with("Вопрос\tпервый\nA. 1", u'\f', "\nB. 2\nANSWER: A\n") << QStringList();
}

// A damaged or binary file is refused before its texts reach the test window.
void TestQuestionBank::controlCharacters()
{
    QFETCH(bool, gift);
    QFETCH(QString, text);
    QFETCH(QStringList, errors);
    const QuestionBank bank =
        QuestionBank::parse(text, gift ? QuestionBank::Format::Gift : QuestionBank::Format::Aiken, Bank);
    compareRemarks(bank.errors, errors);
}

void TestQuestionBank::aikenTextReadsBack()
{
    const std::vector<BankQuestion> questions = {
        {"Что больше: 2 < 3 & 4 > 1?", {"да", "нет", "A. не знаю"}, 3, 0},
        {"Второй", {"1", "2", "3", "4", "5"}, 5, 0},
    };
    const QuestionBank bank =
        QuestionBank::parse(QuestionBank::toAiken(questions), QuestionBank::Format::Aiken, Bank);
    QVERIFY(bank.errors.empty());
    QVERIFY(bank.questions == questions);
}

void TestQuestionBank::moreQuestionsThanATestHolds()
{
    const QuestionBank many = QuestionBank::parse(numbered(QuestionBank::MaxQuestions + 1),
                                                  QuestionBank::Format::Aiken, Bank);
    compareRemarks(many.errors, {"1276: вопрос 256 из 256: в тесте может быть не больше 255 вопросов"});
    QVERIFY(QuestionBank::parse(numbered(QuestionBank::MaxQuestions), QuestionBank::Format::Aiken, Bank)
                .errors.empty());
}

QTEST_APPLESS_MAIN(TestQuestionBank)
#include "tst_questionbank.moc"
