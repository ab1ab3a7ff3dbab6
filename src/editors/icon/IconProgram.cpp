#include "editors/icon/IconProgram.h"

#include "core/Messages.h"
#include "core/TextTools.h"
#include "program/CommandList.h"
#include "program/LedCommands.h"

namespace kr31 {

namespace icon {

namespace {

bool isRepeatCode(int code)
{
    return code == code::Repeat || isLoopVariant(code);
}

// Picture names of the commands, by code.
QString pictureName(int code)
{
    switch (code) {
    case code::On: return QStringLiteral("ON");
    case code::Off: return QStringLiteral("OFF");
    case code::Light: return QStringLiteral("Light");
    case code::FadeIn: return QStringLiteral("F_In");
    case code::FadeOut: return QStringLiteral("F_Out");
    case code::Time: return QStringLiteral("Time");
    case code::Touch: return QStringLiteral("Touch");
    case code::TouchFadeIn: return QStringLiteral("T_F_In");
    case code::TouchFadeOut: return QStringLiteral("T_F_Out");
    case code::Beep: return QStringLiteral("Beep");
    case code::Stop: return QStringLiteral("Stop");
    default: return isRepeatCode(code) ? QStringLiteral("Repeat") : QStringLiteral("Empty");
    }
}

} // namespace

QString iconPath(int code)
{
    return QStringLiteral("Img/DD/Icon/") + pictureName(code) + QStringLiteral(".jpg");
}

QString palettePath(int code)
{
    return QStringLiteral("Img/DD/Palette/") + pictureName(code) + QStringLiteral(".jpg");
}

QString dragPicturePath(int code)
{
    return QStringLiteral("Img/DD/Icon/") + pictureName(code) + QStringLiteral(".bmp");
}

int iconWeight(int code)
{
    if (code == code::Light)
        return 2;
    if (code == code::FadeIn || code == code::FadeOut || code == code::Time || isRepeatCode(code))
        return 3;
    if (code == code::Filler || code == code::Stop)
        return 0;
    return 1;
}

int value1Max(int code)
{
    if (code == code::Time)
        return limits::MaxTime;
    if (code == code::Repeat)
        return limits::MaxTotal - 1;
    return 100;
}

int value2Max(int)
{
    return 255;
}

int pageStep(int maximum)
{
    return int(text::roundHalfEven(maximum, 10));
}

bool showsValue1(int code)
{
    static const QList<int> hidden{16, 17, 23, 24, 25, 26, 100};
    return !hidden.contains(code);
}

bool showsValue2(int code)
{
    static const QList<int> hidden{16, 17, 18, 21, 23, 24, 25, 26, 100};
    return !hidden.contains(code);
}

std::optional<ArgumentState> typedValue(const QString &text, int min, int max)
{
    if (!text::isInteger(text))
        return std::nullopt;
    const int value = qBound(min, *text::toInt(text), max);
    return ArgumentState{value, QString::number(value), QString::number(value)};
}

ArgumentState storedValue(const QString &text, int min, int max)
{
    const auto value = text::toInt(text);
    if (!value || *value < min)
        return {min, QString(), text};
    if (*value == min)
        return {min, QString::number(min), text};
    const int limited = qMin(*value, max);
    return {limited, QString::number(limited), QString::number(limited)};
}

Hms splitTime(int seconds)
{
    return {qBound(0, seconds / 3600, 18), qBound(0, (seconds % 3600) / 60, 59), qBound(0, seconds % 60, 59)};
}

int joinTime(const Hms &time)
{
    return time.hours * 3600 + time.minutes * 60 + time.seconds;
}

} // namespace icon

int IconProgram::slotTotal() const
{
    int total = 0;
    for (const IconSlot &slot : Slots) {
        if (slot.code == QLatin1String("100") || slot.isEmpty())
            break;
        total += icon::iconWeight(slot.code.toInt());
    }
    return total;
}

QStringList IconProgram::compileSlots() const
{
    QStringList lines;
    for (const IconSlot &slot : Slots) {
        const int code = slot.code.toInt();
        if (code == code::FadeIn || code == code::FadeOut || slot.code == QLatin1String("22"))
            lines.append(slot.code + u',' + slot.value1 + u',' + slot.value2);
        else if (code == code::Light || code == code::Time)
            lines.append(slot.code + u',' + slot.value1);
        else if (isLoopVariant(code))
            lines.append(QStringLiteral("22,") + slot.value1 + u',' + slot.value2);
        else
            lines.append(slot.code);
    }
    return lines;
}

QStringList IconProgram::chartSteps() const
{
    QStringList steps;
    for (const QString &line : compileSlots()) {
        if (line == QLatin1String("27") || line == QLatin1String("100"))
            break;
        steps.append(line);
    }
    return steps;
}

// Slots are examined from 0 to 46 and the first failure ends the check:
// - a repeat (22) whose return slot is not below itself: (501); one with
//   another plain repeat strictly between its return slot and itself: no
//   message of its own; a loop variant's return slot too must lie below it;
// - a timer of 0 s or over 64800 s: (507);
// - any argument the lamp would take wrong: not an integer or outside the
//   command's range (a count of 0 read from a file, say): (507); a code that
//   is no command: no message of its own;
// - at the end, a compiled list heavier than 47 bytes (commands after a gap
//   count there): (504).
IconCheck IconProgram::checkProgram() const
{
    const auto fail = [](int slot, QStringList messages) { return IconCheck{false, std::move(messages), slot}; };
    for (int i = 0; i < icon::SlotCount; ++i) {
        const IconSlot &slot = Slots.at(i);
        if (slot.isEmpty() || slot.code == QLatin1String("100"))
            continue;
        const int code = slot.code.toInt();
        const LedCommand *command = findCommand(isLoopVariant(code) ? code::Repeat : code);
        if (!command)
            return fail(i, {});
        if (command->code == code::Repeat) {
            const auto target = text::isInteger(slot.value1) ? text::toInt(slot.value1) : std::nullopt;
            if (!target || *target >= i)
                return fail(i, {msg::RepeatError501});
            if (slot.code == QLatin1String("22")) {
                for (int between = qMax(*target + 1, 0); between < i; ++between) {
                    if (Slots.at(between).code == QLatin1String("22"))
                        return fail(i, {});
                }
            }
        }
        const QString values[2] = {slot.value1, slot.value2};
        for (int a = 0; a < command->arguments.size(); ++a) {
            if (!command->arguments.at(a).accepts(values[a]))
                return fail(i, {msg::OutOfRange507});
        }
    }
    if (commandlist::total(compileSlots()) > limits::MaxTotal)
        return fail(-1, {msg::SendOverLimit504});
    return {};
}

bool IconProgram::drop(int slot, int code)
{
    Q_ASSERT(slot >= 0 && slot < icon::SlotCount);
    if (slotTotal() + icon::iconWeight(code) > limits::MaxTotal)
        return false;
    IconSlot &target = Slots[slot];
    target.code = QString::number(code);
    target.value1 = QStringLiteral("0");
    // The argument-2 box is set to "1" for every command with value controls.
    target.value2 = code == code::Time ? QStringLiteral("0") : QStringLiteral("1");
    return true;
}

void IconProgram::load(int slot, int code, const QString &value1, const QString &value2)
{
    Q_ASSERT(slot >= 0 && slot < icon::SlotCount);
    IconSlot &target = Slots[slot];
    target.code = QString::number(code);
    target.value1 = value1;
    target.value2 = value2;
    if (code == code::Time) {
        // The spin boxes take hours, minutes, seconds and join them again.
        if (const auto seconds = text::toInt(value1))
            target.value1 = QString::number(icon::joinTime(icon::splitTime(*seconds)));
        return;
    }
    if (!value1.isEmpty())
        target.value1 = icon::storedValue(value1, 0, icon::value1Max(code)).slot;
    if (!value2.isEmpty())
        target.value2 = icon::storedValue(value2, 1, icon::value2Max(code)).slot;
}

void IconProgram::refill()
{
    for (int i = 0; i < icon::SlotCount; ++i) {
        const IconSlot slot = Slots.at(i);
        if (!slot.isEmpty())
            load(i, slot.code.toInt(), slot.value1, slot.value2);
    }
}

void IconProgram::insertAt(int slot)
{
    for (int j = icon::SlotCount - 1; j > slot; --j)
        Slots[j] = Slots[j - 1];
    Slots[slot] = IconSlot{};
    refill();
}

void IconProgram::deleteAt(int slot)
{
    for (int j = slot; j < icon::SlotCount - 1; ++j)
        Slots[j] = Slots[j + 1];
    Slots[icon::SlotCount - 1] = IconSlot{};
    refill();
}

void IconProgram::clear()
{
    Slots.fill(IconSlot{});
}

} // namespace kr31
