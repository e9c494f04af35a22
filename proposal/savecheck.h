#pragma once
// Saving needs both ends of the object of study on the mass row: a frame (O) and a grain (o).

#include "model.h"

#include <QString>

namespace sp::proposal {

bool SaveAllowed(const Model &model);

// The status line text shown instead of saving.
QString RefusalMessage();

} // namespace sp::proposal
