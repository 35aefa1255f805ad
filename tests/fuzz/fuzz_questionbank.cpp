// A question bank (Aiken or GIFT) a teacher brings from another classroom
// system: read in both formats. The test folder's export writes an accepted
// question as Aiken only when it reads back the same, and refuses the rest
// because their text reads as an option or an ANSWER: line; a question refused
// for anything else, or a bank of written questions that reads back otherwise,
// is a fault of the writer or the reader.
#include "FuzzSupport.h"
#include "QuestionBank.h"

#include <QRegularExpression>

#include <algorithm>

namespace {

bool readsBackAlone(const BankQuestion &question)
{
    const QuestionBank back = QuestionBank::parse(QuestionBank::toAiken({question}), QuestionBank::Format::Aiken,
                                                  QStringLiteral("bank.txt"));
    return back.errors.empty() && back.questions.size() == 1 && back.questions.front() == question;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static const QRegularExpression aikenLine(QStringLiteral(R"(^(ANSWER:|A[.)](\s|$)))"));
    const QString text = QuestionBank::decode(QByteArrayView(data, qsizetype(size)));
    for (const QuestionBank::Format format : {QuestionBank::Format::Aiken, QuestionBank::Format::Gift}) {
        const QuestionBank bank = QuestionBank::parse(text, format, QStringLiteral("bank.txt"));
        if (!bank.errors.empty())
            continue;
        FUZZ_CHECK(int(bank.questions.size()) <= QuestionBank::MaxQuestions);
        std::vector<BankQuestion> written;
        for (const BankQuestion &question : bank.questions) {
            FUZZ_CHECK(question.options.size() >= QuestionBank::MinOptions);
            FUZZ_CHECK(question.options.size() <= QuestionBank::MaxOptions);
            FUZZ_CHECK(question.right >= 1 && question.right <= question.options.size());
            const QStringList parts = QStringList(question.options) << question.text;
            for (const QString &part : parts) {
                FUZZ_CHECK(std::none_of(part.cbegin(), part.cend(), [](QChar c) {
                    return c.category() == QChar::Other_Control && !c.isSpace();
                }));
            }
            if (readsBackAlone(question))
                written.push_back(question);
            else
                FUZZ_CHECK(aikenLine.match(question.text).hasMatch());
        }
        if (written.empty())
            continue;
        const QuestionBank again = QuestionBank::parse(QuestionBank::toAiken(written), QuestionBank::Format::Aiken,
                                                       QStringLiteral("bank.txt"));
        FUZZ_CHECK(again.errors.empty());
        FUZZ_CHECK(again.questions == written);
    }
    return 0;
}
