// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "sources/discbrowser.h"

#include <QDialog>
#include <memory>
#include <optional>

class QFrame;
class QPushButton;
class QTimer;
class QTreeWidget;

namespace filmarin {

// The disc browser "Video-DVD/CD öffnen": the drives with type, label and readiness, kept
// current by two timers that switch each other on.
class TDVD_CD_oeffnen : public QDialog, public DriveListView {
    Q_OBJECT
public:
    // The drives are asked on threads of their own through `questions`.
    TDVD_CD_oeffnen(QWidget* mainWindow, std::shared_ptr<DriveQuestions> questions,
                    MessageSink& messages);
    ~TDVD_CD_oeffnen() override;

    QTreeWidget* ListView1;
    QTimer* Timer1;
    QTimer* Timer2;
    QFrame* Panel1;
    QPushButton* Button1;

    const DiscBrowserState& state() const { return m_state; }
    // OK waits for the chosen drive to say what it holds.
    bool checking() const { return m_check.has_value(); }
    // The first survey of the drives has been shown.
    bool surveyed() const { return m_preselected; }

    // DriveListView
    int rowCount() const override;
    QString key(int row) const override;
    QString caption(int row) const override;
    void setCaption(int row, const QString& caption) override;
    DriveKind kind(int row) const override;
    bool ready(int row) const override;
    void setFacts(int row, DriveKind kind, bool ready) override;
    QString cell(int row, int subItem) const override;
    void setCell(int row, int subItem, const QString& text) override;
    void appendRow(const SurveyedDrive& drive) override;
    void removeRow(int row) override;
    void selectRow(int row) override;

signals:
    // OK found a disc it can play: the drive as the browser names it and its content
    // (1 video DVD, 2 VCD, 3 SVCD, 4 audio CD). The browser then closes.
    void discChosen(const QString& drive, SourceKind kind);
    // The browser has closed, after OK or without a choice.
    void closed();

public slots:
    void Timer1Timer();
    void Timer2Timer();
    void Button1Click();
    void reject() override;
    void setVisible(bool visible) override;

protected:
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void FormCreate();
    void arrange();
    void showDriveNames();
    // A survey of the drives has come from the worker.
    void takeSurvey(const DriveSurvey& survey);
    // Looks whether the drive OK looks into has answered.
    void checkContent();
    // Gives up OK's look into the drive: its answer changes nothing.
    void cancelCheck();

    MessageSink& m_messages;
    std::shared_ptr<DriveQuestions> m_questions;
    std::unique_ptr<DriveWatcher> m_watcher;
    std::optional<ContentCheck> m_check;
    QTimer* m_checkTimer;
    bool m_preselected = false;
    DiscBrowserState m_state;
};

} // namespace filmarin
