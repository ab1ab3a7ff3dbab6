#include "ui/ToolWindow.h"

#include <QLabel>

namespace kr31 {

ToolWindow::ToolWindow(int number, QSize size, const QString &background, const QString &title, Forms &forms)
    : FormWindow(number, size, forms)
{
    setBackground(background);
    const QString folder = QStringLiteral("Img/Common_Button/");
    const int right = size.width();
    addChrome(folder, {"Menu", right - 180, 13, 55, 60}, {"Help", right - 125, 13, 55, 60},
              {"Bye", right - 70, 13, 55, 60});
    auto *caption = new QLabel(title + QStringLiteral("（準備中）"), this);
    caption->setObjectName(QStringLiteral("Caption"));
    caption->setGeometry(0, size.height() / 2 - 20, size.width(), 40);
    caption->setAlignment(Qt::AlignCenter);
    QFont font = caption->font();
    font.setPixelSize(20);
    font.setBold(true);
    caption->setFont(font);
}

} // namespace kr31
