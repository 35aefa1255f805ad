// A question bank (Aiken or GIFT) a teacher brings from another classroom
// system: read in both formats, and an accepted bank written back as Aiken
// must read back to the same questions, as the test folder's export relies on.
#include "FuzzSupport.h"
#include "QuestionBank.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QString text = QuestionBank::decode(QByteArrayView(data, qsizetype(size)));
    for (const QuestionBank::Format format : {QuestionBank::Format::Aiken, QuestionBank::Format::Gift}) {
        const QuestionBank bank = QuestionBank::parse(text, format, QStringLiteral("bank.txt"));
        if (!bank.errors.empty())
            continue;
        FUZZ_CHECK(int(bank.questions.size()) <= QuestionBank::MaxQuestions);
        for (const BankQuestion &question : bank.questions) {
            FUZZ_CHECK(question.options.size() >= QuestionBank::MinOptions);
            FUZZ_CHECK(question.options.size() <= QuestionBank::MaxOptions);
            FUZZ_CHECK(question.right >= 1 && question.right <= question.options.size());
        }
        const QuestionBank again = QuestionBank::parse(QuestionBank::toAiken(bank.questions),
                                                       QuestionBank::Format::Aiken, QStringLiteral("bank.txt"));
        FUZZ_CHECK(again.errors.empty());
        FUZZ_CHECK(again.questions == bank.questions);
    }
    return 0;
}
