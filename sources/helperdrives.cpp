// SPDX-License-Identifier: GPL-3.0-or-later
#include "helperdrives.h"

#include "platform/helper.h"

#include <stdexcept>

namespace filmarin {

namespace {

// A question is one letter, a zero byte and the drive's key or root in UTF-8. An answer is
// "+" and the result, or "!" when asking threw; the parts of a result are ended by zero
// bytes.
constexpr char kList = 'L';
constexpr char kType = 'T';
constexpr char kLabel = 'V';
constexpr char kReady = 'R';
constexpr char kCaption = 'C';
constexpr char kContent = 'D';
constexpr char kPath = 'P';
constexpr char kSeparator = '\0';

std::string utf8(const QString& text) {
    return text.toStdString();
}

QString fromUtf8(const std::string& text) {
    return QString::fromStdString(text);
}

std::vector<std::string> parts(const std::string& result) {
    std::vector<std::string> split;
    std::size_t start = 0;
    while (start < result.size()) {
        const std::size_t end = result.find(kSeparator, start);
        if (end == std::string::npos) {
            split.push_back(result.substr(start));
            break;
        }
        split.push_back(result.substr(start, end - start));
        start = end + 1;
    }
    return split;
}

long number(const std::string& text) {
    std::size_t used = 0;
    const long value = std::stol(text, &used);
    if (used != text.size())
        throw std::runtime_error("not a number");
    return value;
}

std::string result(DriveSystem& drives, char what, const QString& argument) {
    switch (what) {
    case kList: {
        std::string text;
        for (const DriveEntry& entry : drives.listDrives()) {
            text += utf8(entry.key) + kSeparator + utf8(entry.root) + kSeparator +
                    std::to_string(entry.type) + kSeparator;
        }
        return text;
    }
    case kType:
        return std::to_string(drives.driveType(argument));
    case kLabel: {
        QString label;
        const bool ok = drives.volumeLabel(argument, label);
        return std::string(ok ? "1" : "0") + kSeparator + utf8(label);
    }
    case kReady:
        return drives.driveReady(argument) ? "1" : "0";
    case kCaption:
        return utf8(drives.caption(argument));
    case kContent:
        return std::to_string(sourceKindCode(drives.discContent(argument)));
    case kPath:
        return std::to_string(static_cast<std::int32_t>(drives.pathKind(argument)));
    default:
        throw std::runtime_error("unknown question");
    }
}

} // namespace

std::shared_ptr<DriveSystem> startDriveHelper() {
    auto system = std::make_shared<SystemDrives>();
    std::shared_ptr<platform::Helper> helper = platform::startHelper(
        [system](const std::string& question) { return answerDriveQuestion(*system, question); });
    if (!helper)
        return system;
    return std::make_shared<HelperDrives>(std::move(helper), system);
}

std::string answerDriveQuestion(DriveSystem& drives, const std::string& question) {
    if (question.size() < 2 || question[1] != kSeparator)
        return "!";
    try {
        std::string answer(1, '+');
        answer += result(drives, question[0], fromUtf8(question.substr(2)));
        return answer;
    } catch (...) {
        return "!";
    }
}

HelperDrives::HelperDrives(std::shared_ptr<platform::Helper> helper,
                           std::shared_ptr<DriveSystem> here)
    : m_helper(std::move(helper)), m_here(std::move(here)) {}

std::string HelperDrives::ask(char what, const QString& argument) {
    std::string question(1, what);
    question += kSeparator;
    question += utf8(argument);
    std::optional<std::string> answer = m_helper->ask(question);
    // A helper that has gone (ended by the user or the system) leaves the questions to the
    // program itself: the drives are still listed, though a share that hangs may then hold up
    // the question's thread.
    if (!answer)
        answer = answerDriveQuestion(*m_here, question);
    if (answer->empty() || (*answer)[0] != '+')
        throw std::runtime_error("the drive could not be asked");
    return answer->substr(1);
}

std::vector<DriveEntry> HelperDrives::listDrives() {
    const std::vector<std::string> fields = parts(ask(kList, QString()));
    if (fields.size() % 3 != 0)
        throw std::runtime_error("a broken drive list");
    std::vector<DriveEntry> entries;
    for (std::size_t i = 0; i < fields.size(); i += 3) {
        const long type = number(fields[i + 2]);
        if (type < 0 || type > 255)
            throw std::runtime_error("a broken drive list");
        entries.push_back(
            {fromUtf8(fields[i]), fromUtf8(fields[i + 1]), static_cast<std::uint8_t>(type)});
    }
    return entries;
}

std::uint8_t HelperDrives::driveType(const QString& key) {
    const long type = number(ask(kType, key));
    if (type < 0 || type > 255)
        throw std::runtime_error("a broken drive type");
    return static_cast<std::uint8_t>(type);
}

bool HelperDrives::volumeLabel(const QString& key, QString& label) {
    const std::string text = ask(kLabel, key);
    if (text.size() < 2 || text[1] != kSeparator)
        throw std::runtime_error("a broken label");
    label = fromUtf8(text.substr(2));
    return text[0] == '1';
}

bool HelperDrives::driveReady(const QString& key) {
    return ask(kReady, key) == "1";
}

QString HelperDrives::caption(const QString& key) {
    return m_here->caption(key);
}

SourceKind HelperDrives::discContent(const QString& root) {
    return sourceKindFromCode(number(ask(kContent, root)));
}

PathKind HelperDrives::pathKind(const QString& path) {
    switch (number(ask(kPath, path))) {
    case static_cast<long>(PathKind::File):
        return PathKind::File;
    case static_cast<long>(PathKind::Folder):
        return PathKind::Folder;
    default:
        return PathKind::Nothing;
    }
}

} // namespace filmarin
