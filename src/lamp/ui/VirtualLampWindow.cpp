#include "lamp/ui/VirtualLampWindow.h"

#include "core/Geometry.h"
#include "core/Messages.h"
#include "core/Resources.h"
#include "core/WorkFolder.h"
#include "lamp/LampLink.h"
#include "lamp/LampTexts.h"
#include "link/Transmitter.h"
#include "link/WavFile.h"
#include "melody/Melody.h"
#include "melody/MelodyFile.h"
#include "melody/NoteCode.h"
#include "program/LedCommands.h"
#include "ui/ChartPainter.h"
#include "ui/Keys.h"
#include "ui/PictureButton.h"
#include "ui/UiServices.h"

#include <QKeyEvent>
#include <QPointer>
#include <QGuiApplication>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <QScreen>
#include <QTimer>

#include <cmath>

namespace kr31 {

namespace {

const QString Folder = QStringLiteral("Img/Lamp/");
const QString HelpPage = QStringLiteral("Navi/VirtualLamp.html");
const QString BeepFile = QStringLiteral("Beep.WAV");
const QString MelodyFile = QStringLiteral("Lamp.WAV");

constexpr int FrameMs = 30;
constexpr int Gap = 8; // between the lamp and the window that opened it

const Place LampPlace{"PaintBox1", 16, 84, 368, 236};
const Place StatusPlace{"Label1", 16, 324, 368, 34};
const Place DetailPlace{"Label2", 16, 358, 368, 26};
const Place TimerPlace{"Label3", 16, 384, 368, 30};
const Place Buttons[] = {
    {"Help", 279, 8, 55, 60}, {"Bye", 336, 8, 55, 60}, {"Touch", 16, 420, 176, 64},
    {"Start", 208, 420, 176, 64}, {"Halt", 208, 420, 176, 64},
};
const Place SpeedLabelPlace{"Label4", 16, 500, 120, 40};
const Place SpeedButtons[] = {{"Speed1", 140, 498, 76, 44}, {"Speed10", 224, 498, 76, 44}, {"Speed60", 308, 498, 76, 44}};
constexpr int SpeedFactors[] = {1, 10, 60};

QLabel *addLabel(QWidget *parent, const Place &place, int pixelSize, const QColor &colour)
{
    auto *label = new QLabel(parent);
    label->setObjectName(QString::fromLatin1(place.name));
    label->setGeometry(place.x, place.y, place.w, place.h);
    label->setAlignment(Qt::AlignCenter);
    QFont font(QStringLiteral("ＭＳ Ｐゴシック"));
    font.setPixelSize(pixelSize);
    font.setBold(true);
    label->setFont(font);
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, colour);
    label->setPalette(palette);
    return label;
}

QString clockText(qint64 ms)
{
    const qint64 seconds = (ms + 999) / 1000;
    return QStringLiteral("%1:%2:%3")
        .arg(seconds / 3600)
        .arg(seconds / 60 % 60, 2, 10, QLatin1Char('0'))
        .arg(seconds % 60, 2, 10, QLatin1Char('0'));
}

QString noteName(const QList<int> &voice, int index)
{
    if (index < 0 || index >= voice.size())
        return lamptext::NoNote;
    return note::solfege(note::pitchIndex(voice.at(index)));
}

} // namespace

VirtualLampWindow::VirtualLampWindow(Forms &forms)
    : FormWindow(18, QSize(400, 556), forms)
{
    // A send halts the lamp where it stands: nothing of it sounds into the transfer.
    QPointer<VirtualLampWindow> self(this);
    services().transmitter.onSending([self](bool sending) {
        if (sending && self)
            self->stop();
    });
}

VirtualLampWindow::~VirtualLampWindow()
{
    keys::unhookEvents(this);
}

void VirtualLampWindow::buildContents()
{
    setBackground(QStringLiteral("Img/Back/Lamp.jpg"));

    m_lamp = new PaintBox(this, [this](QPainter &painter, int width) { paintLamp(painter, width); });
    m_lamp->setObjectName(QString::fromLatin1(LampPlace.name));
    m_lamp->setGeometry(LampPlace.x, LampPlace.y, LampPlace.w, LampPlace.h);

    m_status = addLabel(this, StatusPlace, 24, QColor(0x5D, 0x40, 0x37));
    m_detail = addLabel(this, DetailPlace, 17, QColor(0x6D, 0x4C, 0x41));
    m_timerLabel = addLabel(this, TimerPlace, 22, QColor(0x1E, 0x88, 0xE5));
    m_speedLabel = addLabel(this, SpeedLabelPlace, 15, QColor(0x6D, 0x4C, 0x41));
    m_speedLabel->setText(lamptext::Speed);
    m_speedLabel->setWordWrap(true);

    m_speedMark = new QLabel(this);
    m_speedMark->setObjectName(QStringLiteral("Shape1"));
    m_speedMark->setStyleSheet(QStringLiteral("background: #ffd54f; border-radius: 10px;"));

    const std::map<QString, std::function<void()>> actions = {
        {"Help", [this] { services().shell.open(resourcePath(HelpPage)); }},
        {"Bye", [this] { ByeClick(); }},
        {"Touch", {}},
        {"Start", [this] { StartClick(); }},
        {"Halt", [this] { HaltClick(); }},
    };
    for (const Place &place : Buttons) {
        PictureButton *button = addButton(Folder, place, actions.at(QString::fromLatin1(place.name)));
        if (place.name == QLatin1String("Touch"))
            m_touch = button;
        else if (place.name == QLatin1String("Start"))
            m_start = button;
        else if (place.name == QLatin1String("Halt"))
            m_halt = button;
    }
    m_touch->installEventFilter(this);
    m_touch->setFocusPolicy(Qt::TabFocus); // held by the keys, see touchKey
    m_touch->setToolTip(keys::tip(lamptext::TouchTip, {QKeySequence(Qt::Key_T), QKeySequence(Qt::Key_Space)}));
    for (int i = 0; i < 3; ++i) {
        const int factor = SpeedFactors[i];
        m_speedButtons.append(addButton(Folder, SpeedButtons[i], [this, factor] { SpeedClick(factor); }));
    }

    keys::takeKeysFirst(this, [this](QKeyEvent *key) { return touchKey(key); });

    m_timer = new QTimer(this);
    m_timer->setInterval(FrameMs);
    connect(m_timer, &QTimer::timeout, this, [this] { tick(); });
    SpeedClick(1);
    showState();
}

bool VirtualLampWindow::isRunning() const
{
    return m_timer && m_timer->isActive();
}

int VirtualLampWindow::brightness() const
{
    if (m_kind == Kind::Program && m_machine)
        return m_machine->state().brightness;
    if (m_kind == Kind::Melody && m_melody)
        return m_melody->state().brightness;
    return 0;
}

void VirtualLampWindow::runProgram(const QStringList &commandList, QWidget *opener, std::function<void(int)> onLine,
                                   std::function<int(int)> numberOf)
{
    ensureBuilt();
    stop();
    reportLine(-1);
    const auto sent = packet::ledProgram(commandList);
    if (!sent) {
        services().dialogs.warning(msg::ProgramError502);
        return;
    }
    m_kind = Kind::Program;
    m_sent = *sent;
    m_list = commandList;
    m_linePositions = lamp::linePositions(commandList);
    m_onLine = std::move(onLine);
    m_numberOf = std::move(numberOf);
    placeBeside(opener);
    start();
}

void VirtualLampWindow::runMelody(const Melody &melody, QWidget *opener)
{
    ensureBuilt();
    stop();
    reportLine(-1);
    m_onLine = {};
    m_kind = Kind::Melody;
    m_sent = melodyfile::packet(melody);
    placeBeside(opener);
    start();
}

void VirtualLampWindow::start()
{
    // The lamp runs what it hears: the sound a Send plays, read back.
    QString error;
    const auto heard = lamp::heardPacket(services().transmitter, m_sent, &error);
    if (!heard) {
        services().dialogs.warning(lamptext::CannotHear + QStringLiteral("\n") + error);
        return;
    }
    m_halted = false;
    m_beeps = 0;
    if (m_kind == Kind::Program) {
        m_machine = lamp::LampMachine::fromPacket(*heard);
        m_machine->setSpeed(m_speed);
        m_melody.reset();
    } else {
        m_melody = lamp::MelodyRun::fromPacket(*heard);
        m_machine.reset();
        playSound(MelodyFile, lamp::melodySound(m_melody->voices()));
    }
    m_last = services().clock.tickCount();
    m_timer->start();
    tick();
}

void VirtualLampWindow::playSound(const QString &name, const QByteArray &samples)
{
    const QString path = workfolder::file(name);
    if (!wav::write(path, samples))
        return;
    SoundOutput &sound = services().sound;
    sound.restore(false);
    m_sounding = true;
    QPointer<VirtualLampWindow> self(this);
    if (!sound.playInBackground(path, [self, &sound](bool, const QString &) {
            if (self)
                self->m_sounding = false;
            sound.silence();
        })) {
        m_sounding = false;
        sound.silence();
    }
}

void VirtualLampWindow::stop()
{
    if (!m_timer)
        return; // never made: nothing runs, nothing shows
    // The lamp's own sound ends with it (another window's sound plays on).
    if (m_sounding)
        services().sound.stopBackground();
    m_timer->stop();
    showState();
}

void VirtualLampWindow::tick()
{
    if (!isRunning())
        return;
    const quint32 now = services().clock.tickCount();
    const qint64 passed = quint32(now - m_last);
    m_last = now;
    if (m_kind == Kind::Program && m_machine) {
        m_machine->advance(passed);
        if (m_machine->beepCount() > m_beeps) {
            m_beeps = m_machine->beepCount();
            // The light and the caption show the beep even where no sound can play.
            playSound(BeepFile, lamp::beepSound());
        }
        reportLine(lamp::lineAt(m_linePositions, m_list, m_machine->state().position));
        if (m_machine->state().stopped)
            m_timer->stop();
    } else if (m_kind == Kind::Melody && m_melody) {
        m_melody->advance(passed);
        if (m_melody->state().stopped)
            m_timer->stop();
    }
    showState();
}

void VirtualLampWindow::reportLine(int line)
{
    if (line == m_line)
        return;
    m_line = line;
    if (m_onLine)
        m_onLine(line);
}

void VirtualLampWindow::showState()
{
    const bool program = m_kind != Kind::Melody;
    m_touch->setVisible(program);
    m_speedLabel->setVisible(program);
    m_speedMark->setVisible(program);
    for (PictureButton *button : m_speedButtons)
        button->setVisible(program);
    m_start->setVisible(!isRunning());
    m_halt->setVisible(isRunning());

    QString status = lamptext::Ready, detail, timer;
    if (m_kind == Kind::Program && m_machine) {
        const lamp::LampState &s = m_machine->state();
        if (s.fault != lamp::Fault::None)
            status = lamptext::fault(s.fault, s.faultPosition + 1);
        else if (s.stopped)
            status = lamptext::Finished;
        else if (m_halted)
            status = lamptext::Halted;
        else if (s.beeping)
            status = lamptext::Beep;
        else if (s.waitingForTouch)
            status = lamptext::WaitTouch;
        else if (s.touchFading)
            status = lamptext::TouchFade;
        else
            status = lamptext::Running;
        if (s.step >= 0 && m_line >= 0) {
            const lamp::Step &step = m_machine->steps().at(s.step);
            const int code = lamp::isRepeatCode(step.code) ? code::Repeat : step.code;
            detail = lamptext::Step.arg(m_numberOf ? m_numberOf(m_line) : m_line).arg(learnerName(code));
        }
        if (s.remainingMs > 0)
            timer = lamptext::Timer.arg(clockText(s.remainingMs));
    } else if (m_kind == Kind::Melody && m_melody) {
        const lamp::MelodyState &s = m_melody->state();
        status = s.stopped ? lamptext::Finished : m_halted ? lamptext::Halted : lamptext::Playing;
        if (!s.stopped)
            detail = lamptext::Notes.arg(noteName(m_melody->voices()[0], s.note[0]),
                                         noteName(m_melody->voices()[1], s.note[1]));
    }
    // What asks for the child's hand shows in the touch button's colour.
    QColor colour(0x5D, 0x40, 0x37);
    if (status == lamptext::WaitTouch || status == lamptext::TouchFade)
        colour = QColor(0xD8, 0x1B, 0x60);
    else if (status == lamptext::Beep)
        colour = QColor(0xEF, 0x6C, 0x00);
    else if (status == lamptext::Finished)
        colour = QColor(0x2E, 0x7D, 0x32);
    else if (m_machine && m_machine->state().fault != lamp::Fault::None)
        colour = QColor(0xC6, 0x28, 0x28);
    QPalette palette = m_status->palette();
    palette.setColor(QPalette::WindowText, colour);
    m_status->setPalette(palette);
    m_status->setText(status);
    m_detail->setText(detail);
    m_timerLabel->setText(timer);
    m_lamp->update();
}

void VirtualLampWindow::StartClick()
{
    if (m_kind == Kind::None)
        return;
    start();
}

void VirtualLampWindow::HaltClick()
{
    m_halted = true;
    stop();
}

void VirtualLampWindow::SpeedClick(int factor)
{
    ensureBuilt();
    m_speed = factor;
    if (m_machine)
        m_machine->setSpeed(factor);
    for (int i = 0; i < 3; ++i) {
        if (SpeedFactors[i] == factor)
            m_speedMark->setGeometry(m_speedButtons[i]->geometry().adjusted(-4, -4, 4, 4));
    }
}

void VirtualLampWindow::TouchDown()
{
    if (m_machine) {
        m_machine->setTouch(true);
        tick();
    }
}

void VirtualLampWindow::TouchUp()
{
    if (m_machine) {
        m_machine->setTouch(false);
        tick();
    }
}

void VirtualLampWindow::ByeClick()
{
    hide();
}

void VirtualLampWindow::hideEvent(QHideEvent *event)
{
    stop();
    reportLine(-1);
    FormWindow::hideEvent(event);
}

bool VirtualLampWindow::eventFilter(QObject *watched, QEvent *event)
{
    const bool press = event->type() == QEvent::MouseButtonPress;
    if (watched == m_touch && (press || event->type() == QEvent::MouseButtonRelease)
        && static_cast<QMouseEvent *>(event)->button() == Qt::LeftButton) {
        if (press)
            TouchDown();
        else
            TouchUp();
    }
    return FormWindow::eventFilter(watched, event);
}

bool VirtualLampWindow::touchKey(QKeyEvent *key)
{
    const bool onButton = m_touch->hasFocus() && (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter);
    const bool touchKey = key->key() == Qt::Key_T || key->key() == Qt::Key_Space || onButton;
    if (!touchKey || (key->modifiers() & ~Qt::KeypadModifier) || !m_machine || (!isRunning() && !onButton))
        return false;
    if (!key->isAutoRepeat()) {
        if (key->type() == QEvent::KeyPress)
            TouchDown();
        else
            TouchUp();
    }
    return true;
}

void VirtualLampWindow::placeBeside(QWidget *opener)
{
    setOpener(opener);
    if (!opener) {
        show();
        raise();
        return;
    }
    QWidget *top = opener->window();
    QScreen *screen = top->screen() ? top->screen() : QGuiApplication::primaryScreen();
    const QRect area = screen ? screen->availableGeometry() : QRect(0, 0, 1280, 1024);
    // Beside the editor, where its marked step stays in sight.
    const QRect o = top->frameGeometry();
    const BesidePlace place = kr31::placeBeside(area, o, size(), Gap);
    if (place.editorLeft != o.left())
        top->move(top->pos() + QPoint(place.editorLeft - o.left(), 0));
    const int x = place.window.x();
    const int y = place.window.y();
    move(x, y);
    show();
    raise();
    activateWindow();
}

void VirtualLampWindow::paintLamp(QPainter &p, int width)
{
    const int height = m_lamp->height();
    const int level = brightness();
    // The eye sees a dim LED brighter than its share of full: show it so.
    const double on = std::sqrt(level / 255.0);
    p.setRenderHint(QPainter::Antialiasing);

    // The night around the lamp, lit up by its glow.
    const QRectF panel(0, 0, width, height);
    QPainterPath frame;
    frame.addRoundedRect(panel.adjusted(1, 1, -1, -1), 18, 18);
    p.fillPath(frame, QColor(0x1C, 0x23, 0x3B));
    const QPointF bulb(width / 2.0, height * 0.46);
    if (level > 0) {
        QRadialGradient glow(bulb, 60 + 170 * on);
        glow.setColorAt(0, QColor(255, 244, 180, int(255 * on)));
        glow.setColorAt(0.4, QColor(255, 204, 90, int(150 * on)));
        glow.setColorAt(1, QColor(255, 180, 60, 0));
        p.save();
        p.setClipPath(frame);
        p.fillRect(panel, glow);
        p.restore();
    }
    // Stars, drowned out as the light grows.
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(255, 255, 255, int(200 * (1 - on) + 30)));
    for (const QPointF &star : {QPointF(30, 28), QPointF(70, 70), QPointF(width - 40, 34), QPointF(width - 80, 90),
                                QPointF(46, 150), QPointF(width - 30, 160)})
        p.drawEllipse(star, 2, 2);

    // The lamp: a dome on a base with a friendly face.
    const double r = 62;
    QPainterPath dome;
    dome.moveTo(bulb.x() - r, bulb.y() + 18);
    dome.arcTo(QRectF(bulb.x() - r, bulb.y() - r + 18, 2 * r, 2 * r), 180, -180);
    dome.closeSubpath();
    const QColor dark(0xB0, 0xB4, 0xBE), lit(0xFF, 0xE8, 0x80);
    const auto mix = [on](const QColor &a, const QColor &b) {
        return QColor::fromRgbF(a.redF() + (b.redF() - a.redF()) * on, a.greenF() + (b.greenF() - a.greenF()) * on,
                                a.blueF() + (b.blueF() - a.blueF()) * on);
    };
    QRadialGradient shine(QPointF(bulb.x() - 20, bulb.y() - 20), r * 1.4);
    shine.setColorAt(0, mix(QColor(0xE4, 0xE6, 0xEA), Qt::white));
    shine.setColorAt(1, mix(dark, lit));
    p.setPen(QPen(QColor(0x3E, 0x27, 0x23), 3));
    p.setBrush(shine);
    p.drawPath(dome);
    const QRectF base(bulb.x() - r - 12, bulb.y() + 14, 2 * r + 24, 44);
    p.setBrush(QColor(0xF0, 0x7C, 0x6C));
    p.drawRoundedRect(base, 20, 20);
    // The face: eyes and a smile, happier when the light is on.
    p.setBrush(QColor(0x3E, 0x27, 0x23));
    p.setPen(Qt::NoPen);
    p.drawEllipse(QPointF(bulb.x() - 22, base.center().y() - 4), 4, 4);
    p.drawEllipse(QPointF(bulb.x() + 22, base.center().y() - 4), 4, 4);
    p.setPen(QPen(QColor(0x3E, 0x27, 0x23), 3, Qt::SolidLine, Qt::RoundCap));
    p.setBrush(Qt::NoBrush);
    const double smile = 3 + 6 * on;
    QPainterPath mouth;
    mouth.moveTo(bulb.x() - 10, base.center().y() + 4);
    mouth.quadTo(bulb.x(), base.center().y() + 4 + smile, bulb.x() + 10, base.center().y() + 4);
    p.drawPath(mouth);

    const lamp::LampState *state = m_machine ? &m_machine->state() : nullptr;
    // A beep: sound waves on both sides.
    if (state && state->beeping) {
        p.setPen(QPen(QColor(0xFF, 0xB3, 0x00), 4, Qt::SolidLine, Qt::RoundCap));
        for (int k = 0; k < 3; ++k) {
            const double d = r + 22 + 14 * k;
            p.drawArc(QRectF(bulb.x() - d, bulb.y() - d + 10, 2 * d, 2 * d), -30 * 16, 60 * 16);
            p.drawArc(QRectF(bulb.x() - d, bulb.y() - d + 10, 2 * d, 2 * d), 150 * 16, 60 * 16);
        }
    }
    // Waiting for a touch: a ring round the whole lamp.
    if (state && (state->waitingForTouch || state->touchFading)) {
        p.setPen(QPen(QColor(0xEC, 0x40, 0x7A), 4, Qt::DashLine, Qt::RoundCap));
        const double top = bulb.y() - r + 4;
        p.drawRoundedRect(QRectF(base.left() - 12, top, base.width() + 24, base.bottom() + 10 - top), 44, 44);
    }

    // The brightness, large, under the lamp.
    QFont font(QStringLiteral("ＭＳ Ｐゴシック"));
    font.setPixelSize(24);
    font.setBold(true);
    p.setFont(font);
    p.setPen(Qt::white);
    const int percent = (level * 100 + 127) / 255;
    p.drawText(QRectF(0, height - 44, width, 36), Qt::AlignCenter, lamptext::Brightness.arg(percent));
}

} // namespace kr31
