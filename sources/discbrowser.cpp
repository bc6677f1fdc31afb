// SPDX-License-Identifier: GPL-3.0-or-later
#include "discbrowser.h"

#include "mediasource.h"
#include "table/textops.h"

#include <set>

namespace filmarin {

namespace {

void setWhenDifferent(DriveListView& view, int row, int subItem, const QString& text) {
    if (!equalsIgnoreCase(view.cell(row, subItem), text))
        view.setCell(row, subItem, text);
}

void showWarning(MessageSink& messages, const QString& text) {
    messages.showMessage(QStringLiteral("Information"), text, MessageIcon::Warning);
}

// For what a drive's answer brings: nothing waits for the user to read it.
void postWarning(MessageSink& messages, const QString& text) {
    messages.postMessage(QStringLiteral("Information"), text, MessageIcon::Warning);
}

} // namespace

bool applyDriveSurvey(DriveListView& view, const DriveSurvey& survey, DiscBrowserState& state) {
    for (const SurveyedDrive& drive : survey.drives) {
        int found = -1;
        for (int row = 0; row < view.rowCount(); ++row) {
            if (view.key(row) == drive.key) {
                found = row;
                break;
            }
        }
        if (found >= 0 && drive.kept)
            continue;
        if (found >= 0) {
            if (!equalsIgnoreCase(view.caption(found), drive.caption))
                view.setCaption(found, drive.caption);
            if (view.kind(found) != drive.kind || view.ready(found) != drive.ready)
                view.setFacts(found, drive.kind, drive.ready);
            setWhenDifferent(view, found, 0, drive.typeText);
            setWhenDifferent(view, found, 1, drive.label);
            setWhenDifferent(view, found, 2, drive.status);
        } else {
            view.appendRow(drive);
        }
    }
    if (!survey.ok)
        return false;
    std::set<QString> present;
    for (const SurveyedDrive& drive : survey.drives)
        present.insert(drive.key);
    bool removed = true;
    while (removed) {
        removed = false;
        for (int row = 0; row < view.rowCount(); ++row) {
            if (present.count(view.key(row)) == 0) {
                view.removeRow(row);
                // OK keeps working on the row the user chose.
                if (row < state.currentRow)
                    --state.currentRow;
                else if (row == state.currentRow)
                    state.currentRow = -1;
                removed = true;
                break;
            }
        }
    }
    return true;
}

bool rowIsReady(const DriveListView& view, int row) {
    return row >= 0 && row < view.rowCount() && view.ready(row);
}

std::optional<int> findDiscRow(const DriveListView& view) {
    std::optional<int> candidate;
    for (int row = 0; row < view.rowCount(); ++row) {
        if (view.kind(row) != DriveKind::Disc)
            continue;
        candidate = row;
        if (rowIsReady(view, row))
            return row;
    }
    return candidate;
}

void autoSelectDisc(DriveListView& view, DiscBrowserState& state) {
    if (const std::optional<int> row = findDiscRow(view)) {
        state.currentRow = *row;
        view.selectRow(*row);
    }
}

QString selectedDriveText(const DriveListView& view, const DiscBrowserState& state) {
    if (state.currentRow < 0 || state.currentRow >= view.rowCount())
        return {};
    return view.caption(state.currentRow);
}

namespace {

// The last `parts` parts of a path, or the whole path when it has no more.
QString lastParts(const QString& path, int parts) {
    const QStringList all = path.split(QLatin1Char('/'), Qt::SkipEmptyParts);
    if (parts >= all.size())
        return path;
    return all.mid(all.size() - parts).join(QLatin1Char('/'));
}

bool standsWhole(const QString& caption) {
    return !caption.contains(QLatin1Char('/')) || caption == QStringLiteral("/") ||
           caption.startsWith(QStringLiteral("/dev/"));
}

} // namespace

QStringList shownDriveNames(const QStringList& captions) {
    QStringList shown;
    for (const QString& caption : captions) {
        if (standsWhole(caption)) {
            shown << caption;
            continue;
        }
        QString name;
        for (int parts = 1;; ++parts) {
            name = lastParts(caption, parts);
            if (name == caption)
                break;
            bool clash = false;
            for (const QString& other : captions) {
                if (other != caption && !standsWhole(other) && lastParts(other, parts) == name)
                    clash = true;
            }
            if (!clash)
                break;
        }
        shown << name;
    }
    return shown;
}

QString notReadyMessage(const QString& drive) {
    return QStringLiteral("Laufwerk ") + drive + QStringLiteral(" nicht bereit.") +
           QStringLiteral(" Wählen Sie das geeignete Laufwerk aus, oder warten Sie, bis die "
                          "eingelegte CD/DVD bereit ist. Versuchen Sie es dann erneut.");
}

QString noContentMessage(const QString& drive) {
    return QStringLiteral("In Laufwerk ") + drive +
           QStringLiteral(" befindet sich keine Video-DVD, keine Video-CD (VCD oder SVCD),") +
           QStringLiteral(" und keine Audio-CD. Falls Sie eine sonstige Video-Datei abspielen "
                          "möchten, öffnen Sie bitte die Datei im Menü \"Video-Datei öffnen\".");
}

QString noDriveChosenMessage() {
    return QStringLiteral("Bitte wählen Sie ein Laufwerk aus der Liste aus.");
}

bool checkDriveReady(const DriveListView& view, const DiscBrowserState& state,
                     MessageSink& messages) {
    if (state.currentRow < 0 || state.currentRow >= view.rowCount()) {
        showWarning(messages, noDriveChosenMessage());
        return false;
    }
    if (rowIsReady(view, state.currentRow))
        return true;
    showWarning(messages, notReadyMessage(selectedDriveText(view, state)));
    return false;
}

std::optional<ContentCheck> startContentCheck(DriveQuestions& questions, const DriveListView& view,
                                              const DiscBrowserState& state,
                                              std::chrono::milliseconds deadline) {
    if (state.currentRow < 0 || state.currentRow >= view.rowCount())
        return std::nullopt;
    ContentCheck check;
    check.drive = selectedDriveText(view, state);
    check.key = view.key(state.currentRow);
    check.until = std::chrono::steady_clock::now() + deadline;
    const QString root = check.drive;
    check.answer =
        questions.ask<SourceKind>(check.key, contentTopic(),
                                  [root](DriveSystem& drives) { return drives.discContent(root); });
    if (!check.answer)
        return std::nullopt;
    return check;
}

std::optional<SourceKind> finishContentCheck(const ContentCheck& check, MessageSink& messages,
                                             std::chrono::steady_clock::time_point now) {
    const bool answered = check.answer->isAnswered();
    if (!answered && now < check.until)
        return std::nullopt;
    // A drive that has not said what it holds in time is not ready.
    if (!answered) {
        postWarning(messages, notReadyMessage(check.drive));
        return SourceKind::None;
    }
    const SourceKind kind = check.answer->failed ? SourceKind::None : check.answer->value;
    if (kind == SourceKind::None)
        postWarning(messages, noContentMessage(check.drive));
    return kind;
}

} // namespace filmarin
