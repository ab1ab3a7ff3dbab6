#pragma once

#include "core/Messages.h"

#include <QString>

namespace kr31 {

// How reading a program file went, whatever its format, and why it failed.
// Each editor's read result is one of these plus what it read.
struct FileRead
{
    enum Status {
        Ok,
        Unreadable, // nothing read: no such file, a folder, too large, empty...
        OtherStep,  // a file that another editor opens
        BrokeOff,   // read up to a line that cannot be taken
    };
    Status status = Ok;
    QString path;   // the file read; empty for lines that came from elsewhere
    QString reason; // why, in Japanese, for Unreadable and BrokeOff

    bool ok() const { return status == Ok; }

    // Ends the read with status and the reason; false, for a reader's early return.
    bool fail(Status failure, const QString &why = {})
    {
        status = failure;
        reason = why;
        return false;
    }

    // The message to show: (112) for OtherStep; (102), the file and the reason
    // on a line of their own for Unreadable and BrokeOff; empty for Ok.
    QString message() const
    {
        switch (status) {
        case OtherStep: return msg::OtherStep112;
        case Unreadable:
        case BrokeOff: return msg::notOpened(path, reason);
        case Ok: break;
        }
        return {};
    }
};

} // namespace kr31
