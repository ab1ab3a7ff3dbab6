#include "ui/RecoveryOffer.h"

#include "core/Messages.h"
#include "core/WorkFolder.h"
#include "ui/FormWindow.h"
#include "ui/Forms.h"
#include "ui/RecoveryKeeper.h"
#include "ui/UiServices.h"

#include <QFile>

namespace kr31 {

RecoveryOffer::RecoveryOffer(Forms &forms)
    : m_forms(forms)
    , m_stateProblem(recovery::stateProblem())
{
    const recovery::Plan plan = recovery::plan(recovery::findCopies());
    for (const QString &path : plan.discard)
        QFile::remove(path);
    for (recovery::Offer offer : plan.offers) {
        // An editor that cannot be opened in this run (its module is missing)
        // keeps no copies: its work waits for a run that can offer it.
        if (!keeperOf(forms.form(offer.editor.form)))
            continue;
        // Out of the way of the copy this run's editor will write.
        offer.fileName = recovery::setAside(offer);
        m_offers.append(offer);
    }
}

RecoveryKeeper *RecoveryOffer::keeperOf(FormWindow *form)
{
    return form ? form->findChild<RecoveryKeeper *>(QString(), Qt::FindDirectChildrenOnly) : nullptr;
}

void RecoveryOffer::ask()
{
    if (const QString why = std::exchange(m_stateProblem, {}); !why.isEmpty())
        m_forms.services().dialogs.warning(msg::stateFolderUnusable(workfolder::stateLocation(), why));
    const QList<recovery::Offer> offers = std::exchange(m_offers, {});
    QList<int> restored;
    for (const recovery::Offer &offer : offers) {
        FormWindow *editor = m_forms.form(offer.editor.form);
        RecoveryKeeper *keeper = keeperOf(editor);
        // An editor holds one restored work: its older copies wait for the next start.
        if (!keeper || restored.contains(offer.editor.form))
            continue;
        const Answer answer = m_forms.services().dialogs.question(offer.question, AnswerButtons::YesNoOrClose);
        if (answer == Answer::Cancel)
            continue; // closed without an answer: asked again at the next start
        if (answer == Answer::Yes) {
            FormWindow *shown = nullptr;
            for (FormWindow *form : m_forms.all()) {
                if (form->isVisible() && form != editor)
                    shown = form;
            }
            m_forms.open(shown, offer.editor.form);
            if (keeper->restore(offer.lines)) {
                restored.append(offer.editor.form);
                // The editor's own copy now holds the work; without it (a full
                // disk) the old one stays to be offered again.
                if (!keeper->hasOwnCopy())
                    continue;
            }
        }
        // Refused, restored into the editor's own copy, or nothing the editor could take.
        QFile::remove(offer.folder + offer.fileName);
    }
}

void RecoveryOffer::discardAll(Forms &forms)
{
    for (FormWindow *form : forms.all()) {
        if (RecoveryKeeper *keeper = keeperOf(form))
            keeper->discard();
    }
}

} // namespace kr31
