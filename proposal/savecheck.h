#pragma once
// Saving needs both ends of the object of study on the mass row: a frame (O) and a grain (o).
// The save button's messages.

#include "model.h"

#include <QString>

namespace sp::proposal {

bool saveAllowed(const Model &model);

// The status line text shown instead of saving.
QString refusalMessage();

// The status line text after a failed save.
QString failureMessage(const QString &reason);

} // namespace sp::proposal
