#include "reports/scale_to_axis.h"

#include "platform/numbers.h"
#include "platform/vb_error.h"

namespace sq {

double ScaleToAxis(double index, double count, double length) {
    if (count == 0) throw VbError(11);
    return toNumber(formatFixed(index / count * length, 4));
}

}  // namespace sq
