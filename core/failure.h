#pragma once
// The one convention for failure, in Qt's manner: a function that can fail returns bool and,
// on false, sets `*error` (when the caller gives one) to a short reason, fit for a status line
// or standard error. Only an index outside a table throws (InternalError, model.h), and
// runHandler (forms.h) stops it at the event handler it happened in.

#include <QString>

namespace sp {

// Sets `*error`, when given, to `reason` and returns false.
inline bool failed(QString *error, const QString &reason) {
    if (error)
        *error = reason;
    return false;
}

} // namespace sp
