#pragma once
// Saving needs both ends of the object of study on the mass row: a frame (O) and a grain (o).

#include "model.h"

#include <QString>

namespace sp::proposal {

bool saveAllowed(const Model &model);

// The status line text shown instead of saving.
QString refusalMessage();

} // namespace sp::proposal
