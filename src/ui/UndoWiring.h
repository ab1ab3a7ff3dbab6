#pragma once

#include <functional>

class QWidget;

namespace kr31 {

class RecoveryKeeper;

// Binds the undo keys to an editor window: Ctrl+Z runs undo, Ctrl+Shift+Z and
// Ctrl+Y run redo, wherever the focus is in the window. A value box or spin
// box with the focus gives the keys to the window instead of undoing its own
// typing, since the window's history holds that typing too; a text control
// with a history of its own is undone through undo and redo as well.
void installUndoKeys(QWidget *window, std::function<void()> undo, std::function<void()> redo);

// True for the key combinations that installUndoKeys binds to undo (and to redo).
bool isUndoKey(int key, int modifiers);
bool isRedoKey(int key, int modifiers);

// True while control is in the middle of one edit that the history keeps as
// one step: a slider held by its thumb, a box with the focus being typed in
// (a spin box's arrow click is an edit of its own).
bool isEditing(const QWidget *control);
// Runs endGroup when control's edit ends: a slider's thumb let go, a line or
// spin box left or confirmed with Enter.
void onEditEnd(QWidget *control, const std::function<void()> &endGroup);

// Runs forgetSaved each time keeper's restore has marked the editor modified:
// recovered work is in no file, so no undo may reach a saved state.
void onRecovered(RecoveryKeeper *keeper, const std::function<void()> &forgetSaved);

} // namespace kr31
