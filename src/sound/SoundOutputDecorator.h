#pragma once

#include "sound/SoundOutput.h"

namespace kr31 {

// A sound output around another: every mixer and player step goes on to the
// inner output, so that a decorator overrides only the steps it adds to. The
// ways of playing without waiting keep SoundOutput's own, which call this
// output's steps (and so the decorator's).
class SoundOutputDecorator : public SoundOutput
{
public:
    explicit SoundOutputDecorator(SoundOutput &inner)
        : m_inner(inner)
    {
    }

    void noteState() override { m_inner.noteState(); }
    void prepare() override { m_inner.prepare(); }
    void silence() override { m_inner.silence(); }
    void restore(bool atExit) override { m_inner.restore(atExit); }
    QStringList notedState() const override { return m_inner.notedState(); }
    bool restoreNoted(const QStringList &lines) override { return m_inner.restoreNoted(lines); }
    bool adoptNoted(const QStringList &lines) override { return m_inner.adoptNoted(lines); }
    bool play(const QString &path, QString *error) override { return m_inner.play(path, error); }
    bool playTransfer(const QString &path, int mode, QString *error, QString *warning) override
    {
        return m_inner.playTransfer(path, mode, error, warning);
    }
    void stopPlaying() override { m_inner.stopPlaying(); }

protected:
    SoundOutput &m_inner;
};

} // namespace kr31
