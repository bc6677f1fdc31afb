// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <functional>

// What the program's logic sees of the windows: grids of cell texts, lists with ticks, the
// total display and the message boxes. The windows implement these; tests use plain
// in-memory stand-ins.
namespace filmarin {

// A grid of cell texts, addressed by column and row; row 0 is the header row.
class CellGrid {
public:
    virtual ~CellGrid() = default;
    virtual int columnCount() const = 0;
    virtual int rowCount() const = 0;
    virtual QString cell(int column, int row) const = 0;
    virtual void setCell(int column, int row, const QString& text) = 0;
    // Ends an open cell editor, gives the grid the focus and makes (column, row) the only
    // selected and the current cell, without raising the grid's click event.
    virtual void selectCell(int column, int row) = 0;
};

// A list of items with ticks, counted from 0.
class CheckList {
public:
    virtual ~CheckList() = default;
    virtual int count() const = 0;
    virtual bool isChecked(int item) const = 0;
    virtual void setChecked(int item, bool checked) = 0;
};

// The field that shows the selected total play time.
class TotalDisplay {
public:
    virtual ~TotalDisplay() = default;
    virtual void setText(const QString& text) = 0;
    // Yellow background when true, white when false.
    virtual void setHighlighted(bool highlighted) = 0;
};

enum class MessageIcon { Information, Warning, Error };

// Shows a modal message with one OK button; returns when the user has closed it.
class MessageSink {
public:
    virtual ~MessageSink() = default;
    virtual void showMessage(const QString& caption, const QString& text, MessageIcon icon) = 0;
    // The same message, shown without waiting for the user to read it: for what a channel's
    // answer, a thread's answer or a timer brings, whose caller may be gone before the user
    // has read it. Messages posted meanwhile follow one another.
    virtual void postMessage(const QString& caption, const QString& text, MessageIcon icon) = 0;
    // Runs `then` once the posted messages that are open or waiting have been read; at once
    // where none are.
    virtual void afterPosted(std::function<void()> then) { then(); }
};

// Gives every message to another sink as a posted one: for checks that run inside what a
// channel, a thread or a timer brings.
class PostedMessages : public MessageSink {
public:
    explicit PostedMessages(MessageSink& sink) : m_sink(sink) {}
    void showMessage(const QString& caption, const QString& text, MessageIcon icon) override {
        m_sink.postMessage(caption, text, icon);
    }
    void postMessage(const QString& caption, const QString& text, MessageIcon icon) override {
        m_sink.postMessage(caption, text, icon);
    }
    void afterPosted(std::function<void()> then) override { m_sink.afterPosted(std::move(then)); }

private:
    MessageSink& m_sink;
};

} // namespace filmarin
