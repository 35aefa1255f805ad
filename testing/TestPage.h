#pragma once

#include "QuestionBank.h"

#include <QByteArray>

#include <optional>

// The page of one question in a test folder, N.htm: the question and its
// options A) to E), UTF-8 with the charset declared, sized for the test window.
namespace TestPage {

QByteArray write(int number, const BankQuestion &question);

// The question and options of a page that write() made (the right answer is
// the key's, so it stays 0); nothing for a page of any other shape.
std::optional<BankQuestion> read(const QByteArray &html);

} // namespace TestPage
