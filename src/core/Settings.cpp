#include "core/Settings.h"

#include "core/WorkFolder.h"

#include <QFile>

#include <memory>

namespace kr31 {

namespace {
const QString kWave = QStringLiteral("Wave");
const QString kWizard = QStringLiteral("Wizard");
const QString kCommand = QStringLiteral("Command");
} // namespace

Settings::Settings(std::function<QString()> folder)
    : m_folder(std::move(folder))
{
}

QString Settings::iniPath() const
{
    return (m_folder ? m_folder() : workfolder::path()) + QStringLiteral("set.ini");
}

IniFile Settings::ini(bool forWriting) const
{
    if (!forWriting && !m_folder)
        return IniFile(workfolder::location() + QStringLiteral("set.ini"));
    return IniFile(iniPath());
}

namespace {
int waveModeIn(const IniFile &ini)
{
    static const QString name = QStringLiteral("name");
    const int mode = ini.integer(kWave, name, 0);
    return (mode >= 0 && mode <= 3) ? mode : 0;
}
} // namespace

int Settings::waveMode() const
{
    return waveModeIn(ini());
}

std::function<int()> Settings::waveModeReader() const
{
    // A transfer asks at every byte: its folder is watched while it builds.
    const IniFile file = ini();
    return [file, watch = std::make_shared<IniFile::FolderWatch>(file)] { return waveModeIn(file); };
}

bool Settings::setWaveMode(int mode)
{
    return ini(true).setValue(kWave, QStringLiteral("name"), QString::number(mode));
}

int Settings::wizardStart() const
{
    return ini().integer(kWizard, QStringLiteral("Start"), 1);
}

bool Settings::setWizardStart(int value)
{
    return ini(true).setValue(kWizard, QStringLiteral("Start"), QString::number(value));
}

QStringList Settings::defaultCommandNames()
{
    return {QStringLiteral("ON"),      QStringLiteral("OFF"),     QStringLiteral("Bright"),
            QStringLiteral("FadeIn"),  QStringLiteral("FadeOut"), QStringLiteral("Timer"),
            QStringLiteral("Repeat"),  QStringLiteral("Touch"),   QStringLiteral("TouchIn"),
            QStringLiteral("TouchOut"), QStringLiteral("Beep"),   QStringLiteral("Stop")};
}

QString Settings::commandName(int key) const
{
    Q_ASSERT(key >= 1 && key <= 12);
    return ini().value(kCommand, QString::number(key)).value_or(defaultCommandNames().at(key - 1));
}

QStringList Settings::commandNames() const
{
    QStringList names;
    for (int key = 1; key <= 12; ++key)
        names.append(commandName(key));
    return names;
}

bool Settings::setCommandNames(const QStringList &names)
{
    Q_ASSERT(names.size() == 12);
    QList<QPair<QString, QString>> entries;
    for (int key = 1; key <= 12; ++key)
        entries.append({QString::number(key), names.at(key - 1)});
    return ini(true).setValues(kCommand, entries);
}

bool Settings::unreadable() const
{
    bool readError = false;
    ini().value(kWave, QStringLiteral("name"), &readError);
    return readError;
}

std::optional<quint32> parseColour(const QString &text)
{
    struct Named
    {
        const char *name;
        quint32 rgb;
    };
    static const Named names[] = {
        {"clBlack", 0x000000},   {"clMaroon", 0x800000},     {"clGreen", 0x008000},  {"clOlive", 0x808000},
        {"clNavy", 0x000080},    {"clPurple", 0x800080},     {"clTeal", 0x008080},   {"clGray", 0x808080},
        {"clSilver", 0xC0C0C0},  {"clRed", 0xFF0000},        {"clLime", 0x00FF00},   {"clYellow", 0xFFFF00},
        {"clBlue", 0x0000FF},    {"clFuchsia", 0xFF00FF},    {"clAqua", 0x00FFFF},   {"clWhite", 0xFFFFFF},
        {"clLtGray", 0xC0C0C0},  {"clDkGray", 0x808080},     {"clMoneyGreen", 0xC0DCC0},
        {"clSkyBlue", 0xA6CAF0}, {"clCream", 0xFFFBF0},      {"clMedGray", 0xA0A0A4},
    };
    const QString t = text.trimmed();
    for (const Named &n : names) {
        if (t.compare(QLatin1String(n.name), Qt::CaseInsensitive) == 0)
            return n.rgb;
    }
    bool ok = false;
    qint64 bgr = -1;
    if (t.startsWith(u'$'))
        bgr = t.mid(1).toLongLong(&ok, 16);
    else if (t.startsWith(QLatin1String("0x"), Qt::CaseInsensitive))
        bgr = t.mid(2).toLongLong(&ok, 16);
    else
        bgr = t.toLongLong(&ok, 10);
    if (!ok || bgr < 0 || bgr > 0xFFFFFF)
        return std::nullopt;
    const quint32 v = quint32(bgr);
    return ((v & 0xFF) << 16) | (v & 0xFF00) | ((v >> 16) & 0xFF);
}

CommentColours readCommentColours(const QString &workFolder)
{
    const IniFile file(workFolder + QStringLiteral("Data/set.ini"));
    const auto read = [&](const QString &section, quint32 fallback) {
        const auto value = file.value(section, QStringLiteral("color"));
        return value ? parseColour(*value).value_or(fallback) : fallback;
    };
    return {read(QStringLiteral("coment"), 0x008000), read(QStringLiteral("back"), 0xFFFFFF)};
}

} // namespace kr31
