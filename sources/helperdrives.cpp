// SPDX-License-Identifier: GPL-3.0-or-later
#include "helperdrives.h"

#include "platform/helper.h"

#include <algorithm>
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
constexpr char kTitles = 'N';
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
    case kTitles:
        return encodeDiscTitles(drives.discTitles(argument));
    default:
        throw std::runtime_error("unknown question");
    }
}

// The fields of an answer, taken one after the other.
class Fields {
public:
    explicit Fields(const std::string& text) : m_fields(parts(text)) {}
    const std::string& next() {
        if (m_next >= m_fields.size())
            throw std::runtime_error("an answer cut short");
        return m_fields[m_next++];
    }
    std::int64_t number(std::int64_t most) {
        const std::string& text = next();
        std::size_t used = 0;
        const long long value = std::stoll(text, &used);
        if (used != text.size() || value < 0 || value > most)
            throw std::runtime_error("a number out of range");
        return value;
    }
    QString language() {
        const std::string& code = next();
        const bool letters =
            std::all_of(code.begin(), code.end(), [](char c) { return c >= 'a' && c <= 'z'; });
        if (!letters || (code.size() != 0 && code.size() != 2))
            throw std::runtime_error("not a language code");
        return fromUtf8(code);
    }
    bool done() const { return m_next == m_fields.size(); }

private:
    std::vector<std::string> m_fields;
    std::size_t m_next = 0;
};

// Longer than the navigation tables can make a title, whatever they hold.
constexpr std::int64_t kLongestMs = 1'000'000'000'000'000;

void addField(std::string& text, const std::string& field) {
    text += field;
    text += kSeparator;
}

void addNumber(std::string& text, std::int64_t value) {
    addField(text, std::to_string(value));
}

void addLanguages(std::string& text, const QStringList& codes) {
    addNumber(text, codes.size());
    for (const QString& code : codes)
        addField(text, utf8(code));
}

QStringList languages(Fields& fields, std::int64_t most) {
    QStringList codes;
    const std::int64_t count = fields.number(most);
    for (std::int64_t i = 0; i < count; ++i)
        codes << fields.language();
    return codes;
}

} // namespace

std::string encodeDiscTitles(const std::vector<DiscTitle>& titles) {
    std::string text;
    addNumber(text, static_cast<std::int64_t>(titles.size()));
    for (const DiscTitle& title : titles) {
        addNumber(text, title.number);
        addNumber(text, title.lengthMs);
        addNumber(text, static_cast<std::int64_t>(title.chapters.size()));
        for (const DiscChapter& chapter : title.chapters) {
            addNumber(text, chapter.startMs);
            addNumber(text, chapter.lengthMs);
        }
        addLanguages(text, title.audioLanguages);
        addLanguages(text, title.subtitleLanguages);
    }
    return text;
}

std::vector<DiscTitle> decodeDiscTitles(const std::string& text) {
    Fields fields(text);
    std::vector<DiscTitle> titles(static_cast<std::size_t>(fields.number(kMostDiscTitles)));
    for (DiscTitle& title : titles) {
        title.number = static_cast<std::int32_t>(fields.number(kMostDiscTitles));
        title.lengthMs = fields.number(kLongestMs);
        title.chapters.resize(static_cast<std::size_t>(fields.number(kMostTitleChapters)));
        for (DiscChapter& chapter : title.chapters) {
            chapter.startMs = fields.number(kLongestMs);
            chapter.lengthMs = fields.number(kLongestMs);
        }
        title.audioLanguages = languages(fields, 8);
        title.subtitleLanguages = languages(fields, 32);
    }
    if (!fields.done())
        throw std::runtime_error("an answer too long");
    return titles;
}

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

std::string HelperDrives::ask(char what, const QString& argument, bool hereToo) {
    std::string question(1, what);
    question += kSeparator;
    question += utf8(argument);
    std::optional<std::string> answer = m_helper->ask(question);
    // A helper that has gone (ended by the user or the system) leaves the questions to the
    // program itself: the drives are still listed, though a share that hangs may then hold up
    // the question's thread.
    if (!answer && hereToo)
        answer = answerDriveQuestion(*m_here, question);
    if (!answer)
        throw std::runtime_error("the helper has gone");
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

std::vector<DiscTitle> HelperDrives::discTitles(const QString& root) {
    return decodeDiscTitles(ask(kTitles, root, false));
}

} // namespace filmarin
