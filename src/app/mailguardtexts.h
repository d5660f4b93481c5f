#pragma once

#include <QString>

// Texts the guard's files share.
inline const QString kCanceledText = QStringLiteral("Operation has been canceled");
