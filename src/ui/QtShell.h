#pragma once

#include "core/Services.h"

namespace kr31 {

// Opens pages with the desktop's default program.
class QtShell : public Shell
{
public:
    bool open(const QString &path) override;
};

} // namespace kr31
