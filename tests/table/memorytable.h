// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "table/tableview.h"

#include <QString>
#include <utility>
#include <vector>

namespace filmarin::testing {

// In-memory grid that records which cell the program selected.
class MemoryGrid : public CellGrid {
public:
    MemoryGrid(int columns, int rows)
        : m_columns(columns), m_rows(rows), m_cells(static_cast<std::size_t>(columns * rows)) {}
    int columnCount() const override { return m_columns; }
    int rowCount() const override { return m_rows; }
    QString cell(int column, int row) const override { return m_cells.at(index(column, row)); }
    void setCell(int column, int row, const QString& text) override {
        m_cells.at(index(column, row)) = text;
        ++writes;
    }
    void selectCell(int column, int row) override { selected = {column, row}; }

    std::pair<int, int> selected{-1, -1};
    int writes = 0;

private:
    std::size_t index(int column, int row) const {
        return static_cast<std::size_t>(column * m_rows + row);
    }
    int m_columns;
    int m_rows;
    std::vector<QString> m_cells;
};

class MemoryCheckList : public CheckList {
public:
    explicit MemoryCheckList(int count) : m_checked(static_cast<std::size_t>(count), false) {}
    int count() const override { return static_cast<int>(m_checked.size()); }
    bool isChecked(int item) const override { return m_checked.at(static_cast<std::size_t>(item)); }
    void setChecked(int item, bool checked) override {
        m_checked.at(static_cast<std::size_t>(item)) = checked;
    }

private:
    std::vector<bool> m_checked;
};

class MemoryTotal : public TotalDisplay {
public:
    void setText(const QString& t) override { text = t; }
    void setHighlighted(bool h) override { highlighted = h; }
    QString text = QStringLiteral("0h 0min 0sec");
    bool highlighted = false;
};

struct Message {
    QString caption;
    QString text;
    MessageIcon icon;
};

class MemoryMessages : public MessageSink {
public:
    void showMessage(const QString& caption, const QString& text, MessageIcon icon) override {
        shown.push_back({caption, text, icon});
    }
    void postMessage(const QString& caption, const QString& text, MessageIcon icon) override {
        shown.push_back({caption, text, icon});
    }
    std::vector<Message> shown;
};

// The main window's table, without a window.
struct MemoryTable {
    MemoryGrid start{3, 21};
    MemoryGrid stop{3, 21};
    MemoryGrid titles{1, 21};
    MemoryGrid headings{2, 21};
    MemoryCheckList pauses{19};
    MemoryCheckList play{20};
    MemoryTotal total;
    MemoryMessages messages;
    TableView view{start, stop, titles, headings, pauses, play, total, messages};

    // The cells as the window shows them after start-up: times "0", excerpt 1 stopping
    // at 10 hours, standard headings, every "Abspielen" tick set.
    void fillAsAtStartUp() {
        for (int row = 1; row <= 20; ++row) {
            for (int c = 0; c < 3; ++c) {
                start.setCell(c, row, QStringLiteral("0"));
                stop.setCell(c, row, QStringLiteral("0"));
            }
            headings.setCell(1, row, QStringLiteral("Ausschnitt %1").arg(row));
            play.setChecked(row - 1, true);
        }
        stop.setCell(0, 1, QStringLiteral("10"));
    }
};

} // namespace filmarin::testing
