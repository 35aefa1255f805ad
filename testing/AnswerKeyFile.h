#pragma once

#include <QByteArrayView>
#include <QString>

#include <functional>
#include <optional>
#include <vector>

// The answer key of a test folder, otwet.txt, read byte by byte. Line i holds
// the right answer of question i: the latest in the alphabet of the Latin
// capitals A to E found in the line (A = 1 ... E = 5), or 0 when it holds none,
// which leaves that entry of the key as it was. A line ends at LF; a CR is never
// part of a line's text. A Ctrl-Z at the start of a line ends the file, inside a
// line it ends the line's text. A line break at the very end starts no new line.
class AnswerKeyFile final
{
public:
    // The key holds the answers of questions 1 to Capacity.
    static constexpr int Capacity = 1000;

    // Reads a key fed in pieces of any size.
    class Parser final
    {
    public:
        void feed(QByteArrayView bytes);
        // The data has ended: a last line without a line break counts.
        void finish();

        // The lines completed so far, all of them counted.
        int lineCount() const { return m_lines; }
        // The answer of each completed line, 0 for none, for the first Capacity lines.
        const std::vector<quint8> &answers() const { return m_answers; }

    private:
        void endLine();

        enum class Where { LineStart, InLine, RestOfLine, End };
        Where m_where = Where::LineStart;
        quint8 m_best = 0;
        int m_lines = 0;
        std::vector<quint8> m_answers;
    };

    struct ReadResult
    {
        int lineCount = 0;
        std::vector<quint8> answers; // as Parser::answers(); on an error, the lines read before it
        std::optional<QString> error;
    };

    // A source of bytes: fills the buffer and returns the count, 0 at the end,
    // or minus the system's error code on a failure.
    using ReadChunk = std::function<qint64(char *buffer, qint64 size)>;

    static ReadResult parse(QByteArrayView bytes);
    static ReadResult read(const ReadChunk &source);
    // Reads the file at a path on disk (as LessonPaths::toDisk gives it).
    static ReadResult read(const QString &diskPath);

    // The lines (numbered from 1) that set no answer, given the answers of a
    // read key: a teacher typing Cyrillic look-alikes of A to E leaves them so.
    static std::vector<int> linesWithoutAnswer(const std::vector<quint8> &answers);

    // The message for a system error code met while opening or reading the key;
    // folderExists tells a missing file from a missing folder.
    static QString errorMessage(int code, bool folderExists);
};
