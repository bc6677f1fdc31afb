// SPDX-License-Identifier: GPL-3.0-or-later
#include "dvdreader.h"

#include "dvdtables.h"
#include "helperdrives.h"
#include "platform/folders.h"
#include "platform/process.h"
#include "platformtext/platformtext.h"

#include <QDir>
#include <QFile>
#include <QStringList>
#include <QTemporaryFile>
#include <stdexcept>

namespace filmarin {

QString discReaderPath() {
    return fromPlatform(platform::programFolder()) + QStringLiteral(FILMARIN_DISC_READER);
}

std::string quotedArgument(const std::string& text) {
    std::string quoted(1, '"');
    std::size_t backslashes = 0;
    for (const char c : text) {
        if (c == '\\') {
            ++backslashes;
            continue;
        }
        // Backslashes before a quote are doubled, and the quote is escaped; others stand.
        quoted.append(c == '"' ? backslashes * 2 + 1 : backslashes, '\\');
        quoted += c;
        backslashes = 0;
    }
    // Before the closing quote, too.
    quoted.append(backslashes * 2, '\\');
    quoted += '"';
    return quoted;
}

std::vector<DiscTitle> readDiscTitlesApart(const QString& reader, const QString& root,
                                           std::chrono::milliseconds longest) {
    QTemporaryFile answer(QDir::tempPath() + QStringLiteral("/filmarin-dvdtitel-XXXXXX"));
    if (!answer.open())
        throw std::runtime_error("no file for the reader's answer");
    answer.close();
    const std::string parameters =
        quotedArgument(toPlatform(root)) + ' ' + quotedArgument(toPlatform(answer.fileName()));
    const std::unique_ptr<platform::StartedProgram> started =
        platform::startProgram(platform::Priority::Normal, toPlatform(reader), parameters,
                               std::string(), platform::Output::Discarded);
    if (!started)
        throw std::runtime_error("the disc reader could not be started");
    if (!started->waitForEnd(static_cast<int>(longest.count()))) {
        started->terminate();
        throw std::runtime_error("the disc reader did not end");
    }
    QFile written(answer.fileName());
    if (!written.open(QIODevice::ReadOnly))
        throw std::runtime_error("the disc reader gave no answer");
    const QByteArray text = written.readAll();
    // It writes its answer only when it has read the disc: nothing, the disc could not be.
    if (text.isEmpty())
        throw std::runtime_error("the disc could not be read");
    return decodeDiscTitles(text.toStdString());
}

int discReaderMain(const QStringList& arguments) {
    if (arguments.size() != 3)
        return 2;
    std::string answer;
    try {
        answer = encodeDiscTitles(readDiscTitles(arguments[1]));
    } catch (...) {
        return 1;
    }
    QFile file(arguments[2]);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return 1;
    const qint64 size = static_cast<qint64>(answer.size());
    return file.write(answer.data(), size) == size && file.flush() ? 0 : 1;
}

} // namespace filmarin
