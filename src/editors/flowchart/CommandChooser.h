#pragma once

#include <QString>
#include <QStringList>

#include <optional>

class QWidget;

namespace kr31 {

// The flowchart editor's command dialog as the editor reaches it: it asks
// for the command to insert before the selected entry, or to write over it.
class CommandChooser
{
public:
    // What the dialog shows: the editor's command menu (fixed items, then its
    // subroutines) and, when not inserting, the fields of the entry edited.
    struct Question
    {
        QStringList menuItems;
        bool inserting = true;
        QString code, value1, value2;
    };
    // What OK answers: the command menu item and the texts of the two value boxes.
    struct Choice
    {
        int item = 0;
        QString value1, value2;
        bool operator==(const Choice &) const = default;
    };

    virtual ~CommandChooser() = default;
    // Shows the dialog modally for opener and returns when it closes: the
    // choice made with OK, nothing when it was closed without one.
    virtual std::optional<Choice> chooseCommand(const Question &question, QWidget *opener) = 0;
};

} // namespace kr31
