#include "AnswerKeyFile.h"

#include <QByteArray>
#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

namespace {
constexpr char LineFeed = '\n';
constexpr char EndOfFileMark = 26; // Ctrl-Z
} // namespace

void AnswerKeyFile::Parser::feed(QByteArrayView bytes)
{
    for (const char byte : bytes) {
        switch (m_where) {
        case Where::End:
            return;
        case Where::LineStart:
            if (byte == EndOfFileMark) {
                m_where = Where::End;
                return;
            }
            m_where = Where::InLine;
            m_best = 0;
            [[fallthrough]];
        case Where::InLine:
            if (byte == LineFeed)
                endLine();
            else if (byte == EndOfFileMark)
                m_where = Where::RestOfLine;
            else if (byte >= 'A' && byte <= 'E')
                m_best = std::max<quint8>(m_best, quint8(byte - 'A' + 1));
            break;
        case Where::RestOfLine:
            if (byte == LineFeed)
                endLine();
            break;
        }
    }
}

void AnswerKeyFile::Parser::finish()
{
    if (m_where == Where::InLine || m_where == Where::RestOfLine)
        endLine();
    m_where = Where::End;
}

void AnswerKeyFile::Parser::endLine()
{
    ++m_lines;
    if (m_answers.size() < std::size_t(Capacity))
        m_answers.push_back(m_best);
    m_where = Where::LineStart;
}

AnswerKeyFile::ReadResult AnswerKeyFile::parse(QByteArrayView bytes)
{
    Parser parser;
    parser.feed(bytes);
    parser.finish();
    return {parser.lineCount(), parser.answers(), std::nullopt};
}

AnswerKeyFile::ReadResult AnswerKeyFile::read(const ReadChunk &source)
{
    Parser parser;
    QByteArray buffer(64 * 1024, Qt::Uninitialized);
    for (;;) {
        const qint64 got = source(buffer.data(), buffer.size());
        if (got < 0) {
            // The lines completed before the failure stay read.
            return {parser.lineCount(), parser.answers(), errorMessage(int(-got), true)};
        }
        if (got == 0)
            break;
        parser.feed(QByteArrayView(buffer.constData(), got));
    }
    parser.finish();
    return {parser.lineCount(), parser.answers(), std::nullopt};
}

AnswerKeyFile::ReadResult AnswerKeyFile::read(const QString &diskPath)
{
    const QByteArray name = QFile::encodeName(diskPath);
    const int fd = ::open(name.constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        const int code = errno;
        return {0, {}, errorMessage(code, QFileInfo(QFileInfo(diskPath).path()).isDir())};
    }
    ReadResult result = read([fd](char *buffer, qint64 size) -> qint64 {
        for (;;) {
            const ssize_t got = ::read(fd, buffer, std::size_t(size));
            if (got >= 0)
                return got;
            if (errno != EINTR)
                return -qint64(errno);
        }
    });
    ::close(fd);
    return result;
}

std::vector<int> AnswerKeyFile::linesWithoutAnswer(const std::vector<quint8> &answers)
{
    std::vector<int> lines;
    for (std::size_t i = 0; i < answers.size(); ++i) {
        if (answers[i] == 0)
            lines.push_back(int(i) + 1);
    }
    return lines;
}

QString AnswerKeyFile::errorMessage(int code, bool folderExists)
{
    switch (code) {
    case ENOENT:
        return folderExists ? QStringLiteral("File not found") : QStringLiteral("Invalid filename");
    case ENOTDIR:
    case ENAMETOOLONG:
        return QStringLiteral("Invalid filename");
    case EMFILE:
    case ENFILE:
        return QStringLiteral("Too many open files");
    case EACCES:
    case EPERM:
    case EISDIR:
        return QStringLiteral("File access denied");
    default:
        return QStringLiteral("I/O error %1").arg(code);
    }
}
