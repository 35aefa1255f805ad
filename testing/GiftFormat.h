#pragma once

#include "QuestionBank.h"

// GIFT, as far as the test window can ask it: questions with one right answer
// among two to five, "{ =right ~wrong … }". Other kinds of GIFT question are
// left out with a note; comments, titles, feedback and categories are ignored.
namespace GiftFormat {

// Adds the bank's questions, errors and notes to `bank`.
void parse(const QStringList &lines, const QString &fileName, QuestionBank &bank);

} // namespace GiftFormat
