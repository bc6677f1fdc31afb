// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "sources/drives.h"
#include "sources/ownthread.h"

#include <QFileDialog>
#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>

class QLineEdit;
class QTimer;

namespace filmarin {

// Qt's file dialog, made so that a network share which does not answer never freezes the
// window. Where Qt draws the dialog itself (Linux; on Windows the system's dialog is used),
// it would look up every path typed into the file name field on the window's thread: as
// completions, for the OK button, and on OK. Here nothing is looked up while typing, and on
// OK the typed path is looked up on another thread first (`look`); a place that has not
// answered by the deadline is named in a message, and the dialog stays.
class FileDialog : public QFileDialog {
    Q_OBJECT
public:
    // Looks up a path away from the window's thread: 0 nothing there, 1 a file, 2 a folder.
    using Look = std::function<std::shared_ptr<PendingAnswer<PathKind>>(const QString& path)>;

    FileDialog(QWidget* parent, Look look, std::function<void(const QString&)> tell);
    ~FileDialog() override;

    // A place that has not said what is there.
    static QString notAnsweringMessage(const QString& path);

public slots:
    void accept() override;
    void done(int result) override;

private:
    void takeOverNameField();
    void checkLook();
    void forgetLook();

    Look m_look;
    std::function<void(const QString&)> m_tell;
    QLineEdit* m_name = nullptr;
    QTimer* m_lookTimer;
    std::shared_ptr<PendingAnswer<PathKind>> m_pending;
    QString m_pendingPath;
    std::chrono::steady_clock::time_point m_until;
    bool m_looked = false;
};

} // namespace filmarin
