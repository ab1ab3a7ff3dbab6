#include "tools/ui/BrightnessWindow.h"

#include "link/Transmitter.h"
#include "ui/UiServices.h"

#include <QLabel>
#include <QSlider>

namespace kr31 {

namespace {
constexpr int StartPercent = 50;
// A slider a child's finger or mouse can catch: a thick groove and a big knob.
const char *const SliderStyle = "QSlider::groove:horizontal { height: 14px; border-radius: 7px;"
                                "  background: qlineargradient(x1:0, y1:0, x2:1, y2:0, stop:0 #5d5d5d, stop:1 #ffe066);"
                                "  border: 2px solid #8d6e63; }"
                                "QSlider::handle:horizontal { width: 30px; margin: -16px 0; border-radius: 8px;"
                                "  background: #ffa000; border: 2px solid #5d4037; }";
} // namespace

BrightnessWindow::BrightnessWindow(Forms &forms)
    : DeviceToolWindow(3, QStringLiteral("Img/Back/Real.jpg"),
                       QStringLiteral("スライダーを うごかして あかるさを きめたら、「おくる」を おしてね。\n"
                                      "LEDが その あかるさで ひかるよ。"),
                       forms)
{
}

void BrightnessWindow::buildContents()
{
    DeviceToolWindow::buildContents();
    m_value = addText(QString::number(StartPercent), QRect(255, 170, 140, 70), 56, true);
    m_value->setObjectName(QStringLiteral("Label2"));
    m_value->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    addText(QStringLiteral("％"), QRect(400, 180, 80, 60), 36, true);

    m_slider = new QSlider(Qt::Horizontal, this);
    m_slider->setObjectName(QStringLiteral("LMDTrackBar1"));
    m_slider->setGeometry(75, 265, 600, 50);
    m_slider->setRange(0, 100);
    m_slider->setValue(StartPercent);
    m_slider->setPageStep(10);
    m_slider->setStyleSheet(QString::fromLatin1(SliderStyle));
    connect(m_slider, &QSlider::valueChanged, this, &BrightnessWindow::LMDTrackBar1Change);

    // The ends and the middle of the scale, under the slider.
    struct Mark
    {
        const char *text;
        int x, w;
        Qt::Alignment align;
    };
    for (const Mark &m : {Mark{"0（きえる）", 75, 200, Qt::AlignLeft}, Mark{"50", 345, 60, Qt::AlignHCenter},
                          Mark{"100（いちばん あかるい）", 435, 240, Qt::AlignRight}}) {
        addText(QString::fromUtf8(m.text), QRect(m.x, 318, m.w, 26), 15)->setAlignment(m.align | Qt::AlignVCenter);
    }
}

int BrightnessWindow::percent() const
{
    return m_slider ? m_slider->value() : StartPercent;
}

void BrightnessWindow::LMDTrackBar1Change(int value)
{
    ensureBuilt();
    m_value->setText(QString::number(value));
}

void BrightnessWindow::TensoClick()
{
    services().transmitter.sendBrightness(percent());
}

} // namespace kr31
