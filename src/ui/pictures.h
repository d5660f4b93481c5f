#pragma once

#include <QColor>
#include <QIcon>
#include <QPalette>
#include <QString>

// The program's own pictures, drawn as SVG and compiled in (":/icons/<name>.svg").

// A named picture: "tarnwick", "tray", "anim1", "check-up", "stop", ...
QIcon Picture(const QString &name);

// The state picture of a message row or a rule: 0 check mark, 1 question mark, 2 blacklist
// mark, 3 ... 14 the twelve exception pictures; a null icon for -1 and anything unknown.
QIcon MarkPicture(int mark);
// What a mark picture says, in words a screen reader speaks in place of the picture: "marked
// for deletion", "suspect", "on the blacklist", "accepted by an exception"; empty for none.
QString MarkName(int mark);

// The resource path of a named picture, for code that renders it itself.
QString PicturePath(const QString &name);

// Whether the palette is a dark one (light text on a dark window).
bool IsDarkPalette(const QPalette &palette);
// Colours for text that stand out on the palette's window and stay readable on a dark one.
QColor ProblemTextColor(const QPalette &palette);
QColor AccentTextColor(const QPalette &palette);
