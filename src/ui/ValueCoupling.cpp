#include "ui/ValueCoupling.h"

#include "core/TextTools.h"

#include <QLineEdit>
#include <QSignalBlocker>
#include <QSlider>

namespace kr31 {

QSlider *makeValueBar(QWidget *parent, const char *name, const QRect &geometry)
{
    auto *bar = new QSlider(Qt::Horizontal, parent);
    bar->setObjectName(QString::fromLatin1(name));
    bar->setGeometry(geometry);
    return bar;
}

QLineEdit *makeValueBox(QWidget *parent, const char *name, const QRect &geometry)
{
    auto *box = new QLineEdit(parent);
    box->setObjectName(QString::fromLatin1(name));
    box->setGeometry(geometry);
    box->setAlignment(Qt::AlignRight);
    return box;
}

void coupleValue(QSlider *slider, QLineEdit *box, std::function<void(const QString &)> changed)
{
    QObject::connect(slider, &QSlider::valueChanged, box, [box, changed](int value) {
        box->setText(QString::number(value));
        if (changed)
            changed(box->text());
    });
    QObject::connect(box, &QLineEdit::textEdited, slider, [slider, box, changed](const QString &text) {
        if (!text::isInteger(text)) {
            box->clear();
            return;
        }
        const int value = qBound(slider->minimum(), *text::toInt(text), slider->maximum());
        {
            const QSignalBlocker block(slider);
            slider->setValue(value);
        }
        // A value beyond the range stands corrected, also when the slider was already at its end.
        if (box->text() != QString::number(value))
            box->setText(QString::number(value));
        if (changed)
            changed(box->text());
    });
}

void setValueControls(QSlider *slider, QLineEdit *box, int min, int max, int position)
{
    const QSignalBlocker block(slider);
    // A range whose maximum is not above its minimum is ignored, as the sliders do.
    if (max > min) {
        slider->setRange(min, max);
        slider->setPageStep(int(text::roundHalfEven(max, 10)));
    }
    slider->setValue(position);
    box->setText(QString::number(position));
}

} // namespace kr31
