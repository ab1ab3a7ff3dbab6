#pragma once

#include "core/Recovery.h"

#include <QList>

namespace kr31 {

class Forms;
class FormWindow;
class RecoveryKeeper;

// The recovery copies found at start and the questions that offer them back.
class RecoveryOffer
{
public:
    // Reads the copies at once (before any editor of this run writes one),
    // removes, without a word, those that cannot be offered, and sets the
    // others aside, so that this run's copies never write over them.
    explicit RecoveryOffer(Forms &forms);

    // The questions still to ask.
    const QList<recovery::Offer> &offers() const { return m_offers; }

    // First a warning when the state folder cannot be used (no copies are
    // kept, the mixer is not guarded); then one question per copy, an editor's newest first: Yes opens its editor
    // with the work restored and marked modified (its older copies then wait
    // for the next start), No removes the copy, closing the box keeps it for
    // the next start. Asked once; later calls do nothing.
    void ask();

    // A clean exit: every editor's copy of this run is removed.
    static void discardAll(Forms &forms);

    // The keeper of an editor window, or nullptr when it keeps none.
    static RecoveryKeeper *keeperOf(FormWindow *form);

private:
    Forms &m_forms;
    QList<recovery::Offer> m_offers;
    QString m_stateProblem; // why the state folder cannot be used, told once
};

} // namespace kr31
