#pragma once

// The number format of the user's Windows locale, as the Regional settings give it.

#include "toolkit/number_format.h"

namespace KelUtility {

// Read afresh on every call, so a change in the user's settings reaches the next box that
// asks; the classic format when Windows cannot say.
NumberFormat UserNumberFormat();

} // namespace KelUtility
