#include "ui/CommandMenu.h"

namespace kr31 {

CommandMenu::CommandMenu(QWidget *parent, const QRect &geometry)
    : QComboBox(parent)
{
    setObjectName(QStringLiteral("ComboBox1"));
    setGeometry(geometry);
    setMaxVisibleItems(VisibleRows);
    // A list under the box rather than the style's own menu, which may ignore the row limit.
    setStyleSheet(QStringLiteral("QComboBox { combobox-popup: 0; }"));
}

} // namespace kr31
