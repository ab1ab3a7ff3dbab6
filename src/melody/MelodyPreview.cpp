#include "melody/MelodyPreview.h"

#include "core/Messages.h"
#include "core/TextFile.h"
#include "core/TextTools.h"
#include "link/ToneBurst.h"
#include "link/WavFile.h"
#include "melody/NoteCode.h"

#include <QFile>
#include <QFileInfo>
#include <QtGlobal>

#include <cerrno>

namespace kr31::preview {

QByteArray tone(int code)
{
    const int f = note::frequency(code);
    if (f == 0)
        return QByteArray(RestSamples, tone::Low);
    const int half = qRound(24000.0 / f);
    const int cycles = int(text::roundHalfEven(qint64(note::lengthFactor(code)) * (f - 1), 4)) + 1;
    QByteArray cycle(half, tone::High);
    cycle.append(QByteArray(half, tone::Low));
    return cycle.repeated(cycles);
}

QByteArray voiceStream(const QList<int> &notes)
{
    QByteArray samples;
    for (int code : notes) {
        samples.append(tone(code));
        if (note::frequency(code) != 0)
            samples.append(QByteArray(GapSamples, tone::Low));
    }
    return samples;
}

QByteArray mix(const QByteArray &upper, const QByteArray &lower)
{
    const QByteArray &longer = upper.size() >= lower.size() ? upper : lower;
    const QByteArray &shorter = upper.size() >= lower.size() ? lower : upper;
    QByteArray result = longer;
    for (qsizetype i = 0; i < shorter.size(); ++i)
        result[i] = char((uchar(longer.at(i)) + uchar(shorter.at(i))) / 2);
    return result;
}

bool writeVoiceFiles(const Melody &melody, const QString &folder, QString *error)
{
    for (int voice = 0; voice < melody::Voices; ++voice) {
        const QString path = folder + (voice == 0 ? UpFile : DownFile);
        if (melody.notes[voice].isEmpty()) {
            // An older sound of this voice would be taken for the melody's.
            if (QFileInfo(path).isFile() && !QFile::remove(path)) {
                if (error)
                    *error = msg::soundNotWritten(path, textfile::fileErrorReason(errno));
                return false;
            }
            continue;
        }
        QString why;
        if (!wav::write(path, voiceStream(melody.notes[voice]), &why)) {
            if (error)
                *error = msg::soundNotWritten(path, why);
            return false;
        }
    }
    return true;
}

} // namespace kr31::preview
