#pragma once

#include "QuestionBank.h"

// Aiken: a question on one line, its options on the lines after it, each an
// upper-case letter, "." or ")", a space and the text, then "ANSWER: X".
namespace AikenFormat {

// Adds the bank's questions and every error found to `bank`.
void parse(const QStringList &lines, const QString &fileName, QuestionBank &bank);

QString write(const std::vector<BankQuestion> &questions);

} // namespace AikenFormat
