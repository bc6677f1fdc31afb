// SPDX-License-Identifier: GPL-3.0-or-later
#include "filedialog.h"

#include <QDialogButtonBox>
#include <QDir>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>

namespace filmarin {

namespace {

// How long a typed place has to say what is there.
constexpr std::chrono::seconds kLookDeadline{2};

} // namespace

FileDialog::FileDialog(QWidget* parent, Look look, std::function<void(const QString&)> tell)
    : QFileDialog(parent), m_look(std::move(look)), m_tell(std::move(tell)) {
    // The deadline of a look; its answer, when it comes first, is posted as a call.
    m_lookTimer = new QTimer(this);
    m_lookTimer->setSingleShot(true);
    m_lookTimer->setTimerType(Qt::PreciseTimer);
    connect(m_lookTimer, &QTimer::timeout, this, &FileDialog::checkLook);
    takeOverNameField();
}

QString FileDialog::notAnsweringMessage(const QString& path) {
    return QStringLiteral("Der Ort \"%1\" antwortet nicht. Bitte prüfen Sie die Verbindung "
                          "zum Laufwerk, oder wählen Sie einen anderen Ort.")
        .arg(QDir::toNativeSeparators(path));
}

void FileDialog::takeOverNameField() {
    m_name = findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
    if (!m_name)
        return; // the system's own dialog
    // No completions, and none of Qt's reactions to typing: each looks the typed path up.
    m_name->setCompleter(nullptr);
    disconnect(m_name, &QLineEdit::textChanged, this, nullptr);
    auto* buttons = findChild<QDialogButtonBox*>(QStringLiteral("buttonBox"));
    connect(m_name, &QLineEdit::textChanged, this, [this, buttons](const QString& text) {
        if (!buttons)
            return;
        for (QAbstractButton* button : buttons->buttons()) {
            if (buttons->buttonRole(button) == QDialogButtonBox::AcceptRole)
                button->setEnabled(!text.trimmed().isEmpty());
        }
    });
}

void FileDialog::accept() {
    const QString typed = m_name ? m_name->text().trimmed() : QString();
    if (m_looked || typed.isEmpty() || !m_look) {
        // A choice from the list, which Qt read away from the window's thread, or a place
        // that has just answered.
        m_looked = false;
        QFileDialog::accept();
        return;
    }
    if (m_pending)
        return; // still looking
    m_pendingPath = QDir::cleanPath(QDir(directory().absolutePath()).absoluteFilePath(typed));
    m_pending = m_look(m_pendingPath);
    if (!m_pending) {
        QFileDialog::accept();
        return;
    }
    m_until = std::chrono::steady_clock::now() + kLookDeadline;
    m_lookTimer->start(kLookDeadline);
    m_pending->whenAnswered(
        [this] { QMetaObject::invokeMethod(this, &FileDialog::checkLook, Qt::QueuedConnection); });
}

FileDialog::~FileDialog() {
    forgetLook();
}

void FileDialog::forgetLook() {
    m_lookTimer->stop();
    if (m_pending) {
        m_pending->whenAnswered({});
        m_pending.reset();
    }
}

void FileDialog::checkLook() {
    if (!m_pending)
        return;
    const bool answered = m_pending->isAnswered();
    const auto now = std::chrono::steady_clock::now();
    if (!answered && now < m_until) {
        m_lookTimer->start(std::chrono::ceil<std::chrono::milliseconds>(m_until - now));
        return;
    }
    forgetLook();
    if (!answered) {
        // Told from a copy: whatever the telling does, the dialog may be gone after it.
        if (const std::function<void(const QString&)> tell = m_tell)
            tell(notAnsweringMessage(m_pendingPath));
        return;
    }
    m_looked = true;
    accept();
}

void FileDialog::done(int result) {
    // Gone or cancelled: a look still running changes nothing.
    forgetLook();
    m_looked = false;
    QFileDialog::done(result);
}

} // namespace filmarin
