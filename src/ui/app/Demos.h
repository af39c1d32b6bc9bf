#pragma once

#include <QStringList>

// Start options that show one control on its own so a person can try it by hand:
//   --progress-demo [ITEMS] [--creeping]
// Returns the exit code, or -1 when no such option was given.
int RunDemoIfAsked(const QStringList& arguments);

int RunProgressDemo(const QStringList& arguments);
