#pragma once

#include <QString>

#include <functional>
#include <map>

namespace kr31 {

using ButtonActions = std::map<QString, std::function<void()>>;

// The handlers of the buttons every editor has along its top (send, action,
// menu, help, quit, open, save), with more, the editor's own, added.
template<typename Editor>
ButtonActions editorButtons(Editor *editor, ButtonActions more)
{
    more.insert({
        {"Send", [editor] { editor->SendClick(); }},
        {"Action", [editor] { editor->ActionClick(); }},
        {"Menu", [editor] { editor->MenuClick(); }},
        {"Help", [editor] { editor->HelpClick(); }},
        {"Bye", [editor] { editor->ByeClick(); }},
        {"File_Open", [editor] { editor->File_OpenClick(); }},
        {"File_Save", [editor] { editor->File_SaveClick(); }},
    });
    return more;
}

} // namespace kr31
