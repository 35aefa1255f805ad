#pragma once

#include <QString>

#include <optional>

// The check the lesson editor makes when a test is attached: the answer key
// beside the chosen file, read as a test start reads it.
namespace TestKeyCheck {

// How many line numbers the warning lists at most.
inline constexpr int ListedLines = 10;

// The warning for a key with lines that set no answer (a question nobody can
// answer right), naming those lines; nothing when every line sets an answer or
// the key cannot be read (a start of the test reports that).
std::optional<QString> warning(const QString &testFileOnDisk);

} // namespace TestKeyCheck
