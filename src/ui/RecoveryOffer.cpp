#include "ui/RecoveryOffer.h"

#include "ui/FormWindow.h"
#include "ui/Forms.h"
#include "ui/RecoveryKeeper.h"
#include "ui/UiServices.h"

#include <QDir>
#include <QFile>

namespace kr31 {

RecoveryOffer::RecoveryOffer(Forms &forms)
    : m_forms(forms)
{
    const recovery::Plan plan = recovery::plan(recovery::findCopies());
    const QDir folder(recovery::folder());
    for (const QString &name : plan.discard)
        QFile::remove(folder.filePath(name));
    for (const recovery::Offer &offer : plan.offers) {
        if (keeperOf(forms.form(offer.editor.form)))
            m_offers.append(offer);
        else
            recovery::removeCopy(offer.editor.key); // no editor of this build keeps it
    }
}

RecoveryKeeper *RecoveryOffer::keeperOf(FormWindow *form)
{
    return form ? form->findChild<RecoveryKeeper *>(QString(), Qt::FindDirectChildrenOnly) : nullptr;
}

void RecoveryOffer::ask()
{
    const QList<recovery::Offer> offers = std::exchange(m_offers, {});
    for (const recovery::Offer &offer : offers) {
        FormWindow *editor = m_forms.form(offer.editor.form);
        RecoveryKeeper *keeper = keeperOf(editor);
        if (!keeper)
            continue;
        const Answer answer = m_forms.services().dialogs.question(offer.question, AnswerButtons::YesNoOrClose);
        if (answer == Answer::Cancel) {
            // Closed without an answer: the copy waits for the next start
            // (unless this run's own work in that editor has replaced it).
            if (keeper->active())
                keeper->adopt();
            continue;
        }
        if (answer == Answer::Yes) {
            FormWindow *shown = nullptr;
            for (FormWindow *form : m_forms.all()) {
                if (form->isVisible() && form != editor)
                    shown = form;
            }
            m_forms.open(shown, offer.editor.form);
            if (keeper->restore(offer.lines))
                continue;
        }
        // Refused (or nothing the editor could take): the copy goes, unless
        // the editor has meanwhile made its own from this run's work.
        if (keeper->active())
            keeper->adopt();
        else
            recovery::removeCopy(offer.editor.key);
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
