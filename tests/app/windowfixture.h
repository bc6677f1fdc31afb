#pragma once

#include "../table/memorytable.h"
#include "app/unit1.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <memory>
#include <optional>

namespace filmarin::testing {

// A main window in a temporary program folder, with messages recorded instead of shown
// and file dialogs answered by the test.
struct WindowFixture {
    WindowFixture() {
        QDir(programDir.path()).mkpath(QStringLiteral("VLCportable"));
        QDir(documentsDir.path()).mkpath(QStringLiteral("."));
    }

    // Places a player that reports the given version (an executable script).
    void placePlayer(const QString& version) const {
        const QString path = playerPath();
        QFile file(path);
        file.open(QIODevice::WriteOnly | QIODevice::Truncate);
        file.write("#!/bin/sh\necho \"VLC media player " + version.toUtf8() + " Vetinari\"\n");
        file.close();
        file.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    }

    QString playerPath() const {
        return QDir(programDir.path()).filePath(QStringLiteral("VLCportable/VLCportable.exe"));
    }

    TForm1& open() {
        WindowEnvironment environment;
        environment.messages = &messages;
        environment.programFolder = programDir.path() + QLatin1Char('/');
        environment.documentsFolder = documentsDir.path();
        environment.runFileDialog = [this](QFileDialog& dialog) -> std::optional<QString> {
            lastDialog = &dialog;
            return chosenFile;
        };
        window = std::make_unique<TForm1>(environment);
        return *window;
    }

    QTemporaryDir programDir;
    QTemporaryDir documentsDir;
    MemoryMessages messages;
    std::optional<QString> chosenFile;
    QFileDialog* lastDialog = nullptr;
    std::unique_ptr<TForm1> window;
};

} // namespace filmarin::testing
