#pragma once

#include "FileRemark.h"

#include <QByteArrayView>
#include <QString>
#include <QStringList>

#include <vector>

// One multiple-choice question of a test: its text, the options shown as
// A) to E), and which of them is right.
struct BankQuestion
{
    QString text;
    QStringList options;
    int right = 0; // 1 = A … 5 = E
    int line = 0;  // where it starts in its bank, for messages; not part of the question

    bool operator==(const BankQuestion &other) const
    {
        return text == other.text && options == other.options && right == other.right;
    }
};

// A question bank written by a teacher in a text editor, or brought from
// another classroom system: Aiken or the multiple-choice part of GIFT.
class QuestionBank final
{
public:
    enum class Format { Aiken, Gift };

    // The test window has five answer buttons.
    static constexpr int MaxOptions = 5;
    static constexpr int MinOptions = 2;
    // A test's question numbers are single bytes in the key's slots.
    static constexpr int MaxQuestions = 255;

    std::vector<BankQuestion> questions;
    // With any error the bank must not become a test.
    std::vector<FileRemark> errors;
    // Questions of kinds the test window cannot ask, left out on purpose.
    std::vector<FileRemark> notes;

    // UTF-8, with or without a byte-order mark, when the bytes are valid
    // UTF-8; windows-1251 otherwise.
    static QString decode(QByteArrayView bytes);
    // A .gift file is GIFT; otherwise a bank with an "ANSWER:" line is Aiken,
    // one with an answer block in braces GIFT, and anything else Aiken.
    static Format detectFormat(const QString &fileName, const QString &text);

    // `fileName` names the bank in the messages.
    static QuestionBank parse(const QString &text, Format format, const QString &fileName);
    // Reads and parses a bank file; AppError when it cannot be read.
    static QuestionBank read(const QString &path);

    // The Aiken text of the questions, which parse() reads back to the same questions.
    static QString toAiken(const std::vector<BankQuestion> &questions);

    static QChar letter(int option) { return QChar(u'A' + option - 1); }
};
