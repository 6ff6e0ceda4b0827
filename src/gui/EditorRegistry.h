// The editors the main window offers: each has its tree node, its menu item
// and a factory.  The main window builds its tree, its menu handlers and the
// line-edit routing from this list and knows no editor window by name; the
// registrations are in Editors.cpp.
#pragma once

#include "base/Texts.h"
#include "gui/MainHost.h"

#include <QStyle>
#include <functional>
#include <vector>

class QWidget;

namespace kt {

// An editor with a channel grid offers the line-edit commands of the pop-up
// menu (Copy, Cut, Paste, Insert&Paste, Delete).
class LineEditTarget {
public:
    virtual ~LineEditTarget() = default;
    virtual void LECopy() = 0;
    virtual void LECut() = 0;
    virtual void LEPaste() = 0;
    virtual void LEInsertPaste() = 0;
    virtual void LEDelete() = 0;
    virtual bool ClipboardFilled() const = 0;
    // Rows at once, and the grid with every field as a column.
    virtual void LESelectAll() {}
    virtual void LEFillDown() {}
    virtual void LEShowAllFields(bool) {}
    virtual bool AllFieldsShown() const { return false; }
};

struct EditorEntry {
    Child id;
    const char* treeKey;     // the node's key in the tree ("N1")
    const char* menuName;    // the menu item that opens it ("mnuChannelInfo")
    Bi treeCaption;          // the node's caption; {nullptr, nullptr}: the menu item's caption
    QStyle::StandardPixmap icon;
    std::function<QWidget*(MainHost&)> create;
};

class EditorRegistry {
public:
    void Add(EditorEntry entry) { entries_.push_back(std::move(entry)); }
    // In registration order, which is the tree's order.
    const std::vector<EditorEntry>& Entries() const { return entries_; }
    const EditorEntry* Find(Child id) const;

private:
    std::vector<EditorEntry> entries_;
};

// The program's editors (channels, options, roger beep, DTMF).
const EditorRegistry& StandardEditors();

}  // namespace kt
