#pragma once

#include <QStringList>

// Start options that show one control on its own so a person can try it by hand:
//   --table-demo ROWS [--back 0xBBGGRR] [--widths A,B,C] [--row-numbers]
//   --progress-demo [ITEMS] [--creeping]
// Returns the exit code, or -1 when no such option was given.
int RunDemoIfAsked(const QStringList& arguments);

int RunProgressDemo(const QStringList& arguments);
int RunTableDemo(const QStringList& arguments);
