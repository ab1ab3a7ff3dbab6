#pragma once

#include <QLoggingCategory>
#include <QtGlobal>

namespace kr31 {

// Qt's own debug, info and warning lines ("This plugin does not support
// propagateSizeHints()", "XDG_RUNTIME_DIR not set"...) mean nothing to a
// child or a teacher: they are dropped unless KR31_DEBUG is set to a value
// other than 0. Critical messages still show; QT_LOGGING_RULES, when set,
// overrides this. Call before the application object is made.
inline void quietQtNoise()
{
    const QByteArray debug = qgetenv("KR31_DEBUG");
    if (!debug.isEmpty() && debug != "0")
        return;
    QLoggingCategory::setFilterRules(QStringLiteral("*.debug=false\n*.info=false\n*.warning=false"));
}

} // namespace kr31
