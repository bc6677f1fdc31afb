// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "../sources/fakedrives.h"
#include "../table/memorytable.h"
#include "app/dialogweiter.h"
#include "app/laufwerk_oeffnen.h"
#include "app/program.h"
#include "app/unit1.h"

#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <functional>
#include <memory>
#include <optional>

namespace filmarin::testing {

// Records messages as MemoryMessages does; a shown message runs an event loop of its own
// until it is dismissed, as a real box's exec does, and `whileShown` runs inside that loop:
// what a user or the system may do while a box is open. A posted message runs no loop.
class LoopingMessages : public MemoryMessages {
public:
    void showMessage(const QString& caption, const QString& text, MessageIcon icon) override {
        MemoryMessages::showMessage(caption, text, icon);
        QEventLoop loop;
        QTimer::singleShot(0, &loop, [this, &loop] {
            if (const std::function<void()> act = whileShown)
                act();
            loop.quit();
        });
        loop.exec();
    }
    void postMessage(const QString& caption, const QString& text, MessageIcon icon) override {
        MemoryMessages::postMessage(caption, text, icon);
        posted << text;
    }
    std::function<void()> whileShown;
    QStringList posted; // the texts of the posted messages
};

// A main window in a temporary program folder, with messages recorded instead of shown
// and file dialogs answered by the test.
struct WindowFixture {
    // The stand-in player is in place, so that the player check after start-up, which comes
    // sooner or later depending on the machine, shows no message.
    // `folderName`, when given, is the name of the program folder and, with " Dokumente"
    // after it, of the documents folder, each inside a temporary folder.
    explicit WindowFixture(const QString& folderName = QString())
        : programRoot(folderName.isEmpty() ? programDir.path()
                                           : programDir.path() + QLatin1Char('/') + folderName),
          documentsRoot(folderName.isEmpty() ? documentsDir.path()
                                             : documentsDir.path() + QLatin1Char('/') + folderName +
                                                   QStringLiteral(" Dokumente")) {
        QDir().mkpath(programRoot + QStringLiteral("/VLCportable"));
        QDir().mkpath(documentsRoot);
        placeStandInPlayer();
    }

    // Places a player that reports the given version: on Windows a stand-in with that
    // version resource, elsewhere an executable script.
    void placePlayer(const QString& version) const {
        const QString path = playerPath();
#ifdef _WIN32
        QFile::remove(path);
        QFile::copy(QStringLiteral(FILMARIN_STANDIN_PLAYER_DIR "/standin_player_") + version +
                        QStringLiteral(".exe"),
                    path);
        return;
#endif
        QFile file(path);
        file.open(QIODevice::WriteOnly | QIODevice::Truncate);
        file.write("#!/bin/sh\necho \"VLC media player " + version.toUtf8() + " Vetinari\"\n");
        file.close();
        file.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                            QFileDevice::ExeOwner);
    }

    // Places the stand-in player that records its calls in calls.txt beside it.
    void placeStandInPlayer(int delayMs = 0, const QString& version = QString()) const {
        QFile::remove(playerPath());
        QFile::copy(QStringLiteral(FILMARIN_STANDIN_PLAYER), playerPath());
        writePlayerFile(QStringLiteral("delay.txt"), QString::number(delayMs));
        if (!version.isEmpty())
            writePlayerFile(QStringLiteral("version.txt"), version);
    }

    void writePlayerFile(const QString& name, const QString& text) const {
        QFile file(QDir(programRoot).filePath(QStringLiteral("VLCportable/") + name));
        file.open(QIODevice::WriteOnly | QIODevice::Truncate);
        file.write(text.toUtf8());
    }

    // One entry per start of the stand-in: the folder it ran in and its arguments.
    struct PlayerCall {
        QString folder;
        qint64 pid = 0;
        QString line; // the command line as it came (Windows only)
        QStringList arguments;
    };
    QList<PlayerCall> playerCalls() const {
        QList<PlayerCall> calls;
        QFile file(QDir(programRoot).filePath(QStringLiteral("VLCportable/calls.txt")));
        if (!file.open(QIODevice::ReadOnly))
            return calls;
        PlayerCall call;
        for (const QByteArray& raw : file.readAll().split('\n')) {
            const QString line = QString::fromUtf8(raw);
            if (line.startsWith(QStringLiteral("cwd ")))
                call.folder = line.mid(4);
            else if (line.startsWith(QStringLiteral("pid ")))
                call.pid = line.mid(4).toLongLong();
            else if (line.startsWith(QStringLiteral("line ")))
                call.line = line.mid(5);
            else if (line.startsWith(QStringLiteral("arg ")))
                call.arguments << line.mid(4);
            else if (line == QStringLiteral("end")) {
                calls << call;
                call = PlayerCall{};
            }
        }
        return calls;
    }

    QString playerPath() const {
        return native(programRoot + QStringLiteral("/VLCportable/VLCportable.exe"));
    }
    // A path as the system writes it (backslashes on Windows), as file dialogs give them.
    static QString native(const QString& path) {
        return QDir::toNativeSeparators(path);
    }

    // With `waitForDrives`, returns once the disc browser has its first list of the drives;
    // without, at once, before any timer of the window has ticked.
    TForm1& open(bool waitForDrives = true) {
        WindowEnvironment environment;
        if (!boxes)
            environment.messages = &messages;
        environment.programFolder = native(programRoot + QLatin1Char('/'));
        environment.documentsFolder = native(documentsRoot);
        environment.runFileDialog = [this](QFileDialog& dialog) -> std::optional<QString> {
            lastDialog = &dialog;
            return chosenFile;
        };
        program = std::make_unique<Program>(environment, drives);
        window = &program->mainWindow();
        pauseDialog = &program->pauseDialog();
        discBrowser = &program->discBrowser();
        // The drives are asked on a worker thread; the list comes soon after.
        if (waitForDrives && !QTest::qWaitFor([this] { return discBrowser->surveyed(); }, 5000))
            qWarning("The disc browser got no survey of the drives within 5 s.");
        return *window;
    }

    QTemporaryDir programDir;
    QTemporaryDir documentsDir;
    QString programRoot;   // the program folder
    QString documentsRoot; // the documents folder
    LoopingMessages messages;
    bool boxes = false; // the window shows real message boxes instead of recording them
    std::optional<QString> chosenFile;
    QFileDialog* lastDialog = nullptr;
    // Shared with the questions to them, which may outlive the fixture.
    std::shared_ptr<FakeDrives> drives = std::make_shared<FakeDrives>();
    std::unique_ptr<Program> program;
    TForm1* window = nullptr;
    TDialogWeiter_Form* pauseDialog = nullptr;
    TDVD_CD_oeffnen* discBrowser = nullptr;
};

} // namespace filmarin::testing
