// SPDX-License-Identifier: GPL-3.0-or-later
#include "timesfile.h"

#include "codepage.h"
#include "table/tablecheck.h"
#include "table/writefailure.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <bit>
#include <cstring>

namespace filmarin {

namespace {

constexpr int kHeadingField = kMaxHeadingLength + 1;
constexpr int kLanguageField = kMaxLanguageCodeLength + 1;

void putInt32(QByteArray& out, std::int32_t value) {
    const auto u = static_cast<std::uint32_t>(value);
    for (int shift = 0; shift < 32; shift += 8)
        out += static_cast<char>((u >> shift) & 0xFF);
}

void putDouble(QByteArray& out, double value) {
    const auto bits = std::bit_cast<std::uint64_t>(value);
    for (int shift = 0; shift < 64; shift += 8)
        out += static_cast<char>((bits >> shift) & 0xFF);
}

// A length byte and the text in a field of `field` bytes, zero-filled behind it.
void putShortString(QByteArray& out, const QString& text, int field) {
    const QByteArray bytes = toWindows1252(text).left(field - 1);
    out += static_cast<char>(bytes.size());
    out += bytes;
    out += QByteArray(field - 1 - bytes.size(), '\0');
}

class Reader {
public:
    explicit Reader(const QByteArray& bytes) : m_bytes(bytes) {}
    std::uint64_t le(qsizetype offset, int size) const {
        std::uint64_t value = 0;
        for (int i = size - 1; i >= 0; --i)
            value = (value << 8) | static_cast<unsigned char>(m_bytes[offset + i]);
        return value;
    }
    std::int32_t int32(qsizetype offset) const {
        return static_cast<std::int32_t>(static_cast<std::uint32_t>(le(offset, 4)));
    }
    double real(qsizetype offset) const { return std::bit_cast<double>(le(offset, 8)); }
    std::uint8_t byte(qsizetype offset) const { return static_cast<std::uint8_t>(m_bytes[offset]); }
    // A length byte beyond its field (a damaged file) is cut to the field.
    QString shortString(qsizetype offset, int field) const {
        const int length = std::min<int>(byte(offset), field - 1);
        return fromWindows1252(m_bytes.mid(offset + 1, length));
    }

private:
    const QByteArray& m_bytes;
};

} // namespace

QByteArray encodeTimesFile(const ExcerptTable& table, std::int32_t version) {
    QByteArray out;
    out.reserve(kTimesFileSize);
    putInt32(out, version);
    for (const double v : table.startTimes)
        putDouble(out, v);
    for (const double v : table.stopTimes)
        putDouble(out, v);
    for (const std::uint8_t flag : table.playFlags)
        out += static_cast<char>(flag);
    for (const std::uint8_t flag : table.pauseFlags)
        out += static_cast<char>(flag);
    putShortString(out, table.audioLanguageCode, kLanguageField);
    for (const std::int32_t n : table.titleNumbers)
        putInt32(out, n);
    for (const QString& heading : table.headings)
        putShortString(out, heading, kHeadingField);
    return out;
}

std::optional<ExcerptTable> decodeTimesFile(const QByteArray& bytes, const ExcerptTable& current) {
    if (bytes.size() < kOldTimesFileSize)
        return std::nullopt;
    const Reader r(bytes);
    const std::int32_t version = r.int32(TimesFileOffset::Version);
    const bool complete = version >= kTimesFileVersion;
    if (complete && bytes.size() < kTimesFileSize)
        return std::nullopt;
    ExcerptTable table = current;
    for (std::size_t i = 0; i < table.startTimes.size(); ++i)
        table.startTimes[i] = r.real(TimesFileOffset::StartTimes + 8 * static_cast<qsizetype>(i));
    for (std::size_t i = 0; i < table.stopTimes.size(); ++i)
        table.stopTimes[i] = r.real(TimesFileOffset::StopTimes + 8 * static_cast<qsizetype>(i));
    for (std::size_t i = 0; i < table.playFlags.size(); ++i)
        table.playFlags[i] = r.byte(TimesFileOffset::PlayFlags + static_cast<qsizetype>(i));
    for (std::size_t i = 0; i < table.pauseFlags.size(); ++i)
        table.pauseFlags[i] = r.byte(TimesFileOffset::PauseFlags + static_cast<qsizetype>(i));
    table.audioLanguageCode = r.shortString(TimesFileOffset::LanguageCode, kLanguageField);
    if (complete) {
        for (std::size_t i = 0; i < table.titleNumbers.size(); ++i)
            table.titleNumbers[i] =
                r.int32(TimesFileOffset::TitleNumbers + 4 * static_cast<qsizetype>(i));
        for (std::size_t i = 0; i < table.headings.size(); ++i)
            table.headings[i] =
                r.shortString(TimesFileOffset::Headings + kHeadingField * static_cast<qsizetype>(i),
                              kHeadingField);
    }
    return table;
}

void resetFlags(ExcerptTable& table) {
    table.playFlags.fill(1);
    table.pauseFlags.fill(0);
}

void flagsFromLists(ExcerptTable& table, const CheckList& pauses, const CheckList& play) {
    resetFlags(table);
    for (int k = 0; k < play.count() && k < kTableRows; ++k)
        table.playFlags[static_cast<std::size_t>(k)] = play.isChecked(k) ? 1 : 0;
    for (int k = 0; k < pauses.count() && k < kTableRows; ++k)
        table.pauseFlags[static_cast<std::size_t>(k)] = pauses.isChecked(k) ? 1 : 0;
}

void flagsToLists(const ExcerptTable& table, CheckList& pauses, CheckList& play) {
    for (int k = 0; k < play.count() && k < kTableRows; ++k)
        play.setChecked(k, table.playFlags[static_cast<std::size_t>(k)] != 0);
    for (int k = 0; k < pauses.count() && k < kTableRows; ++k)
        pauses.setChecked(k, table.pauseFlags[static_cast<std::size_t>(k)] != 0);
}

QString readOnlyMediumMessage() {
    return QStringLiteral(
        "Der Datenträger ist schreibgeschützt. Bitte korrigieren Sie das Zielverzeichnis.");
}

QString saveFailedMessage(const QString& path, const QString& systemError, qint64 needed) {
    const WriteCause cause = writeFailureCause(path, systemError, needed);
    if (cause.kind == WriteFailure::ReadOnlyMedium)
        return readOnlyMediumMessage();
    return QStringLiteral("Die Datei \"%1\" kann nicht gespeichert werden. %2 Bitte korrigieren "
                          "Sie das Zielverzeichnis.")
        .arg(QDir::toNativeSeparators(path), cause.text);
}

QString cannotOpenMessage() {
    return QStringLiteral("Die Datei konnte nicht geöffnet werden.");
}

namespace {

QString notAFileReason(const QFileInfo& info) {
    return info.isDir() ? QStringLiteral("Es ist ein Ordner.")
                        : QStringLiteral("Es ist keine gewöhnliche Datei.");
}

} // namespace

bool saveTimesFile(const QString& path, TimesFileContext& context) {
    if (!checkTable(context.table, context.view))
        return false;
    computeSpans(context.table, context.spans, context.view.play);
    writeTableToGrids(context.table, context.view);
    if (context.repaintMarks)
        context.repaintMarks();
    flagsFromLists(context.table, context.view.pauses, context.view.play);
    if (context.languageCodeFromMenu)
        context.languageCodeFromMenu();

    // A named pipe or a device is not written to: it would wait for a reader without end.
    // A folder of that name is not replaced.
    const QFileInfo target(path);
    if (target.exists() && !target.isFile()) {
        context.view.messages.showMessage(
            QStringLiteral("Fehler"),
            QStringLiteral("Die Datei \"%1\" kann nicht gespeichert werden. %2 Bitte wählen Sie "
                           "einen anderen Namen.")
                .arg(QDir::toNativeSeparators(path), notAFileReason(target)),
            MessageIcon::Information);
        return false;
    }
    const QByteArray image = encodeTimesFile(context.table);
    // Written beside the target and put in its place only when complete.
    QSaveFile file(path);
    const bool written =
        file.open(QIODevice::WriteOnly) && file.write(image) == image.size() && file.commit();
    if (!written) {
        const QString systemError = file.errorString();
        file.cancelWriting();
        context.view.messages.showMessage(QStringLiteral("Fehler"),
                                          saveFailedMessage(path, systemError, image.size()),
                                          MessageIcon::Information);
        return false;
    }
    // The file holds each heading in single bytes of code page 1252, as files from and for
    // other installations expect. A heading that lost characters on the way is named, so
    // that nothing changes unseen; the file is saved all the same.
    const std::vector<int> changed = headingsChangedBySaving(context.table, image);
    if (!changed.empty())
        context.view.messages.showMessage(QStringLiteral("Information"),
                                          changedHeadingsMessage(changed),
                                          MessageIcon::Information);
    return true;
}

std::vector<int> headingsChangedBySaving(const ExcerptTable& table, const QByteArray& image) {
    std::vector<int> changed;
    const std::optional<ExcerptTable> saved = decodeTimesFile(image, table);
    for (int n = 1; n <= kExcerptCount; ++n) {
        const std::size_t i = static_cast<std::size_t>(cellIndex(1, n));
        if (!saved || saved->headings[i] != table.headings[i])
            changed.push_back(n);
    }
    return changed;
}

QString changedHeadingsMessage(const std::vector<int>& excerpts) {
    QStringList numbers;
    for (int n : excerpts)
        numbers << QString::number(n);
    const QString saved = QStringLiteral("Die Zeiten wurden gespeichert. ");
    const QString why = QStringLiteral(
        "Zeichen, die eine Zeitendatei nicht aufnehmen kann: In der Datei stehen dafür "
        "Fragezeichen (?)");
    if (numbers.size() == 1)
        return saved +
               QStringLiteral("Die Überschrift von Ausschnitt %1 enthält ").arg(numbers[0]) + why +
               QStringLiteral(", oder sie ist gekürzt. So erscheint sie auch beim Öffnen "
                              "der Datei.");
    const QString list = numbers.mid(0, numbers.size() - 1).join(QStringLiteral(", ")) +
                         QStringLiteral(" und ") + numbers.constLast();
    return saved + QStringLiteral("Die Überschriften der Ausschnitte %1 enthalten ").arg(list) +
           why +
           QStringLiteral(", oder sie sind gekürzt. So erscheinen sie auch beim Öffnen "
                          "der Datei.");
}

bool loadTimesFile(const QString& path, TimesFileContext& context) {
    const auto error = [&](const QString& text) {
        context.view.messages.showMessage(QStringLiteral("Fehler"), text, MessageIcon::Information);
        return false;
    };
    const QFileInfo info(path);
    if (path.isEmpty() || !info.exists())
        return error(cannotOpenMessage());
    // Only a regular file is read: opening a named pipe would wait for a writer, and a
    // device could be read without end.
    if (!info.isFile())
        return error(QStringLiteral("Die Datei \"%1\" konnte nicht geöffnet werden. %2")
                         .arg(QDir::toNativeSeparators(path), notAFileReason(info)));
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return error(QStringLiteral("Die Datei \"%1\" konnte nicht geöffnet werden. %2")
                         .arg(QDir::toNativeSeparators(path), file.errorString()));
    // Whatever follows the last block is not read.
    const QByteArray bytes = file.read(kTimesFileSize);
    if (file.error() != QFileDevice::NoError)
        return error(QStringLiteral("Die Datei \"%1\" konnte nicht gelesen werden. %2")
                         .arg(QDir::toNativeSeparators(path), file.errorString()));
    const std::optional<ExcerptTable> loaded = decodeTimesFile(bytes, context.table);
    if (!loaded)
        return error(QStringLiteral("Die Datei \"%1\" ist keine vollständige Zeitendatei: sie ist "
                                    "zu kurz. Die Tabelle bleibt unverändert.")
                         .arg(QDir::toNativeSeparators(path)));
    context.table = *loaded;
    flagsToLists(context.table, context.view.pauses, context.view.play);
    writeTableToGrids(context.table, context.view);
    if (context.refreshTotals)
        context.refreshTotals();
    if (context.menuFromLanguageCode)
        context.menuFromLanguageCode();
    return true;
}

} // namespace filmarin
