#pragma once

#include "core/TextTools.h"

namespace kr31 {

// The position that centres a window of `size` over an opener at `openerPos`
// with `openerSize`, along one axis: half the difference, halves to even
// (a difference of 101 gives 50, one of 103 gives 52).
inline int centredOver(int openerPos, int openerSize, int size)
{
    return openerPos + int(text::roundHalfEven(openerSize - size, 2));
}

} // namespace kr31
