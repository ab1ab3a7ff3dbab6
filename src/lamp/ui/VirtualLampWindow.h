#pragma once

#include "lamp/LampMachine.h"
#include "lamp/LampRunner.h"
#include "lamp/MelodyRun.h"
#include "link/Packets.h"
#include "ui/FormWindow.h"

#include <QStringList>

#include <functional>
#include <optional>

class QTimer;

namespace kr31 {

class Melody;
class PictureButton;

// The virtual lamp (TForm18): runs a program or a melody as the lamp would,
// from the packet it would hear in the transfer sound. Opened by the editors
// next to themselves; the editor marks the step running through onLine.
class VirtualLampWindow : public FormWindow, public LampRunner
{
    Q_OBJECT
public:
    explicit VirtualLampWindow(Forms &forms);
    ~VirtualLampWindow() override;

    // As LampRunner says, beside opener.
    void runProgram(const QStringList &commandList, QWidget *opener, std::function<void(int)> onLine = {},
                    std::function<int(int)> numberOf = {}) override;
    void runMelody(const Melody &melody, QWidget *opener) override;

    // The clock's beat: moves the run on by the time passed since the last one.
    void tick();
    // The handlers of the window's buttons.
    void StartClick();
    void HaltClick();
    void SpeedClick(int factor);
    void TouchDown();
    void TouchUp();
    void ByeClick() override;

    const std::optional<lamp::LampMachine> &machine() const { return m_machine; }
    const std::optional<lamp::MelodyRun> &melodyRun() const { return m_melody; }
    bool isRunning() const;
    int brightness() const;
    int currentLine() const { return m_line; }

protected:
    void buildContents() override;
    bool eventFilter(QObject *watched, QEvent *event) override;
    void hideEvent(QHideEvent *event) override;

private:
    void start();
    void stop();
    // Writes samples to the work folder file name and plays them in the background.
    void playSound(const QString &name, const QByteArray &samples);
    void showState();
    void placeBeside(QWidget *opener);
    void paintLamp(QPainter &painter, int width);
    void reportLine(int line);
    // T and Space touch the lamp while a program runs, whatever has the
    // focus; Enter too on the focused touch button.
    bool touchKey(QKeyEvent *key);

    enum class Kind { None, Program, Melody } m_kind = Kind::None;
    Packet m_sent;
    QStringList m_list;
    QList<int> m_linePositions;
    std::function<void(int)> m_onLine;
    std::function<int(int)> m_numberOf;
    std::optional<lamp::LampMachine> m_machine;
    std::optional<lamp::MelodyRun> m_melody;
    int m_speed = 1;
    int m_beeps = 0;
    int m_line = -1;
    bool m_halted = false;
    bool m_sounding = false; // a sound of the lamp's plays in the background
    quint32 m_last = 0;
    QTimer *m_timer = nullptr;
    QWidget *m_lamp = nullptr;
    QLabel *m_status = nullptr;
    QLabel *m_detail = nullptr;
    QLabel *m_timerLabel = nullptr;
    PictureButton *m_touch = nullptr;
    PictureButton *m_start = nullptr;
    PictureButton *m_halt = nullptr;
    QLabel *m_speedLabel = nullptr;
    QList<PictureButton *> m_speedButtons;
    QLabel *m_speedMark = nullptr;
};

} // namespace kr31
