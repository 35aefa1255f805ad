#pragma once

#include "FileRemark.h"
#include "QuestionBank.h"

#include <QString>

#include <vector>

// A test folder on disk, as the test window reads it: the answer key
// otwet.txt, one letter a line, and a page N.htm for each question 1 to n.
class TestFolder final
{
public:
    static const QString KeyFileName;

    // Whether the folder holds an answer key or a question page.
    static bool holdsTest(const QString &folder);

    // Writes the pages and the key of the questions into a new or empty folder.
    // Everything is written into a temporary folder beside `folder` and renamed
    // into place, so a failure leaves `folder` as it was. A folder that already
    // holds a test is only replaced when `replace` is set, and its other files
    // stay in it; a folder of other files without a test is never written.
    // AppError when the folder cannot be written. Returns remarks that did not
    // stop the write.
    static QStringList write(const QString &folder, const std::vector<BankQuestion> &questions, bool replace);

    // The key and the pages checked against each other: lines of the key
    // without an answer, answers naming an option a page does not show,
    // pages missing or extra, more questions than a test may hold. AppError
    // when the folder or its key cannot be read.
    static std::vector<FileRemark> check(const QString &folder);

    struct Reading
    {
        std::vector<BankQuestion> questions;
        std::vector<FileRemark> errors;
    };
    // The questions of a folder whose pages write() made, with the key's right
    // answers; every problem of check() and every page of another shape is an
    // error. AppError when the folder or its key cannot be read.
    static Reading read(const QString &folder);
};
